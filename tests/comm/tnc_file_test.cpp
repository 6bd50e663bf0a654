#include "comm/tnc_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace plovane {
namespace {

using Lines = std::vector<std::string>;

Lines Section(const std::string& contents, const std::string& section) {
    std::istringstream in(contents);
    Lines lines;
    EXPECT_TRUE(TncFileSectionLines(in, section, lines));
    return lines;
}

TEST(TncFile, SectionLinesFollowTheFileRules) {
    const std::string marker = "[PLOVANE-TNC-FILE:Test TNC]\r\n";
    struct Case {
        const char* label;
        std::string contents;
        std::string section;
        Lines expected;
    } cases[] = {
        {"comments and escapes",
         marker + "[INIT]\r\n# comment\r\nECHO OFF\r\n\\[BRACKET\r\n\\\\BACKSLASH\r\n\\#HASH\r\n",
         "INIT",
         {"ECHO OFF\r", "[BRACKET\r", "\\BACKSLASH\r", "\\#HASH\r"}},
        {"a bracket line ends the section",
         marker + "[INIT]\nA\n[OTHER]\nB\n[RESTORE]\nC\n",
         "INIT",
         {"A\r"}},
        {"restore section", marker + "[INIT]\nA\n[RESTORE]\nC\nD\n", "RESTORE", {"C\r", "D\r"}},
        {"header case ignored, given with brackets", marker + "[init]\nA\n", "[INIT]", {"A\r"}},
        {"blanks inside the brackets do not match", marker + "[ INIT ]\nA\n", "INIT", {}},
        {"blanks around the header do", marker + "  [INIT]\t \nA\n", " INIT ", {"A\r"}},
        {"two sections in file order",
         marker + "[INIT]\nA\n[RESTORE]\nR\n[INIT]\nB\n",
         "INIT",
         {"A\r", "B\r"}},
        {"a repeated header continues the section",
         marker + "[INIT]\nA\n[INIT]\nB\n",
         "INIT",
         {"A\r", "B\r"}},
        {"a line of blanks is a bare CR; empty lines are line ends",
         marker + "[INIT]\nA\n \t \nB\n\n\nC",
         "INIT",
         {"A\r", "\r", "B\r", "C\r"}},
        {"commands keep inner tabs and lose outer blanks",
         marker + "[INIT]\r  BTEXT\tx y  \r",
         "INIT",
         {"BTEXT\tx y\r"}},
        {"no section", marker + "ECHO OFF\n", "INIT", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Section(c.contents, c.section), c.expected);
    }
}

TEST(TncFile, LongLinesAreCut) {
    const std::string longLine(300, 'x');
    const Lines lines = Section("[INIT]\n" + longLine + "\nNEXT\n", "INIT");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(kTncFileMaxLine, 'x') + "\r");
    EXPECT_EQ(lines[1], "NEXT\r");
}

TEST(TncFile, AFolderReadsAsAnErrorNotAnException) {
    std::ifstream in(std::filesystem::temp_directory_path(), std::ios::binary);
    ASSERT_TRUE(in.is_open());  // a folder opens; reading it fails
    Lines lines{"stale"};
    EXPECT_FALSE(TncFileSectionLines(in, "INIT", lines));
    EXPECT_TRUE(lines.empty());
}

// The command files shipped for real TNCs: each is recognised, has both sections, and keeps
// to what a TNC's line buffer takes.
TEST(TncFile, ShippedFilesAreWellFormed) {
    const std::filesystem::path folder = std::filesystem::path(PLOVANE_SOURCE_DIR) / "data/tnc";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".tnc")
            continue;
        ++files;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream contents;
        contents << in.rdbuf();
        const std::string text = contents.str();
        EXPECT_EQ(text.rfind("[PLOVANE-TNC-FILE:", 0), 0u);
        const size_t close = text.find(']');
        ASSERT_NE(close, std::string::npos);
        EXPECT_LT(close, text.find('\n'));
        const Lines init = Section(text, "INIT");
        const Lines restore = Section(text, "RESTORE");
        EXPECT_FALSE(init.empty());
        EXPECT_FALSE(restore.empty());
        for (const Lines* lines : {&init, &restore}) {
            for (const std::string& line : *lines) {
                EXPECT_LT(line.size(), 80u) << line;
                EXPECT_NE(line, "\r") << "no blank commands";
            }
        }
    }
    EXPECT_GE(files, 3);
}

}  // namespace
}  // namespace plovane
