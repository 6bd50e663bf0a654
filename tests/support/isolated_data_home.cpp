// SPDX-License-Identifier: GPL-3.0-or-later
// Every test gets a data folder of its own (XDG_DATA_HOME, and XDG_STATE_HOME inside it), so that the station log one test
// writes is never replayed by another, nor the user's log by a test. Programs a test starts
// inherit it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

class IsolatedDataHome final : public ::testing::EmptyTestEventListener {
  public:
    void OnTestStart(const ::testing::TestInfo&) override {
        char name[] = "/tmp/plovane-test-data-XXXXXX";
        if (::mkdtemp(name) != nullptr) {
            path_ = name;
            ::setenv("XDG_DATA_HOME", name, 1);
            ::setenv("XDG_STATE_HOME", (path_ + "/state").c_str(), 1);
        }
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        std::error_code error;
        if (!path_.empty())
            std::filesystem::remove_all(path_, error);
        path_.clear();
    }

  private:
    std::string path_;
};

const bool installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new IsolatedDataHome);
    return true;
}();

}  // namespace
