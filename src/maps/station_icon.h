// SPDX-License-Identifier: GPL-3.0-or-later
// Which symbol icon (and overlay character) stands for a station on the map and in the
// station pick pop-ups. The icon strips hold 96 icons for the codes 32..127 (primary and
// alternate table) and 36 overlay characters ("0".."9", then "A".."Z").
#pragma once

#include <cstdint>

namespace plovane {

class CStation;

enum class IconTable { kPrimary, kAlternate };

inline constexpr int kSymbolIconCount = 96;
inline constexpr int kOverlayIconCount = 36;

struct StationIcon {
    IconTable table = IconTable::kPrimary;
    int index = -1;    // into the table's strip; -1: no icon (a code outside 32..127)
    int overlay = -1;  // into the overlay strip; -1: none

    bool operator==(const StationIcon&) const = default;
};

// A killed object or item shows the primary "." icon; table "/" the primary icon of the code;
// any other table the alternate icon, overlaid by the table character when it is a digit or
// an upper-case letter.
StationIcon StationIconFor(char symbolTable, char symbolCode, bool killed);
StationIcon StationIconFor(const CStation& station);

}  // namespace plovane
