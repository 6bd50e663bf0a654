// The headless station: a real process that plays a simulation or listens to a KISS TNC over
// TCP, prints what it receives and shuts down in order on SIGTERM.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "comm/ax25.h"
#include "comm/kiss.h"
#include "comm/net_loopback.h"
#include "support/scratch_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

#ifdef PLOVANE_CLI_PATH
// Reads from the pipe until `needle` has appeared or the time is up.
bool ReadUntil(int fd, std::string& output, const std::string& needle,
               std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    while (output.find(needle) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return output.find(needle) != std::string::npos;
        output.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

// `plovane-cli run --settings <settings> [more...]` with its standard output on a pipe.
class HeadlessRun {
  public:
    HeadlessRun(const fs::path& settings, std::vector<std::string> more) {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<std::string> args = {PLOVANE_CLI_PATH, "run", "--settings", settings.string()};
        args.insert(args.end(), more.begin(), more.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        fd_ = fds[0];
    }
    ~HeadlessRun() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0)
            close(fd_);
    }
    bool started() const { return pid_ > 0; }
    bool WaitFor(const std::string& needle) {
        return ReadUntil(fd_, output_, needle, std::chrono::seconds(20));
    }
    // SIGTERM; true when it said goodbye and exited with status 0.
    bool Stop() {
        kill(pid_, SIGTERM);
        const bool said = WaitFor("Exiting Plovane...");
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
        return said && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    const std::string& output() const { return output_; }

  private:
    pid_t pid_ = 0;
    int fd_ = -1;
    std::string output_;
};

TEST(HeadlessStation, PlaysTheSimulationAndShutsDownOnSigterm) {
    const plovane::testing::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    std::ofstream(dir / "station.conf") << "[Station]\nMyCall=N0CALL-9\n";
    std::ofstream(dir / "test.sim") << "W1AAA>APRS:!4903.50N/07201.75W-hello\r\n"
                                       "W1BBB>APRS:>status text\r\n";
    HeadlessRun run(dir / "station.conf", {"--simulate", (dir / "test.sim").string()});
    ASSERT_TRUE(run.started());
    EXPECT_TRUE(run.WaitFor("FILE>W1BBB>APRS:>status text")) << run.output();
    EXPECT_TRUE(run.Stop()) << run.output();
    EXPECT_NE(run.output().find("FILE>W1AAA>APRS:!4903.50N/07201.75W-hello"), std::string::npos);
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
