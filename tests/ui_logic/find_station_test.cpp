// SPDX-License-Identifier: GPL-3.0-or-later
// Natural order, Find Station matches (plain or wildcard patterns) and the list mask.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/logic/find_station.h"
#include "ui/logic/natural_sort.h"
#include "ui/logic/text_mask.h"

namespace plovane {
namespace {

TEST(NaturalSort, DigitRunsCompareByValue) {
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"WATER-3", "WATER-21", -1},
        {"WATER-21", "WATER-3", 1},
        {"K7A-9", "K7A-10", -1},
        {"KK7OL", "kk7ol", -1},  // equal by nature: the bytes decide, capitals first
        {"W01", "W1", -1},
        {"W1", "W1", 0},
        {"W1", "W1A", -1},
        {"N0CALL", "N0CALL-1", -1},
        {"A99999999999999999999999", "A100000000000000000000000", -1},  // longer than 64 bits
        {"ab", "AC", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(NaturalCompare(c.a, c.b), c.expected);
        EXPECT_EQ(NaturalCompare(c.b, c.a), -c.expected);
    }
    std::vector<std::string> calls = {"WATER-21", "WATER-3", "WATER", "WATER-10", "VE7X"};
    std::sort(calls.begin(), calls.end(), NaturalLess);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"VE7X", "WATER", "WATER-3", "WATER-10", "WATER-21"}));
}

TEST(FindStation, TypedTextFindsPrefixesOrPatternsExactCallFirst) {
    const std::vector<std::string> calls = {"KK7OL-13", "KK7OL", "KK7OL-3",
                                            "W7ABC",    "kk7zz", "AKK7OL"};
    struct Case {
        const char* typed;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"kk7ol", {"KK7OL", "KK7OL-3", "KK7OL-13"}},
        {" KK7 ", {"KK7OL", "KK7OL-3", "KK7OL-13", "kk7zz"}},
        {"*7OL*", {"AKK7OL", "KK7OL", "KK7OL-3", "KK7OL-13"}},
        {"KK7OL-3", {"KK7OL-3"}},
        {"?K7OL", {"KK7OL"}},
        {"", {}},
        {"NOPE", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(FindStationMatches(calls, c.typed), c.expected);
    }
    EXPECT_EQ(FindStationMatches(calls, "KK7", 2).size(), 2u);
    // Many stars against a long non-matching text finish at once.
    EXPECT_FALSE(WildcardMatch("*A*A*A*A*A*A*A*A*B", std::string(5000, 'A')));
}

TEST(FindStation, ListMaskTakesWildcards) {
    struct Case {
        const char* mask;
        const char* text;
        bool found;
    };
    const Case cases[] = {
        {"*7ol*", "KK7OL-3", true}, {"7OL", "KK7OL-3", true},  // without a wildcard: anywhere
        {"KK7*", "KK7OL-3", true},  {"*7OL", "KK7OL-3", false}, {"*", "ANY", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(TextMask(c.mask).FoundIn(c.text, false), c.found);
    }
}

}  // namespace
}  // namespace plovane
