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
// Whether the desktop asks for dark windows: its colour scheme where Qt reports one (6.5 and
// later), else the lightness of the palette the program started with.
bool DesktopIsDark();
// Night, or a dark desktop: the dark palette; else the palette the program started with.
void ApplyWindowPalette(bool night);

}  // namespace plovane
