// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' colours: a dark palette for the night map, and the desktop's own otherwise
// (dark too when the desktop is dark).
#pragma once

#include <QPalette>

namespace plovane {

// A palette is dark when its window colour is darker than mid grey.
bool IsDarkPalette(const QPalette& palette);
// The dark palette of the windows at night.
QPalette NightPalette();
// The windows' palette: the dark one at night or when the desktop is dark (its colour scheme
// where Qt reports one, 6.5 and later; else the lightness of its palette), else the desktop's.
QPalette WindowPalette(bool night, const QPalette& desktop);
// Sets WindowPalette(night, the palette the program started with) on the application.
void ApplyWindowPalette(bool night);

}  // namespace plovane
