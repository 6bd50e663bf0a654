// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port driver: device set-up, received bytes to lines, and the open/close
// protocol.
#include "comm/serial_port.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "comm/serial_line.h"
#include "comm/tnc_file.h"
#include "core/latin1.h"

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
    link_.Stop(std::chrono::milliseconds(0));
}

OpenResult CSerialPort::CreateObjects() {
    if (!link_.CreateWakeEvent())
        return {false,
                role_ + " port: Unable to create serial write event.  \"" + eventName_ + "\""};
    return {true, {}};
}

int CSerialPort::ScaledMs(int ms) const {
    if (ms <= 0)
        return 0;
    return static_cast<int>(ms * delayScale_ + 0.5);
}

OpenResult CSerialPort::Failed(const std::string& text) {
    error_ = true;
    return {false, role_ + " port: " + text};
}

OpenResult CSerialPort::Open() {
    // A worker left over from a failure has ended by now; collect it.
    link_.Stop(std::chrono::milliseconds(0));
    error_ = false;
    discarding_ = false;
    {
        const std::lock_guard lock(buffer_.mutex);
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

    // Non-blocking, so a modem device does not wait for carrier and the worker's reads and
    // writes never block.
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
    if (!serial::ConfigureLine(fd, parameters_)) {
        close(fd);
        return Failed("Unable to set communications parameters.");
    }

    PortHandlers handlers;
    handlers.received = [this](const uint8_t* data, size_t length) { Received(data, length); };
    handlers.lost = [this](const std::string&) { Fail(); };
    handlers.writing = [this](const std::string& text) {
        if (!sink_.Ending())
            poster_.Post(ThreadMessage::kEchoLine, "TNC>" + text);
    };
    PortTimings timings;
    timings.reconnect = false;  // a serial line that fails stays failed until reopened
    if (!link_.Start({}, std::move(handlers), timings, fd))
        return Failed("Unable to start serial read thread.");
    SendWakeUp();
    SendInitFile();
    SendInitCommands();
    return {true, {}};
}

void CSerialPort::Close() {
    const bool running = link_.IsRunning();
    if (link_.IsOpen()) {
        SendBreak();
        SendRestoreFile();
        SendMonitorOff();
    }
    // The closing sequence goes out before the worker stops; a worker that fails meanwhile
    // ends the wait. One that ended on a failure is only collected.
    link_.Stop(std::chrono::milliseconds(ScaledMs(kDrainLimitMs)));
    // Give the device a moment before it may be opened again.
    if (running && !error_)
        std::this_thread::sleep_for(std::chrono::milliseconds(ScaledMs(500)));
    error_ = false;
}

void CSerialPort::Fail() {
    error_ = true;
    poster_.Post(ThreadMessage::kPortStatus);
}

void CSerialPort::QueueText(const std::string& text, int delayBeforeMs, int delayAfterMs) {
    if (text.size() > kMaxRequestChars)
        return;
    link_.Send(text, ScaledMs(delayBeforeMs), ScaledMs(delayAfterMs));
}

void CSerialPort::ExecuteCommandFile(const std::string& path, std::string_view section) {
    for (const std::string& line : TncCommandFileLines(path, section, notices_))
        QueueText(line, 500, 0);
}

// ---- Received bytes ----

void CSerialPort::Received(const uint8_t* data, size_t length) {
    bool lineEnd = false;
    for (size_t done = 0; done < length; done += kReadChunkBytes)
        lineEnd |= StoreChunk(data + done, std::min(kReadChunkBytes, length - done));
    if (lineEnd)
        LinesArrived();
}

void CSerialPort::LinesArrived() {
    DrainLines(buffer_, [this](std::string_view line) { sink_.Put(line, link_.FeedToken()); });
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

    const std::lock_guard lock(buffer_.mutex);

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
    // Complete lines leave at once, so only a line that never ends fills the buffer; a chunk
    // that does not fit meanwhile is dropped whole.
    if (kept > 0 && buffer_.fill + kept < buffer_.capacity()) {
        std::copy(bytes + start, bytes + count, buffer_.bytes.begin() + buffer_.fill);
        buffer_.fill += kept;
    }
    return lineEnd;
}

}  // namespace plovane
