#include "core/regular_expression.h"

#include <gtest/gtest.h>

#include <string>

namespace plovane {
namespace {

bool Matches(const std::string& subject, const std::string& pattern) {
    CRegularExpression matcher;
    matcher = subject;
    return matcher.Match(pattern);
}

TEST(RegularExpression, MatchesWholeSubjects) {
    const std::string mapLine = "^\\-?[0-9]*\\.?[0-9]* *,";
    const std::string addressee =
        "^[0-9A-Z-][0-9A-Z-][0-9A-Z-][0-9A-Z-][0-9A-Z-][0-9A-Z-]"
        "[0-9A-Z-][0-9A-Z-]$";
    struct Case {
        const char* subject;
        std::string pattern;
        bool expected;
    } cases[] = {
        {"anything", "", true},
        {"W5", "W5", true},
        {"AW5B", "W5", true},
        {"AW5B", "^W5$", false},
        {"W5", "^W5$", true},
        {"W5B", "^W5", true},
        {"w5", "W5", false},  // case-sensitive
        {"x", "[0-9A-Z-]", false},
        {"ab-c", "[0-9A-Z-]", true},
        {"N0CALL-9", addressee, true},
        {"N0CALL/9", addressee, false},
        {"12X", "^[0-9]*$", false},
        {"-97.5 ,35.0", mapLine, true},
        {"x35,", mapLine, false},
        {"M", "[Z-A]", true},  // reversed range
        {"A", "^[AB$", true},  // set without a closing bracket
        {"K", "^[^0-9]$", true},
        {"x", "^[]$", false},  // an empty set never matches
        {"a.c", "^a\\.c$", true},
        {"abc", "^a.c$", true},
        {"", "^a+$", false},
        {"aaa", "^a+$", true},
        {"ab", "^a?b$", true},
        {"aab", "^a?b$", false},
        {"a]b", "^a[\\]]b$", true},
        {"a-b", "^a[x\\-]b$", true},
        {"a-b", "^a[a-]-b$", false},
        {"--b", "^[a-]-b$", true},   // a trailing minus in a set is a plain minus
        {"(x|y)", "^(x|y)$", true},  // brackets and bars are ordinary characters
        {"**", "^**$", true},        // a leading "*" is a literal with its own quantifier
        {"a\\", "^a\\$", true},      // a trailing lone backslash stands for itself
        {"K5ABC", "^K5.*", true},
        {"caf\xE9", "^caf[\xC0-\xFF]$", true},  // high bytes are ordinary characters
        {"cafe", "^caf[\xC0-\xFF]$", false},
        {"\xFF", "^.$", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "'" << c.subject << "' ~ '" << c.pattern << "'");
        EXPECT_EQ(Matches(c.subject, c.pattern), c.expected);
    }
}

TEST(RegularExpression, CopiesCarryTheSubject) {
    CRegularExpression first(std::string("ABC"));
    CRegularExpression second(first);
    CRegularExpression third;
    third = first;
    EXPECT_TRUE(second.Match("^ABC$"));
    EXPECT_TRUE(third.Match("^ABC$"));
    EXPECT_EQ(third.subject(), "ABC");
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
    const uint64_t bound = (pattern.size() + 1) * (subject.size() + 1);
    EXPECT_LE(matcher.LastStepCount(), bound);

    // The same shape that can succeed still does.
    CRegularExpression ending(subject + "b");
    EXPECT_TRUE(ending.Match(pattern));

    std::string manyPluses = "^";
    for (int i = 0; i < 40; ++i)
        manyPluses += ".+";
    CRegularExpression shortSubject(std::string(39, 'x'));
    EXPECT_FALSE(shortSubject.Match(manyPluses + "$"));
    CRegularExpression longEnough(std::string(40, 'x'));
    EXPECT_TRUE(longEnough.Match(manyPluses + "$"));
}

}  // namespace
}  // namespace plovane
