// SPDX-License-Identifier: GPL-3.0-or-later
// Finding TNC files and maps in folders, and sorting and numbering what was found.
#include "app/file_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/scratch_dir.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

// TNC files are found by their marker. Of maps only the files the probe recognises are listed,
// with their titles trimmed and their ampersands doubled for the menu; a linked folder is not
// followed, so a loop ends.
TEST(FileSearch, FindsTncFilesByTheirMarkerAndMapsTheProbeRecognises) {
    const testing::ScratchDir scratch;
    const fs::path& root = scratch.path();
    const auto write = [&](const fs::path& relative, const std::string& bytes) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << bytes;
    };
    write("kpc3.tnc", "[PLOVANE-TNC-FILE: Kantronics KPC-3+]\r\n[INIT]\r\n");
    write("sub/lower.TNC", "\r\n\r\n  [plovane-tnc-file:tnc-x]\n");
    write("sub/deeper/late.tnc", "; comment first\n[PLOVANE-TNC-FILE:Late]\n");
    write("short.tnc", "[PLOVANE");
    write("wrong.txt", "[PLOVANE-TNC-FILE:Not a tnc file]\n");
    std::vector<std::string> statuses;
    std::vector<TncFileEntry> found;
    SearchTncFiles(root, found, [&](const std::string& s) { statuses.push_back(s); });
    SortAndNumber(found);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "Kantronics KPC-3+");
    EXPECT_EQ(found[1].name, "tnc-x");
    EXPECT_EQ(statuses.front(), "Searching for TNC files in " + root.string() + "/...");
    EXPECT_EQ(statuses.size(), 3u);  // root, sub, sub/deeper

    write("a.MAP", "1");
    write("maps/b.pdb", "2");
    write("d.map", "not a map");
    fs::create_directory_symlink(root, root / "maps" / "loop");
    std::vector<MapListEntry> maps;
    SearchMaps(
        root,
        [](const fs::path& path, std::string& title) {
            title = " " + path.filename().string() + " & More ";
            return path.filename() != "d.map";
        },
        maps, nullptr);
    SortAndNumber(maps);
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0].title, "a.MAP && More");
    EXPECT_EQ(maps[1].title, "b.pdb && More");
}

TEST(FileSearch, SortsWithoutCaseAndNumbersDuplicates) {
    std::vector<MapListEntry> maps = {{"/1", "T"},    {"/2", "alpha"}, {"/3", "T"},
                                      {"/4", "Beta"}, {"/5", "T"},     {"/6", "t"}};
    SortAndNumber(maps);
    std::vector<std::string> titles;
    for (const auto& m : maps)
        titles.push_back(m.title);
    // "t" sorts among the "T"s but is not equal to them, which ends the first run.
    EXPECT_EQ(titles, (std::vector<std::string>{"alpha", "Beta", "T", "T (2)", "T (3)", "t"}));
    EXPECT_EQ(maps[2].path, "/1");
    EXPECT_EQ(maps[4].path, "/5");
}

}  // namespace
}  // namespace plovane
