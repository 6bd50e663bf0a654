// The options of the `plovane` program:
//   plovane [--settings FILE.conf] [--map FILE] [--simulate FILE] [--screenshot FILE.png]
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
};

// Parses the arguments after the program name. False with a message in `error` for an
// unknown option or an option without its value.
bool ParseGuiOptions(const std::vector<std::string>& args, GuiOptions& options, std::string& error);

inline constexpr const char* kGuiUsage =
    "usage: plovane [--settings FILE.conf] [--map FILE] [--simulate FILE] "
    "[--screenshot FILE.png]\n";

}  // namespace plovane
