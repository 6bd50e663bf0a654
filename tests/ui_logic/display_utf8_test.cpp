// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/logic/display_utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace plovane {
namespace {

TEST(DisplayUtf8, ValidUtf8StaysAndAnythingElseIsLatin1) {
    struct Case {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"plain", true},
        {"caf\xC3\xA9", true},
        {"\xE2\x82\xAC 5", true},     // euro sign
        {"\xF0\x9F\x93\xA1", true},   // four bytes
        {"caf\xE9", false},           // Latin-1
        {"\xC3", false},              // cut short
        {"\xC0\xAF", false},          // overlong "/"
        {"\xE0\x80\xAF", false},      // overlong "/"
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\x80", false},              // a lone continuation byte
        {std::string("a\0b", 3), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
        const std::string shown = DisplayUtf8(c.bytes);
        EXPECT_TRUE(IsValidUtf8(shown));
        if (c.valid) {
            EXPECT_EQ(shown, c.bytes);
        } else {
            EXPECT_GT(shown.size(), c.bytes.size());
        }
    }
    EXPECT_EQ(DisplayUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(DisplayUtf8("\x80\xFF"), "\xC2\x80\xC3\xBF");
    EXPECT_EQ(MatchText("caf\xE9 \xF7"), "CAF\xC3\x89 \xC3\xB7");  // Latin-1 letters upper-cased
}

}  // namespace
}  // namespace plovane
