// SPDX-License-Identifier: GPL-3.0-or-later
// Typed history times: any text either is refused or reads as a time, and a text that reads
// as a date gives back the same date when written out again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "history/history_export.h"
#include "history/history_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    constexpr int64_t kNow = 1796565501;
    int64_t utc = 0;
    if (!plovane::ParseHistoryTime(text, kNow, utc))
        return 0;
    // A full stamp "YYYY-MM-DDTHH:MM:SSZ" writes back as itself.
    if (size == 20 && text[10] == 'T' && text[19] == 'Z' && plovane::HistoryTimeText(utc) != text)
        std::abort();
    return 0;
}
