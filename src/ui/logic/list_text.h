// SPDX-License-Identifier: GPL-3.0-or-later
// Texts and sort state shared by the list windows: the date column, the batch fill's pace
// and the column-click sort rule.
#pragma once

#include <string>

#include "core/date_time.h"

namespace plovane {

// The fill adds at most this many records per tick of kFillTickMs; a mask or filter change
// refills after kMaskDelayMs without a further change.
inline constexpr int kFillBatch = 25;
inline constexpr int kFillTickMs = 50;
inline constexpr int kMaskDelayMs = 750;

// "2026-Jan-5 09:07": year, month name, day without a leading zero, hour and minute; empty
// when the value is not a valid date.
std::string ListDateText(const CDateTime& time);

// A click on a column title sorts by it ascending; a second click on the same column
// reverses the order.
struct SortState {
    int column = -1;  // -1: not sorted (the fill order)
    bool ascending = true;

    void Click(int clicked) {
        if (clicked == column) {
            ascending = !ascending;
        } else {
            column = clicked;
            ascending = true;
        }
    }
};

}  // namespace plovane
