#include "app/file_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/scratch_dir.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

class FileSearchTest : public ::testing::Test {
  protected:
    void Write(const fs::path& relative, const std::string& bytes) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative, std::ios::binary) << bytes;
    }

    testing::ScratchDir scratch_;
    const fs::path& root_ = scratch_.path();
};

TEST_F(FileSearchTest, FindsTncFilesByTheirMarker) {
    Write("kpc3.tnc", "[PLOVANE-TNC-FILE: Kantronics KPC-3+]\r\n[INIT]\r\n");
    Write("sub/lower.TNC", "\r\n\r\n  [plovane-tnc-file:tnc-x]\n");
    Write("sub/deeper/late.tnc", "; comment first\n[PLOVANE-TNC-FILE:Late]\n");
    Write("short.tnc", "[PLOVANE");
    Write("wrong.txt", "[PLOVANE-TNC-FILE:Not a tnc file]\n");
    std::vector<std::string> statuses;
    std::vector<TncFileEntry> found;
    SearchTncFiles(root_, found, [&](const std::string& s) { statuses.push_back(s); });
    SortAndNumber(found);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "Kantronics KPC-3+");
    EXPECT_EQ(found[1].name, "tnc-x");
    EXPECT_EQ(statuses.front(), "Searching for TNC files in " + root_.string() + "/...");
    EXPECT_EQ(statuses.size(), 3u);  // root, sub, sub/deeper
}

// Only the files the probe recognises are listed, with their titles trimmed and their
// ampersands doubled for the menu; a linked folder is not followed, so a loop ends.
TEST_F(FileSearchTest, OnlyRecognisedMapAndPdbFilesAreListedAndLinksAreNotFollowed) {
    Write("a.MAP", "1");
    Write("maps/b.pdb", "2");
    Write("c.txt", "3");
    Write("d.map", "not a map");
    fs::create_directory_symlink(root_, root_ / "maps" / "loop");
    std::vector<MapListEntry> found;
    SearchMaps(
        root_,
        [](const fs::path& path, std::string& title) {
            title = " " + path.filename().string() + " & More ";
            return path.filename() != "d.map";
        },
        found, nullptr);
    SortAndNumber(found);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].title, "a.MAP && More");
    EXPECT_EQ(found[1].title, "b.pdb && More");
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
