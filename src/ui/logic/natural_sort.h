// SPDX-License-Identifier: GPL-3.0-or-later
// Natural order of calls and other texts: runs of digits compare by their value, so
// WATER-3 comes before WATER-21; letters compare without regard to ASCII case.
#pragma once

#include <string>
#include <string_view>

namespace plovane {

// -1, 0 or 1. Texts that differ only in case or in leading zeros are ordered by their bytes,
// so the order is total.
int NaturalCompare(std::string_view a, std::string_view b);

inline bool NaturalLess(std::string_view a, std::string_view b) {
    return NaturalCompare(a, b) < 0;
}

// A sort key that orders naturally.
struct NaturalKey {
    std::string text;
    bool operator<(const NaturalKey& other) const { return NaturalLess(text, other.text); }
};

}  // namespace plovane
