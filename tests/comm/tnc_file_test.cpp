// SPDX-License-Identifier: GPL-3.0-or-later
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

// Each shipped command file is recognised, has both sections and fits a TNC's line buffer.
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
