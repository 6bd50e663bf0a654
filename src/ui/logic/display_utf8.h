// SPDX-License-Identifier: GPL-3.0-or-later
// Received text as the windows show it, in UTF-8: bytes that are valid UTF-8 stay as they
// are, anything else is read as Latin-1 (one character per byte). The list masks compare in
// the same form, upper-cased, so a mask typed as shown finds the text whichever way the
// sender encoded it.
#pragma once

#include <string>
#include <string_view>

#include "core/utf8.h"

namespace plovane {

// The text to show, as UTF-8.
std::string DisplayUtf8(std::string_view bytes);

// UTF-8 with the letters of the Latin-1 range upper-cased (a-z, and U+00E0..U+00FE but for
// U+00F7), as the core's Latin-1 classes do; every other character is left alone.
std::string UpperUtf8(std::string_view utf8);

// Received bytes in the form the masks are matched against: UpperUtf8(DisplayUtf8(bytes)).
std::string MatchText(std::string_view bytes);

// The number of characters (code points) of a well-formed UTF-8 text.
size_t Utf8Length(std::string_view utf8);

}  // namespace plovane
