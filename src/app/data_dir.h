// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the program's bundled data (maps, sample simulation, TNC command files, symbol
// icons, help page) wherever the program runs from: an installed prefix, the build tree or
// the XDG data folders.
#pragma once

#include <filesystem>

namespace plovane {

// The folder of the running program (/proc/self/exe), or empty when it cannot be read.
std::filesystem::path ProgramDir();

// The first existing folder of:
//   1. programDir / fromProgram    (an installed program: bin/../share/plovane, which also
//                                   holds for a package unpacked anywhere),
//   2. buildDataDir                 (the source tree's data/ for a program run from its build),
//   3. $XDG_DATA_HOME/plovane       (default ~/.local/share/plovane),
//   4. each of $XDG_DATA_DIRS/plovane (default /usr/local/share:/usr/share).
// Empty parts are skipped; the result is empty when none exists.
std::filesystem::path FindDataDir(const std::filesystem::path& programDir,
                                  const std::filesystem::path& fromProgram,
                                  const std::filesystem::path& buildDataDir);

// FindDataDir for this program, with the layout it was built for.
std::filesystem::path BundledDataPath();

}  // namespace plovane
