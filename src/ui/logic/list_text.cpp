// SPDX-License-Identifier: GPL-3.0-or-later
// Shared list texts.
#include "ui/logic/list_text.h"

#include <cstdio>

namespace plovane {

std::string ListDateText(const CDateTime& time) {
    static constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (!time.IsValid())
        return {};
    const int month = time.Month();
    if (month < 1 || month > 12)
        return {};
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%.3s-%d %02d:%02d", time.Year(),
                  kMonths + (month - 1) * 3, time.Day(), time.Hour(), time.Minute());
    return text;
}

}  // namespace plovane
