// SPDX-License-Identifier: GPL-3.0-or-later
// Text encoding checks: received text fields are UTF-8 when their bytes are valid UTF-8
// (otherwise Latin-1), and typed text goes out as UTF-8 within limits counted in bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace plovane {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The most bytes of the UTF-8 text that fit in `limit` bytes without cutting a character.
size_t Utf8FitBytes(std::string_view utf8, size_t limit);

}  // namespace plovane
