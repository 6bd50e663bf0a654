// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/regular_expression.h"

#include <gtest/gtest.h>

#include <string>

namespace plovane {
namespace {

TEST(RegularExpression, MatchesWholeSubjects) {
    const std::string mapLine = "^\\-?[0-9]*\\.?[0-9]* *,";
    const std::string addressee = "^[0-9A-Z-][0-9A-Z-][0-9A-Z-][0-9A-Z-][0-9A-Z-][0-9A-Z-]$";
    struct Case {
        const char* subject;
        std::string pattern;
        bool expected;
    } cases[] = {
        {"anything", "", true},
        {"AW5B", "W5", true},
        {"w5", "W5", false},  // case-sensitive
        {"N0CALL", addressee, true},
        {"N0CA/9", addressee, false},
        {"-97.5 ,35.0", mapLine, true},
        {"M", "[Z-A]", true},  // reversed range
        {"A", "^[AB$", true},  // set without a closing bracket
        {"x", "^[]$", false},  // an empty set never matches
        {"aab", "^a?b$", false},
        {"K", "^[^0-9]$", true},
        {"a-b", "^a[x\\-]b$", true},
        {"a-b", "^a[a-]-b$", false},
        {"a]b", "^a[\\]]b$", true},
        {"--b", "^[a-]-b$", true},   // a trailing minus in a set is a plain minus
        {"(x|y)", "^(x|y)$", true},  // brackets and bars are ordinary characters
        {"**", "^**$", true},        // a leading "*" is a literal with its own quantifier
        {"a\\", "^a\\$", true},      // a trailing lone backslash stands for itself
        {"caf\xE9", "^caf[\xC0-\xFF]$", true},  // high bytes are ordinary characters
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "'" << c.subject << "' ~ '" << c.pattern << "'");
        CRegularExpression matcher;
        matcher = c.subject;
        EXPECT_EQ(matcher.Match(c.pattern), c.expected);
        EXPECT_EQ(CRegularExpression(matcher).Match(c.pattern), c.expected);  // copies too
    }
}

// A pattern whose backtracking would try on the order of 300^15 repetition counts must be
// answered in a bounded number of table steps.
TEST(RegularExpression, PathologicalPatternStaysLinearInEachLength) {
    const std::string subject(300, 'a');
    std::string pattern = "^";
    for (int i = 0; i < 15; ++i)
        pattern += "a*";
    pattern += "b$";
    CRegularExpression matcher(subject);
    EXPECT_FALSE(matcher.Match(pattern));
    EXPECT_LE(matcher.LastStepCount(), (pattern.size() + 1) * (subject.size() + 1));
    EXPECT_TRUE(CRegularExpression(subject + "b").Match(pattern));  // the same shape can match
    std::string manyPluses = "^";
    for (int i = 0; i < 40; ++i)
        manyPluses += ".+";
    EXPECT_FALSE(CRegularExpression(std::string(39, 'x')).Match(manyPluses + "$"));
    EXPECT_TRUE(CRegularExpression(std::string(40, 'x')).Match(manyPluses + "$"));
}

}  // namespace
}  // namespace plovane
