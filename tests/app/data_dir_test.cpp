// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the bundled data, and the folders searched at start-up.
#include "app/data_dir.h"
#include "app/search_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/scoped_env.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

TEST(DataDir, FirstExistingOfProgramBuildTreeAndXdgFolders) {
    const testing::ScratchDir scratch;
    const fs::path root = scratch.path() / "root";
    struct Case {
        const char* name;
        std::vector<std::string> folders;      // created under root
        const char* xdgDataHome;               // under root; null: unset
        std::vector<std::string> xdgDataDirs;  // under root ("" stays an empty entry)
        std::string expected;                  // under root; empty: none found
    };
    const std::string usr = "usr/share/plovane", home = "home/.local/share/plovane";
    const Case cases[] = {
        {"installed beats build tree", {usr, "src/data"}, nullptr, {}, usr},
        {"build tree when not installed", {"src/data", home}, nullptr, {}, "src/data"},
        {"HOME's without XDG_DATA_HOME", {home}, nullptr, {}, home},
        {"XDG_DATA_HOME replaces HOME's", {home, "xdg/plovane"}, "xdg", {}, "xdg/plovane"},
        // XDG_DATA_DIRS in order, relative entries ignored.
        {"XDG_DATA_DIRS",
         {"second/plovane", "third/plovane"},
         nullptr,
         {"", "first", "second", "third"},
         "second/plovane"},
        {"nothing found", {"usr/share/other"}, nullptr, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root);
        fs::create_directories(root / "usr/bin");
        for (const std::string& folder : c.folders)
            fs::create_directories(root / folder);
        const std::string homeDir = (root / "home").string();
        const std::string xdgHome = c.xdgDataHome ? (root / c.xdgDataHome).string() : "";
        // Without entries the list points nowhere, so the machine's own folders stay out.
        std::string xdgDirs = c.xdgDataDirs.empty() ? (root / "nowhere").string() : "";
        for (const std::string& entry : c.xdgDataDirs) {
            if (&entry != &c.xdgDataDirs.front())
                xdgDirs += ':';
            xdgDirs += entry.empty() ? entry : (root / entry).string();
        }
        const ScopedEnv homeVar("HOME", homeDir.c_str());
        const ScopedEnv xdgHomeVar("XDG_DATA_HOME", c.xdgDataHome ? xdgHome.c_str() : nullptr);
        const ScopedEnv xdgDirsVar("XDG_DATA_DIRS", xdgDirs.c_str());

        const fs::path found = FindDataDir(root / "usr/bin", "../share/plovane", root / "src/data");
        EXPECT_EQ(found, c.expected.empty() ? fs::path() : root / c.expected);
    }
    EXPECT_TRUE(fs::exists(ProgramDir() / "app_tests"));  // the running program's folder
}

TEST(SearchFolders, BundledThenUserThenNamedWithoutDuplicates) {
    const testing::ScratchDir scratch;
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

    // XDG_DATA_HOME takes the place of the home folder.
    fs::create_directories(scratch.path() / "xdg/Plovane");
    const ScopedEnv xdgHome("XDG_DATA_HOME", (scratch.path() / "xdg").c_str());
    EXPECT_EQ(SearchFolders(MemoryProfile(), {}),
              (std::vector<fs::path>{scratch.path() / "xdg/Plovane"}));
}

}  // namespace
}  // namespace plovane
