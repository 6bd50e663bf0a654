// SPDX-License-Identifier: GPL-3.0-or-later
// The headless station: a real process that plays a simulation or listens to a KISS TNC over
// TCP, prints what it receives and shuts down in order on SIGTERM.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "comm/ax25.h"
#include "comm/kiss.h"
#include "comm/net_loopback.h"
#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

#ifdef PLOVANE_CLI_PATH
// `plovane-cli run --settings <settings> [more...]`, its output to a log beside the settings.
class HeadlessRun {
  public:
    HeadlessRun(const fs::path& settings, std::vector<std::string> more)
        : log_((settings.parent_path() / "run.log").string()) {
        std::vector<std::string> args = {PLOVANE_CLI_PATH, "run", "--settings", settings.string()};
        args.insert(args.end(), more.begin(), more.end());
        started_ = child_.Start(args, log_);
    }
    bool started() const { return started_; }
    bool WaitFor(const std::string& needle) {
        return plovane::testing::WaitUntil(
            [&] { return output().find(needle) != std::string::npos; }, std::chrono::seconds(20));
    }
    // SIGTERM; true when it said goodbye and exited with status 0.
    bool Stop() {
        return child_.Terminate(std::chrono::seconds(20)) == 0 && WaitFor("Exiting Plovane...");
    }
    std::string output() const { return plovane::testing::ReadFile(log_); }

  private:
    std::string log_;
    plovane::testing::ChildProcess child_;
    bool started_ = false;
};

// It also leaves the settings file as the user wrote it, and shows terminal controls from the
// air escaped instead of obeying them.
TEST(HeadlessStation, PlaysTheSimulationAndShutsDownOnSigterm) {
    const plovane::testing::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    const std::string settings =
        "[Station]\nMyCall=N0CALL-9\nUIDigiPath=WIDE1-1,WIDE2-2\nComment=caf\xE9 \xC3\xA9\n";
    std::ofstream(dir / "station.conf", std::ios::binary) << settings;
    std::ofstream(dir / "test.sim") << "W1AAA>APRS:!4903.50N/07201.75W-hello\r\n"
                                       "W1CCC>APRS:>\x1b]0;owned\x07\x1b[2J\r\n"
                                       "W1BBB>APRS:>status text\r\n";
    HeadlessRun run(dir / "station.conf", {"--simulate", (dir / "test.sim").string()});
    ASSERT_TRUE(run.started());
    EXPECT_TRUE(run.WaitFor("FILE>W1BBB>APRS:>status text")) << run.output();
    EXPECT_TRUE(run.Stop()) << run.output();
    EXPECT_NE(run.output().find("FILE>W1AAA>APRS:!4903.50N/07201.75W-hello"), std::string::npos);
    EXPECT_NE(run.output().find("W1CCC>APRS:>\\x1B]0;owned\\x07\\x1B[2J"), std::string::npos)
        << run.output();
    EXPECT_EQ(run.output().find('\x1b'), std::string::npos);
    EXPECT_EQ(plovane::testing::ReadFile((dir / "station.conf").string()), settings);
}

#ifdef PLOVANE_HAVE_QT  // the TNC is chosen in a settings file, which needs the Qt settings store
// A headless station on a KISS TNC over TCP prints the frames the TNC hands over.
TEST(HeadlessStation, PrintsTheFramesOfAKissTncOverTcp) {
    plovane::testing::LoopbackServer tnc;
    ASSERT_TRUE(tnc.ok());
    const plovane::testing::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    std::ofstream(dir / "station.conf")
        << "[Station]\nMyCall=N0CALL-9\n[Comm]\nTNCEnabled=1\nTNCMode=2\nKISSHost=127.0.0.1\n"
        << "KISSPort=" << tnc.port() << "\n";
    HeadlessRun run(dir / "station.conf", {});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(tnc.Accept(std::chrono::seconds(20))) << "the station never connected\n"
                                                      << run.output();
    plovane::Ax25Frame frame;
    ASSERT_TRUE(plovane::BuildUiFrame("W1AAA", "APRS", "WIDE1-1", "!4903.50N/07201.75W-hi", frame));
    const std::vector<uint8_t> bytes = plovane::KissDataFrame(0, plovane::EncodeAx25(frame));
    EXPECT_TRUE(tnc.Send({reinterpret_cast<const char*>(bytes.data()), bytes.size()}));

    EXPECT_TRUE(run.WaitFor("W1AAA>APRS,WIDE1-1:!4903.50N/07201.75W-hi")) << run.output();
    EXPECT_TRUE(run.Stop()) << run.output();
}
#endif
#endif

}  // namespace
