// The folders searched at start-up: bundled data, the user's data folder, the named ones.
#include "app/search_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/scoped_env.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

TEST(SearchFolders, BundledThenUserThenNamedWithoutDuplicates) {
    const ScratchDir scratch;
    const fs::path home = scratch.path() / "home";
    fs::create_directories(home / ".local/share/Plovane");
    const ScopedEnv homeVar("HOME", home.c_str());
    const ScopedEnv xdgVar("XDG_DATA_HOME", nullptr);

    MemoryProfile profile;
    profile.WriteString("Maps", "SearchFolders", " /maps/a ; ;/maps/b;/data;/maps/a");
    EXPECT_EQ(
        SearchFolders(profile, "/data"),
        (std::vector<fs::path>{"/data", home / ".local/share/Plovane", "/maps/a", "/maps/b"}));

    // No user folder on disk, no bundled folder: only the named ones.
    fs::remove_all(home);
    EXPECT_EQ(SearchFolders(profile, {}), (std::vector<fs::path>{"/maps/a", "/maps/b", "/data"}));
}

TEST(SearchFolders, XdgDataHomeTakesThePlaceOfTheHomeFolder) {
    const ScratchDir scratch;
    const fs::path& xdg = scratch.path();
    fs::create_directories(xdg / "Plovane");
    const ScopedEnv xdgVar("XDG_DATA_HOME", xdg.c_str());
    MemoryProfile profile;
    EXPECT_EQ(SearchFolders(profile, {}), (std::vector<fs::path>{xdg / "Plovane"}));
}

}  // namespace
}  // namespace plovane
