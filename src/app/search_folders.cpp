// SPDX-License-Identifier: GPL-3.0-or-later
// The folders searched at start-up.
#include "app/search_folders.h"

#include <algorithm>
#include <cstdlib>

#include "maps/map_options.h"

namespace plovane {

std::vector<std::filesystem::path> SearchFolders(const Profile& profile,
                                                 const std::filesystem::path& dataDir) {
    std::vector<std::filesystem::path> folders;
    const auto add = [&folders](const std::filesystem::path& folder) {
        if (folder.empty())
            return;
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    };
    add(dataDir);
    std::filesystem::path user;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        user = std::filesystem::path(xdg) / "Plovane";
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        user = std::filesystem::path(home) / ".local/share/Plovane";
    }
    std::error_code ec;
    if (!user.empty() && std::filesystem::is_directory(user, ec))
        add(user);
    CMapOptions options;
    options.Load(profile);
    for (const std::string& folder : options.SearchFolderList())
        add(folder);
    return folders;
}

}  // namespace plovane
