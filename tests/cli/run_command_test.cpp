// The headless station: a real process that plays a simulation, prints its notices and
// shuts down in order on SIGTERM.
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

TEST(HeadlessStation, PlaysTheSimulationAndShutsDownOnSigterm) {
    const plovane::testing::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    std::ofstream(dir / "station.conf") << "[Station]\nMyCall=N0CALL-9\n";
    std::ofstream(dir / "test.sim") << "W1AAA>APRS:!4903.50N/07201.75W-hello\r\n"
                                       "W1BBB>APRS:>status text\r\n";

    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const std::string settings = (dir / "station.conf").string();
    const std::string sim = (dir / "test.sim").string();
    std::string exe = PLOVANE_CLI_PATH;
    char* argv[] = {exe.data(),
                    const_cast<char*>("run"),
                    const_cast<char*>("--settings"),
                    const_cast<char*>(settings.c_str()),
                    const_cast<char*>("--simulate"),
                    const_cast<char*>(sim.c_str()),
                    nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);

    std::string output;
    const bool decoded =
        ReadUntil(pipeFds[0], output, "FILE>W1BBB>APRS:>status text", std::chrono::seconds(20));
    kill(pid, SIGTERM);
    const bool exited =
        ReadUntil(pipeFds[0], output, "Exiting Plovane...", std::chrono::seconds(20));
    int status = 0;
    waitpid(pid, &status, 0);
    close(pipeFds[0]);

    EXPECT_TRUE(decoded) << output;
    EXPECT_TRUE(exited) << output;
    EXPECT_NE(output.find("FILE>W1AAA>APRS:!4903.50N/07201.75W-hello"), std::string::npos);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

}  // namespace
