// SPDX-License-Identifier: GPL-3.0-or-later
// The options of the `plovane` program:
//   plovane [--settings FILE.conf] [--map FILE] [--tiles SOURCE] [--simulate FILE]
//           [--screenshot FILE.png]
#pragma once

#include <string>
#include <vector>

namespace plovane {

struct GuiOptions {
    std::string settingsPath;    // an INI file instead of the user's settings
    std::string mapPath;         // a map opened after start-up
    std::string simulatePath;    // a simulation file played after start-up
    std::string screenshotPath;  // render the window into this PNG and exit
    bool help = false;           // --help: print the usage and exit
    bool version = false;        // --version: print the version and exit
    std::string tilesSource;     // the tile background for this run (see maps/tile_source.h)
};

// Parses the arguments after the program name. False with a message in `error` for an
// unknown option or an option without its value.
bool ParseGuiOptions(const std::vector<std::string>& args, GuiOptions& options, std::string& error);

inline constexpr const char* kGuiUsage =
    "usage: plovane [--settings FILE.conf] [--map FILE] [--tiles SOURCE] [--simulate FILE] "
    "[--screenshot FILE.png]\n";

// --help: the usage and what each option does.
inline constexpr const char* kGuiHelp =
    "usage: plovane [--settings FILE.conf] [--map FILE] [--tiles SOURCE] [--simulate FILE] "
    "[--screenshot FILE.png]\n"
    "The APRS station with its map window.\n"
    "\n"
    "  --settings FILE.conf   keep the settings in this INI file instead of the user's\n"
    "  --map FILE             open this map file after start-up\n"
    "  --tiles SOURCE         draw map tiles under the stations: none, osm, a URL like\n"
    "                         https://host/{z}/{x}/{y}.png, an .mbtiles file or a folder\n"
    "  --simulate FILE        play this file of monitor lines after start-up\n"
    "  --screenshot FILE.png  draw the main window into FILE.png after start-up and exit\n"
    "  --help                 show this help and exit\n"
    "  --version              show the version and exit\n"
    "\n"
    "Qt's own options (for example -platform offscreen) are accepted as well.\n";

}  // namespace plovane
