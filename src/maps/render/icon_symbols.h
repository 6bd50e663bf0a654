// The pictogram of each symbol code of the primary and alternate tables.
#pragma once

#include "maps/render/icon_canvas.h"

namespace plovane::icons {

// Code 32..127 of the table.
void PaintPrimarySymbol(Canvas& c, char code);
void PaintAlternateSymbol(Canvas& c, char code);

// A symbol without a picture of its own: a grey square with the code character.
void PaintPlainSymbol(Canvas& c, char code);

}  // namespace plovane::icons
