// SPDX-License-Identifier: GPL-3.0-or-later
// A program a test runs beside the station: started with fork/exec, its output to a log file,
// optionally fed on stdin, always ended (SIGTERM, then SIGKILL) when dropped.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace plovane::testing {

class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // env entries ("HOME=/tmp/x") are added to the inherited environment.
    bool Start(const std::vector<std::string>& argv, const std::string& logPath,
               bool pipeStdin = false, const std::vector<std::string>& env = {}) {
        int in[2] = {-1, -1};
        if (pipeStdin && pipe2(in, O_CLOEXEC) != 0)
            return false;
        // Built before fork: the child of a threaded process may not allocate.
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        pid_ = fork();
        if (pid_ < 0)
            return false;
        if (pid_ == 0) {
            const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(log, 1);
            dup2(log, 2);
            if (pipeStdin)
                dup2(in[0], 0);
            for (const std::string& e : env)
                putenv(const_cast<char*>(e.c_str()));
            execvp(args[0], args.data());
            _exit(127);
        }
        if (pipeStdin) {
            close(in[0]);
            stdin_ = in[1];
        }
        return true;
    }

    // Writes the bytes to the child's stdin.
    bool Feed(const std::string& data) {
        size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = write(stdin_, data.data() + done, data.size() - done);
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return !data.empty();
    }
    void CloseStdin() {
        if (stdin_ >= 0)
            close(stdin_);
        stdin_ = -1;
    }

    // Waits for the child to end by itself; its exit status, or -1 on a time-out.
    int Wait(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (pid_ > 0) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (std::chrono::steady_clock::now() > deadline)
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

    // SIGTERM; the exit status, or -1 when it has not ended within the time-out.
    int Terminate(std::chrono::milliseconds timeout) {
        if (pid_ <= 0)
            return -1;
        kill(pid_, SIGTERM);
        return Wait(timeout);
    }

    void Stop() {
        CloseStdin();
        if (Terminate(std::chrono::seconds(3)) < 0 && pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    int stdin_ = -1;
};

// Runs a command to its end; its exit status.
inline int RunCommand(const std::vector<std::string>& argv, const std::string& logPath) {
    ChildProcess child;
    if (!child.Start(argv, logPath))
        return -1;
    return child.Wait(std::chrono::seconds(30));
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// True once `done` holds, polling every 2 ms up to the time-out.
template <typename Done>
bool WaitUntil(Done done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace plovane::testing
