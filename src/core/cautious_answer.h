// SPDX-License-Identifier: GPL-3.0-or-later
// The answer a message box gets when nobody can click it (a headless station, a box shown
// while the program is not interactive): the one that does nothing.
#pragma once

#include "core/app_host.h"

namespace plovane {

inline MessageBoxResult CautiousAnswer(MessageBoxButtons buttons) {
    switch (buttons) {
        case MessageBoxButtons::kYesNo:
            return MessageBoxResult::kNo;
        case MessageBoxButtons::kYesNoCancel:
        case MessageBoxButtons::kOkCancel:
            return MessageBoxResult::kCancel;
        case MessageBoxButtons::kOk:
            break;
    }
    return MessageBoxResult::kOk;
}

}  // namespace plovane
