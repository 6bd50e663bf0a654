// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in APRS-IS server on the loopback interface; every wait has a time-out.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace plovane::testing {

// Thread-compatible: used by the test thread only.
class LoopbackServer {
  public:
    // Binds 127.0.0.1 (or ::1) on a free port; unless listening, refuses until Listen().
    explicit LoopbackServer(int family = AF_INET, bool listening = true) : family_(family) {
        listenFd_ = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (listenFd_ < 0)
            return;
        sockaddr_storage address{};
        socklen_t size = sizeof address;
        address.ss_family = static_cast<sa_family_t>(family);
        if (family == AF_INET6)
            reinterpret_cast<sockaddr_in6*>(&address)->sin6_addr = in6addr_loopback;
        else
            reinterpret_cast<sockaddr_in*>(&address)->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            Reset(listenFd_);
            return;
        }
        // The port has the same place in both address kinds.
        port_ = ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
        if (listening)
            Listen();
    }
    ~LoopbackServer() {
        Reset(connFd_);
        Reset(listenFd_);
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool ok() const { return listenFd_ >= 0 && port_ != 0; }
    std::string host() const { return family_ == AF_INET6 ? "::1" : "127.0.0.1"; }
    std::string port() const { return std::to_string(port_); }

    bool Listen(int backlog = 8) { return listen(listenFd_, backlog) == 0; }

    // Takes the next connection, dropping the one before.
    bool Accept(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        if (!Wait(listenFd_, POLLIN, timeout))
            return false;
        Reset(connFd_);
        received_.clear();
        connFd_ = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        return connFd_ >= 0;
    }

    // The next line as a line-reading server takes it: up to the LF, which is dropped (the CR
    // before it stays). On a time-out or close, what came in so far and then "<no LF>".
    std::string ReadLine(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        if (!Fill([this] { return received_.find('\n') != std::string::npos; }, timeout)) {
            std::string partial;
            partial.swap(received_);
            return partial + "<no LF>";
        }
        const size_t end = received_.find('\n');
        std::string line = received_.substr(0, end);
        received_.erase(0, end + 1);
        return line;
    }

    // Reads until the bytes received (and not yet read as lines) hold `wanted`.
    bool WaitFor(std::string_view wanted,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        return Fill([&] { return received_.find(wanted) != std::string::npos; }, timeout);
    }

    bool Send(std::string_view bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = send(connFd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

    // What arrived so far (and was not read as lines).
    const std::string& received() const { return received_; }

    // Closes the accepted connection, as a server that drops its client.
    void Drop() { Reset(connFd_); }

  private:
    // Receives until `done` holds (true) or the time-out or a close (false).
    template <typename Done>
    bool Fill(Done done, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            char chunk[4096];
            if (left.count() <= 0 || !Wait(connFd_, POLLIN, left))
                return false;
            const ssize_t n = recv(connFd_, chunk, sizeof chunk, 0);
            if (n <= 0)
                return false;
            received_.append(chunk, static_cast<size_t>(n));
        }
        return true;
    }

    static bool Wait(int fd, short events, std::chrono::milliseconds timeout) {
        if (fd < 0)
            return false;
        pollfd p = {fd, events, 0};
        return poll(&p, 1, static_cast<int>(timeout.count())) == 1;
    }
    static void Reset(int& fd) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }

    int family_;
    int listenFd_ = -1;
    int connFd_ = -1;
    uint16_t port_ = 0;
    std::string received_;
};

}  // namespace plovane::testing
