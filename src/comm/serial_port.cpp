// The serial port driver: device set-up, the read and write threads, and the open/close
// protocol.
#include "comm/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <system_error>

#include "comm/event_fd.h"
#include "comm/serial_line.h"
#include "comm/tnc_file.h"
#include "core/latin1.h"
#include "core/timed_lock.h"

namespace plovane {
namespace {

bool HasLineEnd(const uint8_t* data, size_t length) {
    return std::any_of(data, data + length, [](uint8_t b) { return b == '\r' || b == '\n'; });
}

}  // namespace

bool ValidSerialParameters(const SerialParameters& p) {
    return p.baudRate != 0 && (p.dataBits == 7 || p.dataBits == 8) && !p.portName.empty() &&
           !p.parity.empty() && !p.stopBits.empty();
}

std::string SerialDevicePath(std::string_view portName) {
    const std::string_view name = latin1::Trim(portName);
    if (name.size() >= 5 && latin1::ToUpper(name.substr(0, 3)) == "COM" && name.back() == ':') {
        const std::string_view digits = name.substr(3, name.size() - 4);
        const bool allDigits = !digits.empty() && digits.size() <= 6 &&
                               std::all_of(digits.begin(), digits.end(), [](char c) {
                                   return latin1::IsDigit(static_cast<unsigned char>(c));
                               });
        if (allDigits) {
            const long number = std::stol(std::string(digits));
            if (number >= 1)
                return "/dev/ttyS" + std::to_string(number - 1);
        }
    }
    return std::string(portName);
}

CSerialPort::CSerialPort(ThreadPoster& poster, NoticeSink& notices, std::string role,
                         std::string mutexName, std::string eventName)
    : poster_(poster),
      notices_(notices),
      role_(std::move(role)),
      eventName_(std::move(eventName)),
      buffer_(ReceiveBuffer::kSerialCapacity, std::move(mutexName)) {}

CSerialPort::~CSerialPort() {
    StopThreads();
    if (wakeFd_ >= 0)
        close(wakeFd_);
}

OpenResult CSerialPort::CreateObjects() {
    if (wakeFd_ < 0)
        wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0)
        return {false,
                role_ + " port: Unable to create serial write event.  \"" + eventName_ + "\""};
    return {true, {}};
}

void CSerialPort::LoadSettings(const Profile& /*profile*/) {}

int CSerialPort::ScaledMs(int ms) const {
    if (ms <= 0)
        return 0;
    return static_cast<int>(ms * delayScale_ + 0.5);
}

OpenResult CSerialPort::Failed(const std::string& text) {
    error_ = true;
    return {false, role_ + " port: " + text};
}

void CSerialPort::Wake() {
    SignalEventFd(wakeFd_);
}

void CSerialPort::DrainWake() {
    DrainEventFd(wakeFd_);
}

OpenResult CSerialPort::Open() {
    // Threads left over from a failure have ended by now (or are about to); collect them.
    StopThreads();
    stopRead_ = false;
    failed_ = false;
    open_ = false;
    error_ = false;
    {
        std::lock_guard lock(queueMutex_);
        queue_.clear();
        stopWrite_ = false;
        writing_ = false;
    }
    discarding_ = false;
    {
        const auto lock = TimedLock(buffer_.mutex);
        if (lock.owns_lock())
            buffer_.fill = 0;
    }

    if (!parameters_.enabled)
        return {};
    if (!ValidSerialParameters(parameters_))
        return Failed("Invalid serial port parameters.");
    if (OpenResult objects = CreateObjects(); objects.failed()) {
        error_ = true;
        return objects;
    }
    DrainWake();

    // Non-blocking while opening, so a modem device does not wait for carrier.
    const std::string device = SerialDevicePath(parameters_.portName);
    int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // Exclusive: a lock against other programs that lock (and a second copy of this one),
    // and the terminal's own exclusive mode against any other opener.
    if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        close(fd);
        fd = -1;
        errno = code;
    }
    if (fd < 0) {
        const int code = errno;
        return Failed("Unable to open serial port " + parameters_.portName +
                      " (Error code: " + std::to_string(code) + "): " + std::strerror(code));
    }
    ioctl(fd, TIOCEXCL);  // not a terminal: the line settings below fail
    const int flags = fcntl(fd, F_GETFL);
    if (!serial::ConfigureLine(fd, parameters_) || flags < 0 ||
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return Failed("Unable to set communications parameters.");
    }

    {
        std::lock_guard lock(deviceMutex_);
        fd_ = fd;
    }
    // Both count as running from the start, so a reader that fails at once cannot release
    // the device before the writer has it.
    runningThreads_ = 2;
    {
        std::lock_guard lock(queueMutex_);
        writerRunning_ = true;
    }
    try {
        readThread_ = std::thread([this, fd] { ReadLoop(fd); });
    } catch (const std::system_error&) {
        runningThreads_ = 0;
        StopThreads();
        return Failed("Unable to start serial read thread.");
    }
    try {
        writeThread_ = std::thread([this, fd] { WriteLoop(fd); });
    } catch (const std::system_error&) {
        ThreadEnded();
        StopThreads();
        return Failed("Unable to start serial write thread.");
    }

    open_ = true;
    if (failed_) {
        // The line failed at once; the threads are ending and the host has been told.
        open_ = false;
        return {};
    }
    SendWakeUp();
    SendInitFile();
    SendInitCommands();
    return {true, {}};
}

void CSerialPort::Close() {
    bool writerRunning = false;
    {
        std::lock_guard lock(queueMutex_);
        writerRunning = writerRunning_;
    }
    if (open_ && writerRunning) {
        SendBreak();
        SendRestoreFile();
        SendMonitorOff();
        // The closing sequence goes out before the threads stop; a writer that fails
        // meanwhile ends the wait.
        std::unique_lock lock(queueMutex_);
        queueChanged_.wait_for(lock, std::chrono::milliseconds(ScaledMs(kDrainLimitMs)),
                               [this] { return (queue_.empty() && !writing_) || !writerRunning_; });
    }
    // Threads that ended on a failure are only collected; no settling pause is needed then.
    const bool running = runningThreads_ > 0;
    StopThreads();
    // Give the device a moment before it may be opened again.
    if (running)
        std::this_thread::sleep_for(std::chrono::milliseconds(ScaledMs(500)));
    open_ = false;
    error_ = false;
}

void CSerialPort::StopThreads() {
    stopRead_ = true;
    {
        std::lock_guard lock(queueMutex_);
        stopWrite_ = true;
    }
    queueChanged_.notify_all();
    Wake();
    if (readThread_.joinable())
        readThread_.join();
    if (writeThread_.joinable())
        writeThread_.join();
    {
        std::lock_guard lock(queueMutex_);
        queue_.clear();
        writing_ = false;
        writerRunning_ = false;
    }
    CloseDevice();
}

void CSerialPort::CloseDevice() {
    std::lock_guard lock(deviceMutex_);
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
}

void CSerialPort::ThreadEnded() {
    // The last thread out releases the device, so a failed port frees it at once.
    if (--runningThreads_ == 0)
        CloseDevice();
}

void CSerialPort::Fail() {
    // failed_ first: Open, which sets open_ after starting the threads, looks at it.
    const bool first = !failed_.exchange(true);
    stopRead_ = true;
    {
        std::lock_guard lock(queueMutex_);
        stopWrite_ = true;
    }
    queueChanged_.notify_all();
    Wake();
    open_ = false;
    error_ = true;
    if (first)
        poster_.Post(ThreadMessage::kPortStatus);
}

void CSerialPort::QueueText(const std::string& text, int delayBeforeMs, int delayAfterMs) {
    if (text.size() > kMaxRequestChars || !open_)
        return;
    {
        std::lock_guard lock(queueMutex_);
        if (stopWrite_)
            return;
        queue_.push_back({text, delayBeforeMs, delayAfterMs});
    }
    queueChanged_.notify_all();
}

void CSerialPort::ExecuteCommandFile(const std::string& path, std::string_view section) {
    if (path.empty() || path == "None")
        return;
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    if (!in || !TncFileSectionLines(in, section, lines)) {
        notices_.ShowNotice("Unable to read TNC command file " + path);
        return;
    }
    for (const std::string& line : lines)
        QueueText(line, 500, 0);
}

// ---- Read thread ----

void CSerialPort::ReadLoop(int fd) {
    uint8_t chunk[kReadChunkBytes];
    while (!stopRead_) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            Fail();
            break;
        }
        if (fds[1].revents != 0 || stopRead_)
            break;
        if ((fds[0].revents & POLLIN) == 0) {
            // Hung up or in error without data to read.
            Fail();
            break;
        }
        // Gather one chunk: the termios time-out ends each read after 100 ms of silence.
        size_t length = 0;
        bool failed = false;
        while (length < kReadChunkBytes && !stopRead_) {
            const ssize_t n = read(fd, chunk + length, kReadChunkBytes - length);
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (n < 0 || (n == 0 && length == 0)) {
                // Readable but nothing to read is the end of the line (hang-up).
                failed = true;
                break;
            }
            if (n == 0)
                break;
            length += static_cast<size_t>(n);
        }
        if (length > 0 && StoreChunk(chunk, length) && inputHandler_)
            inputHandler_();
        if (failed) {
            Fail();
            break;
        }
    }
    ThreadEnded();
}

bool CSerialPort::StoreChunk(const uint8_t* data, size_t length) {
    // Received NUL bytes are discarded.
    uint8_t bytes[kReadChunkBytes];
    size_t count = 0;
    for (size_t i = 0; i < length && count < sizeof bytes; ++i) {
        if (data[i] != 0)
            bytes[count++] = data[i];
    }
    const bool lineEnd = HasLineEnd(bytes, count);

    const auto lock = TimedLock(buffer_.mutex, std::chrono::milliseconds(1000));
    if (!lock.owns_lock())
        return lineEnd;

    if (buffer_.fill + count >= buffer_.capacity() &&
        !HasLineEnd(buffer_.bytes.data(), buffer_.fill)) {
        // No monitor line is this long: the buffer holds the start of a line that never
        // ended. Drop it and the rest of that line, or the port would take nothing more.
        buffer_.fill = 0;
        discarding_ = true;
    }
    size_t start = 0;
    if (discarding_) {
        while (start < count && bytes[start] != '\r' && bytes[start] != '\n')
            ++start;
        if (start < count)
            discarding_ = false;
        while (start < count && (bytes[start] == '\r' || bytes[start] == '\n'))
            ++start;
    }
    const size_t kept = count - start;
    // Lines wait for the intake; while they do, a chunk that does not fit is dropped whole.
    if (kept > 0 && buffer_.fill + kept < buffer_.capacity()) {
        std::copy(bytes + start, bytes + count, buffer_.bytes.begin() + buffer_.fill);
        buffer_.fill += kept;
    }
    return lineEnd;
}

// ---- Write thread ----

void CSerialPort::WriteLoop(int fd) {
    std::unique_lock lock(queueMutex_);
    while (!stopWrite_) {
        queueChanged_.wait(lock, [this] { return stopWrite_ || !queue_.empty(); });
        bool ok = true;
        while (!stopWrite_ && !queue_.empty()) {
            writing_ = true;
            const WriteRequest request = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            ok = SendRequest(fd, request);
            lock.lock();
            if (!ok)
                break;
        }
        writing_ = false;
        queueChanged_.notify_all();
        if (!ok) {
            lock.unlock();
            Fail();
            lock.lock();
            break;
        }
    }
    writerRunning_ = false;
    queueChanged_.notify_all();
    lock.unlock();
    ThreadEnded();
}

bool CSerialPort::PauseWriter(int ms) {
    std::unique_lock lock(queueMutex_);
    if (ms > 0) {
        queueChanged_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopWrite_; });
    }
    return !stopWrite_;
}

bool CSerialPort::SendRequest(int fd, const WriteRequest& request) {
    // A stop during a pause abandons the request; only a failed write is a failure.
    if (!PauseWriter(ScaledMs(request.delayBeforeMs)))
        return true;
    if (exiting_ == nullptr || !exiting_->load()) {
        poster_.Post(ThreadMessage::kEchoLine, "TNC>" + request.text);
    }
    if (!WriteAll(fd, request.text))
        return false;
    PauseWriter(ScaledMs(request.delayAfterMs));
    return true;
}

bool CSerialPort::WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        pollfd fds[2] = {{fd, POLLOUT, 0}, {wakeFd_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (fds[1].revents != 0)
            return true;  // Close or a read failure: give up quietly
        if ((fds[0].revents & POLLOUT) == 0)
            return false;
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace plovane
