// SPDX-License-Identifier: GPL-3.0-or-later
// The KISS TNC port: opening serial and TCP links, frames in and out.
#include "comm/kiss_port.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "comm/ax25.h"
#include "comm/serial_line.h"
#include "comm/serial_port.h"
#include "comm/tnc_file.h"
#include "core/latin1.h"

namespace plovane {
namespace {

constexpr std::chrono::milliseconds kConnectTimeout{10000};

std::string Bytes(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Opens a serial KISS TNC like the text-mode port does: exclusive, raw, but non-blocking.
int OpenSerial(const CTncSettings& tnc, std::string& error) {
    const std::string device = SerialDevicePath(tnc.port);
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        error = "Unable to open serial port " + tnc.port + " (Error code: " + std::to_string(code) +
                "): " + std::strerror(code);
        return -1;
    }
    const SerialParameters p = SerialParametersOf(tnc, true);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = "Serial port " + tnc.port + " is in use.";
        close(fd);
        return -1;
    }
    ioctl(fd, TIOCEXCL);
    if (!serial::ConfigureLine(fd, p)) {
        error = "Unable to set communications parameters.";
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::string ValidTcpPort(std::string_view text) {
    text = latin1::Trim(text);
    if (text.empty() || text.size() > 5)
        return {};
    long port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return {};
        port = port * 10 + (c - '0');
    }
    return port >= 1 && port <= 65535 ? std::to_string(port) : std::string();
}

CKissPort::CKissPort(ThreadPoster& poster, NoticeSink& notices)
    : poster_(poster), notices_(notices) {}

CKissPort::~CKissPort() {
    link_.Stop();
}

void CKissPort::SetStationSettings(const CStationSettings& settings) {
    std::lock_guard lock(settingsMutex_);
    station_ = settings;
}

OpenResult CKissPort::Open() {
    link_.Stop();
    deframer_.Reset();
    {
        std::lock_guard lock(heldMutex_);
        held_.clear();
    }
    active_ = tnc_;
    channel_ = static_cast<uint8_t>(active_.kissChannel & 0x0F);
    if (!active_.enabled || !active_.IsKiss())
        return {};
    PortOpener opener;
    if (active_.mode == kTncKissTcp) {
        const std::string host = std::string(latin1::Trim(active_.kissHost));
        const std::string port = ValidTcpPort(active_.kissPort);
        if (host.empty() || port.empty())
            return {false, "KISS TNC: Invalid network connection parameters."};
        opener = [host, port](int wakeFd, std::string& error) {
            return ConnectTcp(host, port, wakeFd, kConnectTimeout, error);
        };
    } else {
        if (latin1::Trim(active_.port).empty())
            return {false, "KISS TNC: Invalid serial port parameters."};
        const CTncSettings tnc = active_;
        opener = [tnc](int, std::string& error) { return OpenSerial(tnc, error); };
    }
    PortHandlers handlers;
    handlers.opened = [this] { Opened(); };
    handlers.received = [this](const uint8_t* data, size_t length) { Received(data, length); };
    handlers.lost = [this](const std::string&) {
        deframer_.Reset();
        TellDropped();
        poster_.Post(ThreadMessage::kPortStatus);
    };
    if (!link_.Start(std::move(opener), std::move(handlers), timings_))
        return {false, "KISS TNC: Unable to start the port thread."};
    return {true, {}};
}

void CKissPort::Close() {
    if (!link_.IsRunning())
        return;
    if (link_.IsOpen() && active_.mode == kTncKissSerial && !active_.tncCommandFile.empty()) {
        // Back to text mode for the next program: KISS exit, then the restore commands.
        link_.Send(Bytes(KissFrame(0, kiss::kReturn, nullptr, 0)), 0);
        QueueCommandFile("RESTORE");
    }
    link_.Stop();
    {
        std::lock_guard lock(heldMutex_);
        held_.clear();
    }
    // The thread has ended: what it had not told of yet is told now.
    TellDropped();
    poster_.Post(ThreadMessage::kPortStatus);
}

void CKissPort::QueueCommandFile(std::string_view section) {
    for (const std::string& line : TncCommandFileLines(active_.tncCommandFile, section, notices_))
        link_.Send(line, 500);
}

void CKissPort::Opened() {
    deframer_.Reset();
    // A serial TNC that starts in text mode is switched to KISS by its command file.
    if (active_.mode == kTncKissSerial)
        QueueCommandFile("KISS");
    const uint8_t channel = channel_.load();
    const std::pair<uint8_t, int32_t> parameters[] = {
        {kiss::kTxDelay, active_.kissTxDelay},
        {kiss::kPersistence, active_.kissPersistence},
        {kiss::kSlotTime, active_.kissSlotTime},
        {kiss::kFullDuplex, active_.kissFullDuplex},
    };
    for (const auto& [command, value] : parameters) {
        if (value < 0 || value > 255)
            continue;
        const uint8_t byte = static_cast<uint8_t>(value);
        link_.Send(Bytes(KissFrame(channel, command, &byte, 1)));
    }
    {
        // Frames queued while the link was being made, oldest first.
        std::lock_guard lock(heldMutex_);
        for (const auto& [frame, monitorLine] : held_) {
            if (link_.Send(frame))
                PostEcho(monitorLine);
        }
        held_.clear();
    }
    poster_.Post(ThreadMessage::kPortStatus);
}

void CKissPort::FrameDropped(const std::string& reason) {
    ++dropped_;
    ++untold_;
    untoldReason_ = reason;
    // The first of a run at once; then a count, at most once per interval.
    if (std::chrono::steady_clock::now() >= nextDropNotice_)
        TellDropped();
}

void CKissPort::TellDropped() {
    if (untold_ == 0)
        return;
    if (untold_ == 1)
        notices_.ShowNotice("KISS frame dropped: " + untoldReason_);
    else
        notices_.ShowNotice("KISS frames dropped: " + std::to_string(untold_) +
                            " (the last: " + untoldReason_ + ")");
    untold_ = 0;
    nextDropNotice_ = std::chrono::steady_clock::now() + kDropNoticeInterval;
}

void CKissPort::PostEcho(const std::string& monitorLine) {
    if (!sink_.Ending())
        poster_.Post(ThreadMessage::kEchoLine, "TNC>" + monitorLine);
}

void CKissPort::Received(const uint8_t* data, size_t length) {
    const size_t droppedBefore = deframer_.framesDropped();
    deframer_.Feed(data, length, [this](uint8_t, const uint8_t* frame, size_t size) {
        Ax25Frame decoded;
        const Ax25Error error = DecodeAx25(frame, size, decoded);
        if (error != Ax25Error::kNone) {
            FrameDropped(Ax25ErrorText(error));
            return;
        }
        ++received_;
        // A monitor line ends at the first line end, as a text-mode TNC's line would; what
        // follows it would have been split off as a line of its own there, and is left out.
        std::string line = Ax25MonitorLine(decoded);
        line.resize(std::min(line.size(), line.find_first_of("\r\n")));
        sink_.Put(line, link_.FeedToken());
    });
    for (size_t framing = deframer_.framesDropped() - droppedBefore; framing > 0; --framing)
        FrameDropped("bad framing");
    // A count held back is told once its interval is over, with the next bytes that arrive.
    if (untold_ > 0 && std::chrono::steady_clock::now() >= nextDropNotice_)
        TellDropped();
}

void CKissPort::QueueText(const std::string& text, int /*delayBeforeMs*/, int /*delayAfterMs*/) {
    std::string_view info(text);
    while (!info.empty() && (info.back() == '\r' || info.back() == '\n'))
        info.remove_suffix(1);
    Ax25Frame frame;
    bool built = false;
    {
        std::lock_guard lock(settingsMutex_);
        built =
            BuildUiFrame(station_.MyCall, station_.destination, station_.UIDigiPath, info, frame);
    }
    if (!built) {
        notices_.ShowNotice("KISS TNC: the call, destination or path is not valid for AX.25.");
        return;
    }
    SendFrame(frame);
}

bool CKissPort::QueueMonitorLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    Ax25Frame frame;
    if (!ParseMonitorLine(line, frame))
        return false;
    return SendFrame(frame);
}

bool CKissPort::SendFrame(const Ax25Frame& frame) {
    std::string bytes = Bytes(KissDataFrame(channel_.load(), EncodeAx25(frame)));
    std::string monitorLine = Ax25MonitorLine(frame);
    {
        // Opened sends what is held under this lock: a frame is either sent or held for it.
        std::lock_guard lock(heldMutex_);
        if (!link_.Send(bytes)) {
            if (link_.IsOpen() || !link_.IsRunning())
                return false;  // a full queue, or no link under way
            if (held_.size() >= kMaxHeldFrames)
                held_.pop_front();
            held_.emplace_back(std::move(bytes), std::move(monitorLine));
            return true;
        }
    }
    PostEcho(monitorLine);
    return true;
}

}  // namespace plovane
