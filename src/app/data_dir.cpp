// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the program's bundled data.
#include "app/data_dir.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace plovane {
namespace {

namespace fs = std::filesystem;

// An environment variable holding an absolute path; relative ones are ignored, as the XDG
// rules ask.
fs::path AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};
    return value;
}

std::vector<fs::path> XdgDataFolders() {
    std::vector<fs::path> folders;
    fs::path home = AbsoluteEnv("XDG_DATA_HOME");
    if (home.empty()) {
        if (const fs::path userHome = AbsoluteEnv("HOME"); !userHome.empty())
            home = userHome / ".local/share";
    }
    if (!home.empty())
        folders.push_back(home);
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string_view list = dirs != nullptr && *dirs != '\0' ? dirs : "/usr/local/share:/usr/share";
    while (!list.empty()) {
        const size_t colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        if (!entry.empty() && entry.front() == '/')
            folders.emplace_back(entry);
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    return folders;
}

}  // namespace

fs::path ProgramDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

fs::path FindDataDir(const fs::path& programDir, const fs::path& fromProgram,
                     const fs::path& buildDataDir) {
    std::vector<fs::path> candidates;
    if (!programDir.empty() && !fromProgram.empty())
        candidates.push_back(programDir / fromProgram);
    if (!buildDataDir.empty())
        candidates.push_back(buildDataDir);
    for (const fs::path& folder : XdgDataFolders())
        candidates.push_back(folder / "plovane");
    for (const fs::path& candidate : candidates) {
        std::error_code ec;
        if (!fs::is_directory(candidate, ec))
            continue;
        fs::path tidy = fs::weakly_canonical(candidate, ec);
        return ec ? candidate : tidy;
    }
    return {};
}

fs::path BundledDataPath() {
#ifdef PLOVANE_DATA_FROM_PROGRAM
    const fs::path fromProgram = PLOVANE_DATA_FROM_PROGRAM;
#else
    const fs::path fromProgram;
#endif
#ifdef PLOVANE_BUILD_DATA_DIR
    const fs::path buildDataDir = PLOVANE_BUILD_DATA_DIR;
#else
    const fs::path buildDataDir;
#endif
    return FindDataDir(ProgramDir(), fromProgram, buildDataDir);
}

}  // namespace plovane
