// SPDX-License-Identifier: GPL-3.0-or-later
// The headless station's host: where its texts go and how its boxes are answered.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/console_host.h"

namespace plovane {
namespace {

// A FILE that writes into memory, for what the host prints.
struct MemoryFile {
    MemoryFile() : file(open_memstream(&data, &size)) {}
    ~MemoryFile() {
        std::fclose(file);
        std::free(data);
    }
    std::string Text() const { return std::fflush(file) == 0 ? std::string(data, size) : ""; }
    char* data = nullptr;
    size_t size = 0;
    std::FILE* file;
};

TEST(ConsoleHost, NoticesToOutputBoxesToErrorsAnsweredWithTheHarmlessButton) {
    MemoryFile out, err;
    ConsoleHost host(out.file, err.file);
    host.ShowNotice("notice");
    host.ShowProgress("loading");
    using B = MessageBoxButtons;
    using R = MessageBoxResult;
    for (const auto& [buttons, answer] : {std::pair{B::kOk, R::kOk},
                                          {B::kYesNo, R::kNo},
                                          {B::kYesNoCancel, R::kCancel},
                                          {B::kOkCancel, R::kCancel}})
        EXPECT_EQ(host.MessageBox("sure?", MessageBoxIcon::kQuestion, buttons, ""), answer);
    EXPECT_EQ(out.Text(), "notice\nloading\n");
    EXPECT_EQ(err.Text(), "sure?\nsure?\nsure?\nsure?\n");
}

}  // namespace
}  // namespace plovane
