// SPDX-License-Identifier: GPL-3.0-or-later
// The pictogram and name of each symbol code of the primary and alternate tables.
#pragma once

#include <array>

#include "maps/render/icon_canvas.h"

namespace plovane::icons {

// One row of a symbol table; both tables have this shape, indexed by code - 32 (codes
// 32..127). `paint` is handed the code, so one painter can serve several codes.
struct SymbolArt {
    const char* name;
    void (*paint)(Canvas& c, char code);
};
using SymbolTable = std::array<SymbolArt, 96>;

extern const SymbolTable kPrimarySymbols;
extern const SymbolTable kAlternateSymbols;

// A symbol without a picture of its own: a grey square with the code character.
void PaintPlainSymbol(Canvas& c, char code);

}  // namespace plovane::icons
