// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's bundled files are: maps, the sample simulation, TNC command files,
// symbol icons and the help page.
#pragma once

#include <QString>

namespace plovane {

// The bundled data folder: share/plovane beside an installed program, the source tree's
// data/ for a build that is run in place, or the XDG data folders' plovane/ (see
// FindDataDir). Empty when none exists.
QString BundledDataDir();
// data/help/index.html, or empty when it is missing.
QString HelpPagePath();
// data/maps/world.map, or empty when it is missing.
QString WorldMapPath();

}  // namespace plovane
