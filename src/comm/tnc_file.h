// SPDX-License-Identifier: GPL-3.0-or-later
// TNC command files: small text files, one per TNC model, whose [INIT] and [RESTORE] sections
// hold the model's own commands. The file starts with the marker line
// "[PLOVANE-TNC-FILE:display name]" (the application's file search recognises it).
//
//   [PLOVANE-TNC-FILE:Kantronics KPC-3+]
//   [INIT]
//   # a comment
//   INTFACE TERMINAL
//   \[ a command that begins with a bracket
//   [RESTORE]
//   ...
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "core/sinks.h"

namespace plovane {

// The longest line read from a command file; the rest of a longer line is skipped.
inline constexpr size_t kTncFileMaxLine = 255;

// "INIT" and " [INIT]" both become "[INIT]".
std::string TncSectionHeader(std::string_view section);

// The texts to send for one section, each ending in CR: the section runs from a line equal to
// its header (case ignored, no blanks inside the brackets) to the next line that begins with
// "["; such a line is itself tested as a header, so a second [INIT] continues the first.
// Lines beginning with "#" are comments; "\[" and "\\" lose their backslash; a line of blanks
// inside the section is a bare CR. Line ends are CR, LF or both. False when a read error
// (a folder given as the file, a removed card) cut the file short; `lines` is then empty.
bool TncFileSectionLines(std::istream& in, std::string_view section,
                         std::vector<std::string>& lines);

// The section's texts from the command file at path; none for no file ("" or "None"), and
// none with the notice "Unable to read TNC command file PATH" when it cannot be read.
std::vector<std::string> TncCommandFileLines(const std::string& path, std::string_view section,
                                             NoticeSink& notices);

}  // namespace plovane
