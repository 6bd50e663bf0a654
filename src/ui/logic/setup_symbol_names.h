// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the 96 symbols of each symbol table, as the Icon page of the station setup
// lists them.
#pragma once

#include <string>

namespace plovane {

inline constexpr int kSymbolCount = 96;  // codes "!" - 1 .. "~" + 1, list position = code - 32

enum class SymbolTable { kPrimary, kAlternate };

// The bare name of list position n (0..95), UTF-8; empty outside the range.
const char* SymbolName(SymbolTable table, int n);

// The list entry: the code character, " - " and the name; for the space code " (Space) - "
// and the name; position 95 the name alone. UTF-8; empty outside the range.
std::string SymbolEntryText(SymbolTable table, int n);

}  // namespace plovane
