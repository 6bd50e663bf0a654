// SPDX-License-Identifier: GPL-3.0-or-later
// Stopping on SIGTERM and SIGINT through a socket pair.
#include "ui/stop_signals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <atomic>
#include <csignal>

namespace plovane {
namespace {

// The write end the handler uses: a signal handler can reach nothing but a global. -1 while
// no StopSignals is installed.
std::atomic<int> stopWriteFd{-1};
struct sigaction previousTerm;
struct sigaction previousInt;

void OnStopSignal(int signal) {
    const int fd = stopWriteFd.load();
    if (fd < 0)
        return;
    const char byte = static_cast<char>(signal);
    // Async-signal-safe; a full pipe means a stop is already on its way.
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
}

}  // namespace

StopSignals::StopSignals(std::function<void()> stop, QObject* parent)
    : QObject(parent), stop_(std::move(stop)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds_) != 0)
        return;
    int expected = -1;
    if (!stopWriteFd.compare_exchange_strong(expected, fds_[0])) {
        ::close(fds_[0]);
        ::close(fds_[1]);
        fds_[0] = fds_[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(fds_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::OnReadable);
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &previousTerm);
    ::sigaction(SIGINT, &action, &previousInt);
    installed_ = true;
}

StopSignals::~StopSignals() {
    if (!installed_)
        return;
    ::sigaction(SIGTERM, &previousTerm, nullptr);
    ::sigaction(SIGINT, &previousInt, nullptr);
    stopWriteFd.store(-1);
    delete notifier_;
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void StopSignals::OnReadable() {
    char bytes[16];
    bool any = false;
    while (::read(fds_[1], bytes, sizeof bytes) > 0)
        any = true;
    if (any && stop_)
        stop_();
}

}  // namespace plovane
