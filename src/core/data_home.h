// SPDX-License-Identifier: GPL-3.0-or-later
// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
#pragma once

#include <cstdlib>
#include <filesystem>

namespace plovane {

// Empty when neither XDG_DATA_HOME (absolute) nor HOME is set.
inline std::filesystem::path XdgDataHome() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/')
        return data;
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return std::filesystem::path(home) / ".local" / "share";
    return {};
}

}  // namespace plovane
