// SPDX-License-Identifier: GPL-3.0-or-later
// List-window masks: substring or pattern search in upper-cased display text.
#include "ui/logic/text_mask.h"

#include "core/regular_expression.h"
#include "ui/logic/display_utf8.h"
#include "ui/logic/find_station.h"

namespace plovane {
namespace {

// Only ASCII blanks: the Latin-1 blanks 0x85 and 0xA0 are continuation bytes in UTF-8.
bool IsAsciiBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view TrimAscii(std::string_view s) {
    while (!s.empty() && IsAsciiBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsAsciiBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

}  // namespace

TextMask::TextMask(std::string_view typed) : mask_(UpperUtf8(TrimAscii(typed))) {}

bool TextMask::FoundIn(std::string_view matchText, bool regularExpression) const {
    if (mask_.empty())
        return false;
    if (!regularExpression) {
        // "*" and "?" make the mask a pattern of the whole text ("*7OL*" finds KK7OL-3).
        if (HasWildcard(mask_))
            return WildcardMatch(mask_, matchText);
        return matchText.find(mask_) != std::string_view::npos;
    }
    // The matcher's work is bounded by pattern length x subject length, so a pattern the
    // user types cannot stall the window.
    CRegularExpression matcher{std::string(matchText)};
    return matcher.Match(mask_);
}

}  // namespace plovane
