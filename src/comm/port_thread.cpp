// SPDX-License-Identifier: GPL-3.0-or-later
// The link worker: open, serve, back off, open again.
#include "comm/port_thread.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

#include "comm/event_fd.h"

namespace plovane {
namespace {

using Ms = std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

int PollFor(pollfd* fds, nfds_t count, Ms timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    for (;;) {
        int waitMs = -1;
        if (timeout.count() >= 0) {
            const auto left = std::chrono::ceil<Ms>(deadline - SteadyClock::now());
            waitMs = static_cast<int>(std::max<Ms::rep>(0, left.count()));
        }
        const int n = poll(fds, count, waitMs);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

// One host-name lookup. getaddrinfo cannot be interrupted, so a name lookup runs on a thread
// of its own that shares nothing with the caller but this record: when the port stops
// meanwhile the caller stops waiting, and the lookup finishes later and frees its result.
struct Lookup {
    Lookup() : doneFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~Lookup() {
        if (list != nullptr)
            freeaddrinfo(list);
        if (doneFd >= 0)
            close(doneFd);
    }
    Lookup(const Lookup&) = delete;
    Lookup& operator=(const Lookup&) = delete;

    void Run(const std::string& host, const std::string& port, bool numeric) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_NUMERICSERV | (numeric ? AI_NUMERICHOST : 0);
        addrinfo* found = nullptr;
        const int code = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
        const int systemError = errno;
        {
            std::lock_guard lock(mutex);
            result = code;
            errnoValue = systemError;
            list = code == 0 ? found : nullptr;
        }
        SignalEventFd(doneFd);
    }

    const int doneFd;
    std::mutex mutex;
    int result = EAI_SYSTEM;  // guarded by mutex, like the two below
    int errnoValue = 0;
    addrinfo* list = nullptr;
};

bool IsNumericAddress(const std::string& host) {
    in6_addr address6;
    in_addr address4;
    return inet_pton(AF_INET, host.c_str(), &address4) == 1 ||
           inet_pton(AF_INET6, host.c_str(), &address6) == 1;
}

// Looks the host up (on a thread of its own for a name); null, with the code, on failure or
// when wakeFd turns readable (ECANCELED).
std::shared_ptr<Lookup> LookUp(const std::string& host, const std::string& port, int wakeFd,
                               int& code) {
    auto lookup = std::make_shared<Lookup>();
    if (lookup->doneFd < 0) {
        code = errno;
        return nullptr;
    }
    if (IsNumericAddress(host)) {
        lookup->Run(host, port, true);
    } else {
        try {
            std::thread([lookup, host, port] { lookup->Run(host, port, false); }).detach();
        } catch (const std::system_error& e) {
            code = e.code().value();
            return nullptr;
        }
        pollfd fds[2] = {{lookup->doneFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        while ((fds[0].revents & POLLIN) == 0) {
            if (PollFor(fds, 2, Ms(-1)) < 0) {
                code = errno;
                return nullptr;
            }
            if (fds[1].revents != 0) {
                code = ECANCELED;
                return nullptr;
            }
        }
    }
    std::lock_guard lock(lookup->mutex);
    code = lookup->result == EAI_SYSTEM ? lookup->errnoValue : lookup->result;
    return lookup->result == 0 ? lookup : nullptr;
}

}  // namespace

int ConnectTcp(const std::string& host, const std::string& port, int wakeFd, Ms timeout,
               std::string& error, int* errorCode) {
    int code = 0;
    const std::shared_ptr<Lookup> lookup = LookUp(host, port, wakeFd, code);
    if (!lookup) {
        error = code < 0 ? "Host lookup failed: " + std::string(gai_strerror(code))
                         : "Host lookup failed: " + std::string(std::strerror(code));
        if (errorCode != nullptr)
            *errorCode = code;
        return -1;
    }
    error = "No address for " + host;
    code = EHOSTUNREACH;
    int result = -1;
    std::lock_guard lock(lookup->mutex);
    for (const addrinfo* a = lookup->list; a != nullptr && result < 0; a = a->ai_next) {
        const int fd =
            socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            code = errno;
            error = std::strerror(errno);
            continue;
        }
        int socketError = 0;
        if (connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            socketError = errno;
            if (socketError == EINPROGRESS) {
                pollfd fds[2] = {{fd, POLLOUT, 0}, {wakeFd, POLLIN, 0}};
                const int n = PollFor(fds, 2, timeout);
                socklen_t size = sizeof socketError;
                if (n < 0)
                    socketError = errno;
                else if (fds[1].revents != 0)
                    socketError = ECANCELED;
                else if (n == 0)
                    socketError = ETIMEDOUT;
                else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &socketError, &size) != 0)
                    socketError = errno;
            }
        }
        if (socketError == 0) {
            result = fd;
        } else {
            code = socketError;
            error = "Connection to " + host + ":" + port + " failed: " + std::strerror(socketError);
            close(fd);
            if (socketError == ECANCELED)
                break;
        }
    }
    if (errorCode != nullptr)
        *errorCode = result >= 0 ? 0 : code;
    return result;
}

CPortThread::CPortThread() = default;

CPortThread::~CPortThread() {
    Stop();
    if (wakeFd_ >= 0)
        close(wakeFd_);
}

std::string CPortThread::LastError() const {
    std::lock_guard lock(mutex_);
    return lastError_;
}

void CPortThread::SetError(const std::string& text) {
    std::lock_guard lock(mutex_);
    lastError_ = text;
}

bool CPortThread::CreateWakeEvent() {
    if (wakeFd_ < 0)
        wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return wakeFd_ >= 0;
}

bool CPortThread::Start(PortOpener opener, PortHandlers handlers, PortTimings timings, int openFd) {
    Stop();
    if (!CreateWakeEvent()) {
        if (openFd >= 0)
            close(openFd);
        return false;
    }
    timings_ = timings;
    DrainEventFd(wakeFd_);
    stop_ = false;
    feedStop_ = std::stop_source();
    {
        std::lock_guard lock(mutex_);
        queue_.clear();
        writing_ = false;
        lastError_.clear();
        open_ = openFd >= 0;
    }
    running_ = true;
    try {
        thread_ = std::thread([this, opener = std::move(opener), handlers = std::move(handlers),
                               timings, openFd] { Run(opener, handlers, timings, openFd); });
    } catch (const std::system_error&) {
        running_ = false;
        open_ = false;
        if (openFd >= 0)
            close(openFd);
        return false;
    }
    return true;
}

void CPortThread::Stop(Ms drainLimit) {
    if (!thread_.joinable())
        return;
    // A worker waiting to hand on a received line gives up at once.
    feedStop_.request_stop();
    {
        // Queued bytes (a KISS exit, restore commands) go out before the link closes.
        std::unique_lock lock(mutex_);
        Ms limit = drainLimit;
        if (limit.count() < 0) {
            limit = timings_.drainLimit;
            for (const Item& item : queue_)
                limit += Ms(item.delayBeforeMs + item.delayAfterMs);
        }
        drained_.wait_for(lock, limit,
                          [this] { return (queue_.empty() && !writing_) || !open_ || !running_; });
    }
    stop_ = true;
    SignalEventFd(wakeFd_);
    thread_.join();
    std::lock_guard lock(mutex_);
    queue_.clear();
    writing_ = false;
}

bool CPortThread::Send(std::string bytes, int delayBeforeMs, int delayAfterMs) {
    {
        std::lock_guard lock(mutex_);
        if (!open_ || stop_ || queue_.size() >= kMaxQueued)
            return false;
        queue_.push_back({std::move(bytes), std::max(0, delayBeforeMs), std::max(0, delayAfterMs)});
    }
    SignalEventFd(wakeFd_);
    return true;
}

bool CPortThread::WaitForStop(Ms timeout) {
    if (stop_)
        return true;
    pollfd fds[1] = {{wakeFd_, POLLIN, 0}};
    PollFor(fds, 1, timeout);
    DrainEventFd(wakeFd_);  // a Send while closed is refused; only Stop matters here
    return stop_;
}

void CPortThread::Run(const PortOpener& opener, const PortHandlers& handlers,
                      const PortTimings& timings, int openFd) {
    Ms pause = timings.retryFirst;
    while (!stop_) {
        std::string reason;
        const bool given = openFd >= 0;
        const int fd = given ? openFd : opener ? opener(wakeFd_, reason) : -1;
        openFd = -1;
        if (stop_) {
            if (fd >= 0)
                close(fd);
            break;
        }
        if (fd >= 0) {
            pause = timings.retryFirst;
            SetError({});
            if (!given) {
                std::lock_guard lock(mutex_);
                queue_.clear();
                writing_ = false;
                open_ = true;
            }
            if (handlers.opened)
                handlers.opened();
            const bool stopped = Serve(fd, handlers, timings.silenceLimit, reason);
            std::vector<std::string> unsent;
            {
                std::lock_guard lock(mutex_);
                open_ = false;
                for (Item& item : queue_)
                    unsent.push_back(std::move(item.bytes));
                queue_.clear();
                writing_ = false;
            }
            drained_.notify_all();
            if (!stopped && !stop_ && handlers.unsent && !unsent.empty())
                handlers.unsent(std::move(unsent));
            close(fd);
            if (stopped || stop_)
                break;
        }
        SetError(reason);
        if (handlers.lost)
            handlers.lost(reason);
        if ((!timings.reconnect && reason != kSilentReason) || WaitForStop(pause))
            break;
        pause = std::min(pause * 2, timings.retryMax);
    }
    // Stopped before the worker got to a device it was handed.
    if (openFd >= 0)
        close(openFd);
    {
        std::lock_guard lock(mutex_);
        running_ = false;
        open_ = false;
    }
    drained_.notify_all();
}

bool CPortThread::Serve(int fd, const PortHandlers& handlers, Ms silenceLimit,
                        std::string& reason) {
    uint8_t chunk[kReadChunkBytes];
    std::string pending;  // the front item, being written
    size_t written = 0;
    bool havePending = false;
    bool announced = false;  // the writing hook has seen the pending item
    int delayAfterMs = 0;
    auto due = SteadyClock::now();
    auto pauseEnd = SteadyClock::now();  // the pause after the last item written
    bool pausing = false;
    auto heard = SteadyClock::now();  // the last bytes received
    for (;;) {
        const auto now = SteadyClock::now();
        if (silenceLimit.count() > 0 && now - heard >= silenceLimit) {
            reason = kSilentReason;
            return false;
        }
        if (pausing && now >= pauseEnd) {
            pausing = false;
            std::lock_guard lock(mutex_);
            writing_ = false;
            if (queue_.empty())
                drained_.notify_all();
        }
        if (!havePending && !pausing) {
            std::lock_guard lock(mutex_);
            if (!queue_.empty()) {
                pending = std::move(queue_.front().bytes);
                due = now + Ms(queue_.front().delayBeforeMs);
                delayAfterMs = queue_.front().delayAfterMs;
                queue_.pop_front();
                written = 0;
                havePending = true;
                announced = false;
                writing_ = true;
            }
        }
        const bool writeNow = havePending && now >= due;
        if (writeNow && !announced) {
            announced = true;
            if (handlers.writing)
                handlers.writing(pending);
        }
        Ms timeout(-1);
        if (havePending && !writeNow)
            timeout = std::chrono::ceil<Ms>(due - now);
        else if (pausing)
            timeout = std::chrono::ceil<Ms>(pauseEnd - now);
        if (silenceLimit.count() > 0) {
            const Ms silenceLeft = std::chrono::ceil<Ms>(heard + silenceLimit - now);
            timeout = timeout.count() < 0 ? silenceLeft : std::min(timeout, silenceLeft);
        }
        pollfd fds[2] = {{fd, static_cast<short>(POLLIN | (writeNow ? POLLOUT : 0)), 0},
                         {wakeFd_, POLLIN, 0}};
        if (PollFor(fds, 2, timeout) < 0) {
            reason = std::strerror(errno);
            return false;
        }
        if (fds[1].revents != 0) {
            DrainEventFd(wakeFd_);
            if (stop_)
                return true;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            const ssize_t n = read(fd, chunk, sizeof chunk);
            if (n > 0) {
                heard = SteadyClock::now();
                if (handlers.received)
                    handlers.received(chunk, static_cast<size_t>(n));
            } else if (n == 0) {
                reason = "The link was closed by the other end.";
                return false;
            } else if (errno != EINTR && errno != EAGAIN) {
                reason = std::strerror(errno);
                return false;
            }
        } else if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            reason = "The link hung up.";
            return false;
        }
        if (writeNow && (fds[0].revents & POLLOUT) != 0) {
            const ssize_t n = send(fd, pending.data() + written, pending.size() - written,
                                   MSG_NOSIGNAL | MSG_DONTWAIT);
            // Not a socket (a serial device): plain write.
            const ssize_t m = (n < 0 && errno == ENOTSOCK)
                                  ? write(fd, pending.data() + written, pending.size() - written)
                                  : n;
            if (m > 0) {
                written += static_cast<size_t>(m);
            } else if (m < 0 && errno != EINTR && errno != EAGAIN) {
                reason = std::strerror(errno);
                return false;
            }
            if (written >= pending.size()) {
                havePending = false;
                if (delayAfterMs > 0) {
                    pausing = true;
                    pauseEnd = SteadyClock::now() + Ms(delayAfterMs);
                } else {
                    std::lock_guard lock(mutex_);
                    writing_ = false;
                    if (queue_.empty())
                        drained_.notify_all();
                }
            }
        }
    }
}

}  // namespace plovane
