// Finding the bundled data: beside an installed program, in the build tree, in the XDG
// data folders, in that order.
#include "app/data_dir.h"

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
    const Case cases[] = {
        {"installed program wins over the build tree",
         {"usr/share/plovane", "src/data"},
         nullptr,
         {},
         "usr/share/plovane"},
        {"build tree when not installed",
         {"src/data", "home/.local/share/plovane"},
         nullptr,
         {},
         "src/data"},
        {"HOME's data folder without XDG_DATA_HOME",
         {"home/.local/share/plovane"},
         nullptr,
         {},
         "home/.local/share/plovane"},
        {"XDG_DATA_HOME replaces HOME's",
         {"home/.local/share/plovane", "xdg/plovane"},
         "xdg",
         {},
         "xdg/plovane"},
        {"XDG_DATA_DIRS in order, relative entries ignored",
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
        const std::string home = (root / "home").string();
        const std::string xdgHome = c.xdgDataHome ? (root / c.xdgDataHome).string() : "";
        // Without entries the list points nowhere, so the machine's own folders stay out.
        std::string xdgDirs = c.xdgDataDirs.empty() ? (root / "nowhere").string() : "";
        for (const std::string& entry : c.xdgDataDirs) {
            if (&entry != &c.xdgDataDirs.front())
                xdgDirs += ':';
            xdgDirs += entry.empty() ? entry : (root / entry).string();
        }
        const ScopedEnv homeVar("HOME", home.c_str());
        const ScopedEnv xdgHomeVar("XDG_DATA_HOME", c.xdgDataHome ? xdgHome.c_str() : nullptr);
        const ScopedEnv xdgDirsVar("XDG_DATA_DIRS", xdgDirs.c_str());

        const fs::path found = FindDataDir(root / "usr/bin", "../share/plovane", root / "src/data");
        EXPECT_EQ(found, c.expected.empty() ? fs::path() : root / c.expected);
    }
}

TEST(DataDir, ProgramDirIsTheTestsOwnFolder) {
    const fs::path dir = ProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(fs::exists(dir / "app_tests"));
}

}  // namespace
}  // namespace plovane
