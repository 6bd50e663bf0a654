// SPDX-License-Identifier: GPL-3.0-or-later
// Command-line options of the GUI program.
#include "ui/logic/command_line.h"

namespace plovane {

bool ParseGuiOptions(const std::vector<std::string>& args, GuiOptions& options,
                     std::string& error) {
    struct Valued {
        const char* name;
        std::string GuiOptions::*field;
    };
    static constexpr Valued kValued[] = {
        {"--settings", &GuiOptions::settingsPath},     {"--map", &GuiOptions::mapPath},
        {"--tiles", &GuiOptions::tilesSource},         {"--simulate", &GuiOptions::simulatePath},
        {"--screenshot", &GuiOptions::screenshotPath},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--version") {
            options.version = true;
            continue;
        }
        bool known = false;
        for (const Valued& valued : kValued) {
            if (arg != valued.name)
                continue;
            known = true;
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "plovane: " + arg + " needs a value";
                return false;
            }
            options.*valued.field = args[++i];
        }
        if (!known) {
            error = "plovane: unexpected argument '" + arg + "'";
            return false;
        }
    }
    return true;
}

}  // namespace plovane
