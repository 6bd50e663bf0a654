// SPDX-License-Identifier: GPL-3.0-or-later
// Received text on its way to a terminal or into a file people read with cat: bytes a
// terminal would take as a control (ESC, BEL, the C1 range raw or UTF-8 encoded) are shown
// as "\xHH" instead, so that a packet cannot retitle a window, write the clipboard or clear
// the screen.
#pragma once

#include <string>
#include <string_view>

namespace plovane {

// Whether any byte of `bytes` would act as a terminal control.
bool HasTerminalControls(std::string_view bytes);

// The bytes with every control byte written "\x1B". With `reversible`, a backslash is
// written "\x5C" too, so that UnescapeTerminalText gives the bytes back exactly.
std::string EscapeTerminalText(std::string_view bytes, bool reversible = false);

// Undoes a reversible EscapeTerminalText: "\xHH" becomes its byte; anything else, and the
// escapes of CR and LF (which would split a line), stays as written.
std::string UnescapeTerminalText(std::string_view text);

}  // namespace plovane
