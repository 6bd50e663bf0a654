// The APRS-IS client: connecting (a fresh lookup each time), the read and write threads,
// the reconnect loop and the open/close protocol.
#include "comm/net_manager.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iterator>
#include <system_error>

#include "comm/event_fd.h"
#include "comm/passcode.h"
#include "core/latin1.h"
#include "core/timed_lock.h"
#include "core/version.h"

namespace plovane {
namespace {

using Ms = std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

bool IsLineEnd(uint8_t b) {
    return b == '\r' || b == '\n';
}

bool HasLineEnd(const uint8_t* data, size_t length) {
    return std::any_of(data, data + length, IsLineEnd);
}

// Keeps the buffer's complete lines and drops an unfinished one after them.
void TrimToLastLineEnd(ReceiveBuffer& buffer) {
    while (buffer.fill > 0 && !IsLineEnd(buffer.bytes[buffer.fill - 1]))
        --buffer.fill;
}

// Polls until an event or the time-out; EINTR restarts with the time left. -1 waits for ever.
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

// The port: a whole decimal number from 1 to 65535, else empty.
std::string PortNumber(std::string_view text) {
    text = latin1::Trim(text);
    const auto isDigit = [](char c) { return latin1::IsDigit(static_cast<unsigned char>(c)); };
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), isDigit))
        return {};
    const long port = std::stol(std::string(text));
    return port >= 1 && port <= 65535 ? std::to_string(port) : std::string();
}

// The host: trimmed, an IPv6 address also accepted in brackets ("[2001:db8::1]").
std::string HostName(std::string_view text) {
    text = latin1::Trim(text);
    if (text.size() > 2 && text.front() == '[' && text.back() == ']')
        text = text.substr(1, text.size() - 2);
    return std::string(text);
}

bool IsNumericAddress(const std::string& host) {
    in6_addr address6;
    in_addr address4;
    return inet_pton(AF_INET, host.c_str(), &address4) == 1 ||
           inet_pton(AF_INET6, host.c_str(), &address6) == 1;
}

// One host-name lookup. getaddrinfo cannot be interrupted, so a name lookup runs on a thread
// of its own that shares nothing with the client but this record: when the client is
// closed meanwhile it stops waiting, and the lookup finishes later and frees its result.
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
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(doneFd, &one, sizeof one);
    }

    const int doneFd;
    std::mutex mutex;
    int result = EAI_SYSTEM;  // guarded by mutex, like the two below
    int errnoValue = 0;
    addrinfo* list = nullptr;
};

}  // namespace

struct CNetManager::Socket {
    explicit Socket(int descriptor) : fd(descriptor) {}
    ~Socket() { close(fd); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    const int fd;
};

std::string NetLoginLine(std::string_view myCall, std::string_view filter) {
    std::string line = "user " + std::string(myCall) + " pass " +
                       std::to_string(AprsPasscode(myCall)) + " vers " + kProgramName + " " +
                       kVersionText;
    // The filter is one line's worth of text: a stray line end would start a second command.
    filter = filter.substr(0, filter.find_first_of("\r\n"));
    filter = latin1::Trim(filter);
    if (!filter.empty())
        line += " filter " + std::string(filter);
    return line + "\r";
}

std::string NetStatusText(const CNetManager* net) {
    return net != nullptr ? net->StatusText() : "Unknown - no net manager object.";
}

CNetManager::CNetManager(ThreadPoster& poster, NoticeSink& notices, std::string mutexName,
                         std::string eventName)
    : poster_(poster),
      notices_(notices),
      eventName_(std::move(eventName)),
      buffer_(ReceiveBuffer::kNetworkCapacity, std::move(mutexName)) {}

CNetManager::~CNetManager() {
    StopThreads();
    if (wakeFd_ >= 0)
        close(wakeFd_);
}

OpenResult CNetManager::CreateObjects() {
    lastError_ = 0;
    if (wakeFd_ < 0)
        wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0)
        return {false, "Unable to create network write event.  \"" + eventName_ + "\""};
    return {true, {}};
}

void CNetManager::LoadSettings(const Profile& profile) {
    if (settings_ != nullptr) {
        settings_->Load(profile);
        loaded_ = *settings_;
    } else {
        loaded_.Load(profile);
    }
}

std::string CNetManager::StatusText() const {
    std::string text;
    if (open_)
        text = "[Active] ";
    else if (pending_)
        text = "[Pending] ";
    else if (error_)
        text = "[Error] ";
    const int code = lastError_;
    if (code > 0)
        text += "Last Error #: " + std::to_string(code);
    else if (code < 0)
        text += std::string("Host lookup failed: ") + gai_strerror(code);
    return text;
}

void CNetManager::SetState(bool open, bool pending, bool error) {
    open_ = open;
    pending_ = pending;
    error_ = error;
    poster_.Post(ThreadMessage::kPortStatus);
}

void CNetManager::Wake() {
    SignalEventFd(wakeFd_);
}

void CNetManager::DrainWake() {
    DrainEventFd(wakeFd_);
}

OpenResult CNetManager::Open() {
    // Threads that ended on a failure are collected first.
    StopThreads();
    open_ = false;
    pending_ = false;
    error_ = false;
    stop_ = false;
    {
        std::lock_guard lock(queueMutex_);
        queue_.clear();
        held_.clear();
        stopWrite_ = false;
        writing_ = false;
    }

    if (!loaded_.enabled)
        return {};
    ConnectPlan plan;
    plan.host = HostName(loaded_.hostAddress);
    plan.port = PortNumber(loaded_.hostPort);
    if (plan.host.empty() || plan.port.empty()) {
        error_ = true;
        return {false, "Invalid network connection parameters."};
    }
    if (OpenResult objects = CreateObjects(); objects.failed()) {
        error_ = true;
        return objects;
    }
    DrainWake();
    plan.loginLine = NetLoginLine(myCall_, loaded_.netFilter);
    plan.autoReconnect = loaded_.autoReconnect;
    plan.timings = timings_;

    SetState(false, true, false);
    try {
        readThread_ = std::thread([this, plan] { ReadLoop(plan); });
    } catch (const std::system_error&) {
        SetState(false, false, true);
        return {false, "Unable to start network read thread."};
    }
    {
        std::lock_guard lock(queueMutex_);
        writerRunning_ = true;
    }
    try {
        writeThread_ = std::thread([this] { WriteLoop(); });
    } catch (const std::system_error&) {
        {
            std::lock_guard lock(queueMutex_);
            writerRunning_ = false;
        }
        StopThreads();
        SetState(false, false, true);
        return {false, "Unable to start network write thread."};
    }
    return {true, {}};
}

void CNetManager::Close() {
    {
        std::unique_lock lock(queueMutex_);
        if (open_ && writerRunning_) {
            queueChanged_.wait_for(lock, timings_.closeDrainLimit, [this] {
                return (queue_.empty() && !writing_) || !open_ || !writerRunning_;
            });
        }
    }
    const bool running = readThread_.joinable() || writeThread_.joinable();
    StopThreads();
    open_ = false;
    pending_ = false;
    error_ = false;
    if (running)
        poster_.Post(ThreadMessage::kPortStatus);
}

void CNetManager::StopThreads() {
    stop_ = true;
    {
        std::lock_guard lock(queueMutex_);
        stopWrite_ = true;
        // Wakes a receive or send under way on the connection; the poll on the wake event
        // covers the connect, lookup and back-off waits.
        if (socket_)
            shutdown(socket_->fd, SHUT_RDWR);
    }
    queueChanged_.notify_all();
    Wake();
    if (readThread_.joinable())
        readThread_.join();
    if (writeThread_.joinable())
        writeThread_.join();
    std::lock_guard lock(queueMutex_);
    queue_.clear();
    held_.clear();
    socket_.reset();
    writing_ = false;
    writerRunning_ = false;
}

void CNetManager::QueueText(const std::string& text, int /*delayBeforeMs*/, int /*delayAfterMs*/) {
    bool droppedHeld = false;
    {
        std::lock_guard lock(queueMutex_);
        // open_ changes under this lock, so a text never lands in the queue of a dead link.
        if (stopWrite_ || !writerRunning_)
            return;
        if (open_) {
            if (queue_.size() >= kMaxQueuedTexts)
                return;
            queue_.push_back(text);
        } else {
            // Connecting: an ack or a message sent now must not be lost.
            if (held_.size() >= kMaxHeldTexts) {
                held_.pop_front();
                droppedHeld = true;
            }
            held_.push_back(text);
        }
    }
    queueChanged_.notify_all();
    if (droppedHeld)
        notices_.ShowNotice("APRS-IS not connected: the oldest waiting text was dropped.");
}

bool CNetManager::WaitForStop(Ms timeout) {
    if (stop_)
        return true;
    pollfd fds[1] = {{wakeFd_, POLLIN, 0}};
    PollFor(fds, 1, timeout);
    return stop_;
}

// ---- Read thread ----

void CNetManager::ReadLoop(const ConnectPlan& plan) {
    bool firstAttempt = true;
    while (!stop_) {
        // Every attempt after the first waits, so a server that drops us at once is not
        // hammered.
        if (!firstAttempt && WaitForStop(plan.timings.retryInterval))
            break;
        firstAttempt = false;

        int code = 0;
        const int fd = Connect(plan, code);
        if (stop_) {
            if (fd >= 0)
                close(fd);
            break;
        }
        if (fd < 0) {
            lastError_ = code;
            // A host name that does not resolve is an error even while retrying: it will
            // not fix itself the way a busy server might.
            const bool lookupFailed = code < 0;
            if (!plan.autoReconnect) {
                SetState(false, false, true);
                break;
            }
            SetState(false, !lookupFailed, lookupFailed);
            continue;
        }

        // Connected: the login goes first on every connection, before any queued text.
        DropPartialLine();
        const auto socket = std::make_shared<Socket>(fd);
        {
            std::lock_guard lock(queueMutex_);
            socket_ = socket;
            queue_.clear();
            queue_.push_back(plan.loginLine);
            // Then what was queued while connecting, oldest first.
            std::move(held_.begin(), held_.end(), std::back_inserter(queue_));
            held_.clear();
            open_ = true;
            pending_ = false;
            error_ = false;
        }
        queueChanged_.notify_all();
        poster_.Post(ThreadMessage::kPortStatus);

        const bool stopped = Receive(fd, plan.timings);
        {
            std::lock_guard lock(queueMutex_);
            socket_.reset();
            // Texts not yet sent wait for the next connection (not the old login line).
            if (!queue_.empty() && queue_.front() == plan.loginLine)
                queue_.pop_front();
            while (!queue_.empty() && held_.size() < kMaxHeldTexts) {
                held_.push_front(std::move(queue_.back()));
                queue_.pop_back();
            }
            queue_.clear();
            open_ = false;
        }
        queueChanged_.notify_all();
        // A writer still sending on this link gives up.
        shutdown(fd, SHUT_RDWR);
        if (stopped || stop_)
            break;
        if (!plan.autoReconnect) {
            SetState(false, false, true);
            break;
        }
        SetState(false, true, false);
    }
    {
        std::lock_guard lock(queueMutex_);
        stopWrite_ = true;
        open_ = false;
    }
    queueChanged_.notify_all();
    pending_ = false;
    poster_.Post(ThreadMessage::kPortStatus);
}

int CNetManager::Connect(const ConnectPlan& plan, int& errorCode) {
    // Looked up afresh for every attempt: a rotating host name then leads away from a
    // server that has gone down.
    auto lookup = std::make_shared<Lookup>();
    if (lookup->doneFd < 0) {
        errorCode = errno;
        return -1;
    }
    if (IsNumericAddress(plan.host)) {
        lookup->Run(plan.host, plan.port, true);
    } else {
        try {
            std::thread([lookup, plan] { lookup->Run(plan.host, plan.port, false); }).detach();
        } catch (const std::system_error& e) {
            errorCode = e.code().value();
            return -1;
        }
        pollfd fds[2] = {{lookup->doneFd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        while (!stop_ && (fds[0].revents & POLLIN) == 0) {
            if (PollFor(fds, 2, Ms(-1)) < 0) {
                errorCode = errno;
                return -1;
            }
        }
        if (stop_)
            return -1;
    }

    std::lock_guard lock(lookup->mutex);
    if (lookup->result != 0) {
        errorCode = lookup->result == EAI_SYSTEM ? lookup->errnoValue : lookup->result;
        return -1;
    }
    errorCode = EHOSTUNREACH;
    for (const addrinfo* a = lookup->list; a != nullptr && !stop_; a = a->ai_next) {
        const int fd =
            socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            errorCode = errno;
            continue;
        }
        if (connect(fd, a->ai_addr, a->ai_addrlen) == 0)
            return fd;
        if (errno != EINPROGRESS) {
            errorCode = errno;
            close(fd);
            continue;
        }
        pollfd fds[2] = {{fd, POLLOUT, 0}, {wakeFd_, POLLIN, 0}};
        const int n = PollFor(fds, 2, plan.timings.connectTimeout);
        int socketError = 0;
        socklen_t size = sizeof socketError;
        if (n < 0) {
            socketError = errno;
        } else if (stop_) {
            close(fd);
            return -1;
        } else if (n == 0) {
            socketError = ETIMEDOUT;
        } else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &socketError, &size) != 0) {
            socketError = errno;
        }
        if (socketError == 0)
            return fd;
        errorCode = socketError;
        close(fd);
    }
    return -1;
}

bool CNetManager::Receive(int fd, const NetTimings& timings) {
    uint8_t chunk[kReadChunkBytes];
    while (!stop_) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (PollFor(fds, 2, Ms(-1)) < 0) {
            lastError_ = errno;
            error_ = true;
            return false;
        }
        if (stop_)
            return true;
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            switch (StoreChunk(chunk, static_cast<size_t>(n), timings)) {
                case StoreResult::kStored:
                    break;
                case StoreResult::kStopped:
                    return true;
                case StoreResult::kLockFailed:
                    lastError_ = ETIMEDOUT;
                    error_ = true;
                    return false;
            }
        } else if (n == 0) {
            // The server closed the connection.
            error_ = true;
            return false;
        } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            lastError_ = errno;
            error_ = true;
            return false;
        }
    }
    return true;
}

CNetManager::StoreResult CNetManager::StoreChunk(const uint8_t* data, size_t length,
                                                 const NetTimings& timings) {
    // The whole chunk counts; NUL bytes carry nothing in a monitor line and are dropped so
    // that what follows them still reads as text.
    uint8_t bytes[kReadChunkBytes];
    size_t count = 0;
    for (size_t i = 0; i < length && count < sizeof bytes; ++i) {
        if (data[i] != 0)
            bytes[count++] = data[i];
    }
    if (count == 0)
        return StoreResult::kStored;
    const bool lineEnd = HasLineEnd(bytes, count);

    const auto drainDeadline = SteadyClock::now() + timings.drainLimit;
    for (;;) {
        auto lock = TimedLock(buffer_.mutex, Ms(1000));
        if (!lock.owns_lock())
            return StoreResult::kLockFailed;
        if (buffer_.fill + count >= buffer_.capacity()) {
            if (!HasLineEnd(buffer_.bytes.data(), buffer_.fill)) {
                // No monitor line is this long: the buffer holds the start of a line that
                // never ended. Drop it and the rest of that line, or the link would take
                // nothing more.
                buffer_.fill = 0;
                discarding_ = true;
            } else if (SteadyClock::now() >= drainDeadline) {
                // The intake has not taken lines for too long. Drop this chunk, and with it
                // the line it continued and the line it leaves unfinished; the complete lines
                // already stored stay.
                TrimToLastLineEnd(buffer_);
                discarding_ = !IsLineEnd(bytes[count - 1]);
                return StoreResult::kStored;
            } else {
                // Complete lines wait for the user-interface thread; let it catch up.
                lock.unlock();
                if (WaitForStop(Ms(100)))
                    return StoreResult::kStopped;
                continue;
            }
        }
        size_t start = 0;
        if (discarding_) {
            while (start < count && !IsLineEnd(bytes[start]))
                ++start;
            if (start < count)
                discarding_ = false;
            while (start < count && IsLineEnd(bytes[start]))
                ++start;
        }
        std::copy(bytes + start, bytes + count,
                  buffer_.bytes.begin() + static_cast<std::ptrdiff_t>(buffer_.fill));
        buffer_.fill += count - start;
        break;
    }
    if (lineEnd)
        poster_.Post(ThreadMessage::kNetLines);
    return StoreResult::kStored;
}

void CNetManager::DropPartialLine() {
    auto lock = TimedLock(buffer_.mutex);
    discarding_ = false;
    if (!lock.owns_lock())
        return;
    TrimToLastLineEnd(buffer_);
}

// ---- Write thread ----

void CNetManager::WriteLoop() {
    std::unique_lock lock(queueMutex_);
    for (;;) {
        queueChanged_.wait(lock, [this] { return stopWrite_ || !queue_.empty(); });
        if (stopWrite_)
            break;
        writing_ = true;
        std::string text = std::move(queue_.front());
        queue_.pop_front();
        const std::shared_ptr<Socket> socket = socket_;
        lock.unlock();

        if (exiting_ == nullptr || !exiting_->load())
            poster_.Post(ThreadMessage::kEchoLine, "NET>" + text);
        if (text.size() > kMaxSendChars)
            text.resize(kMaxSendChars);
        // A failed send needs nothing here: the read thread sees the broken link.
        if (socket)
            SendAll(socket->fd, text);

        lock.lock();
        writing_ = false;
        queueChanged_.notify_all();
    }
    writing_ = false;
    writerRunning_ = false;
    queueChanged_.notify_all();
}

bool CNetManager::SendAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n >= 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        pollfd fds[2] = {{fd, POLLOUT, 0}, {wakeFd_, POLLIN, 0}};
        if (PollFor(fds, 2, Ms(-1)) < 0 || stop_)
            return false;
    }
    return true;
}

}  // namespace plovane
