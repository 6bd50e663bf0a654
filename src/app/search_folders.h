// SPDX-License-Identifier: GPL-3.0-or-later
// The folders searched for maps and TNC command files: the bundled data folder, the user's
// data folder ($XDG_DATA_HOME/Plovane, else ~/.local/share/Plovane) when it exists, and the
// folders listed in the "Maps" setting "SearchFolders" (separated by ";").
#pragma once

#include <filesystem>
#include <vector>

#include "core/profile.h"

namespace plovane {

// `dataDir` is the bundled data folder (left out when empty). Duplicates are left out.
std::vector<std::filesystem::path> SearchFolders(const Profile& profile,
                                                 const std::filesystem::path& dataDir);

}  // namespace plovane
