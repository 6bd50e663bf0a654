// SPDX-License-Identifier: GPL-3.0-or-later
// One mask of a list window ("Mask by Call:", "Mask by Contents:", "Mask by Comments:"): the
// text the user typed, trimmed and upper-cased, found in a text as a substring, as a
// wildcard pattern of the whole text when it holds "*" or "?", or, with "Use regular
// expressions", as a pattern of the core's matcher.
#pragma once

#include <string>
#include <string_view>

namespace plovane {

class TextMask {
  public:
    TextMask() = default;
    // `typed` is the edit field's text in UTF-8; blanks at both ends are dropped.
    explicit TextMask(std::string_view typed);

    bool empty() const { return mask_.empty(); }
    const std::string& text() const { return mask_; }

    // Whether the mask is found in `matchText` (a text in MatchText form). An empty mask is
    // found nowhere; callers decide what an empty mask means.
    bool FoundIn(std::string_view matchText, bool regularExpression) const;

  private:
    std::string mask_;
};

}  // namespace plovane
