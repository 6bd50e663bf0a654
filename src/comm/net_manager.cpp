// SPDX-License-Identifier: GPL-3.0-or-later
// The APRS-IS client: the open/close protocol, the login and held texts around each
// connection, and storing what the server sends.
#include "comm/net_manager.h"

#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <iterator>

#include "comm/passcode.h"
#include "core/latin1.h"
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

}  // namespace

std::string NetLoginLine(std::string_view myCall, std::string_view filter) {
    std::string line = "user " + std::string(myCall) + " pass " +
                       std::to_string(AprsPasscode(myCall)) + " vers " + kProgramName + " " +
                       kVersionText;
    // The filter is one line's worth of text: a stray line end would start a second command.
    filter = filter.substr(0, filter.find_first_of("\r\n"));
    filter = latin1::Trim(filter);
    if (!filter.empty())
        line += " filter " + std::string(filter);
    return line + "\r\n";
}

std::string MaskPasscode(std::string_view text) {
    constexpr std::string_view kPass = " pass ";
    const size_t pass = text.find(kPass);
    if (!text.starts_with("user ") || pass == std::string_view::npos)
        return std::string(text);
    const size_t start = pass + kPass.size();
    const size_t end = std::min(text.find_first_of(" \r\n", start), text.size());
    return std::string(text.substr(0, start)) + "*****" + std::string(text.substr(end));
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
    StopLink(Ms(0));
}

OpenResult CNetManager::CreateObjects() {
    lastError_ = 0;
    if (!link_.CreateWakeEvent())
        return {false, "Unable to create network write event.  \"" + eventName_ + "\""};
    return {true, {}};
}

std::string CNetManager::StatusText() const {
    std::string text;
    if (open_ && unverified_) {
        std::lock_guard lock(mutex_);
        text = "[Unverified] The server refused the passcode, receive only (" + loginAnswer_ + ") ";
    } else if (open_)
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

OpenResult CNetManager::Open() {
    // A link that ended on a failure is collected first.
    StopLink(Ms(0));
    started_ = false;
    open_ = false;
    pending_ = false;
    error_ = false;
    fd_ = -1;
    lookupFailed_ = false;
    discarding_ = false;
    unverified_ = false;
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
        loggedIn_ = false;
        held_.clear();
        loginAnswer_.clear();
    }

    if (!loaded_.enabled)
        return {};
    const std::string host = HostName(loaded_.hostAddress);
    const std::string port = PortNumber(loaded_.hostPort);
    if (host.empty() || port.empty()) {
        error_ = true;
        return {false, "Invalid network connection parameters."};
    }
    if (OpenResult objects = CreateObjects(); objects.failed()) {
        error_ = true;
        return objects;
    }
    const std::string login = NetLoginLine(myCall_, loaded_.netFilter);
    const bool autoReconnect = loaded_.autoReconnect;
    const NetTimings timings = timings_;

    PortHandlers handlers;
    handlers.opened = [this, login] { Opened(login); };
    handlers.received = [this](const uint8_t* data, size_t length) { Received(data, length); };
    // A silent server is tried again even without auto-reconnect: nothing said it went away.
    handlers.lost = [this, autoReconnect](const std::string& reason) {
        Lost(autoReconnect || reason == CPortThread::kSilentReason);
    };
    handlers.writing = [this](const std::string& text) {
        if (!sink_.Ending())
            poster_.Post(ThreadMessage::kEchoLine, "NET>" + MaskPasscode(text));
    };
    handlers.unsent = [this, login](std::vector<std::string>&& texts) {
        Unsent(std::move(texts), login);
    };
    // A fixed pause between attempts: a server that drops us at once is not hammered.
    PortTimings portTimings;
    portTimings.retryFirst = timings.retryInterval;
    portTimings.retryMax = timings.retryInterval;
    portTimings.drainLimit = timings.closeDrainLimit;
    portTimings.reconnect = autoReconnect;
    portTimings.silenceLimit = timings.silenceLimit;

    SetState(false, true, false);
    const auto opener = [this, host, port, timings](int wakeFd, std::string& error) {
        return OpenLink(wakeFd, host, port, timings.connectTimeout, error);
    };
    if (!link_.Start(opener, std::move(handlers), portTimings)) {
        SetState(false, false, true);
        return {false, "Unable to start network read thread."};
    }
    started_ = true;
    return {true, {}};
}

void CNetManager::Close() {
    StopLink(timings_.closeDrainLimit);
    open_ = false;
    pending_ = false;
    error_ = false;
    if (started_)
        poster_.Post(ThreadMessage::kPortStatus);
    started_ = false;
}

void CNetManager::StopLink(Ms drainLimit) {
    {
        std::lock_guard lock(mutex_);
        // Texts already queued may still go out.
        stop_ = true;
        loggedIn_ = false;
        held_.clear();
    }
    link_.Stop(drainLimit);
}

void CNetManager::QueueText(const std::string& text, int /*delayBeforeMs*/, int /*delayAfterMs*/) {
    std::string cut = text.substr(0, kMaxSendChars);
    // Servers read lines ending CR LF; ours end in CR (the TNC's convention).
    if (const size_t end = cut.find_last_not_of("\r\n") + 1; end < cut.size()) {
        cut.resize(end);
        cut += "\r\n";
    }
    bool droppedHeld = false;
    {
        std::lock_guard lock(mutex_);
        if (stop_ || !link_.IsRunning())
            return;
        // Refused while the queue is full, or by a link that just broke: then it is held.
        if (loggedIn_ && (link_.Send(cut) || link_.IsOpen()))
            return;
        // Connecting: an ack or a message sent now must not be lost.
        if (held_.size() >= kMaxHeldTexts) {
            held_.pop_front();
            droppedHeld = true;
        }
        held_.push_back(cut);
    }
    if (droppedHeld)
        notices_.ShowNotice("APRS-IS not connected: the oldest waiting text was dropped.");
}

int CNetManager::OpenLink(int wakeFd, const std::string& host, const std::string& port, Ms timeout,
                          std::string& error) {
    // Looked up afresh for every attempt: a rotating host name then leads away from a
    // server that has gone down.
    int code = 0;
    fd_ = ConnectTcp(host, port, wakeFd, timeout, error, &code);
    lookupFailed_ = fd_ < 0 && code < 0;
    if (fd_ >= 0) {
        DropPartialLine();
        serverLine_.clear();
    } else if (code != ECANCELED)
        lastError_ = code;
    return fd_;
}

void CNetManager::Opened(const std::string& loginLine) {
    {
        // The login goes first on every connection, then what was held, oldest first.
        std::lock_guard lock(mutex_);
        link_.Send(loginLine);
        for (std::string& text : held_)
            link_.Send(std::move(text));
        held_.clear();
        loggedIn_ = true;
    }
    // Connected, but not open until the server answers the login.
    SetState(false, true, false);
}

void CNetManager::LoginAnswered(std::string_view answer) {
    // "# logresp CALL verified, server T2XYZ", or "unverified" when the passcode was refused.
    answer.remove_prefix(std::min(answer.size(), answer.find_first_not_of(' ', 10)));
    const size_t word = std::min(answer.find(' '), answer.size());
    std::string_view rest = latin1::Trim(answer.substr(word));
    const bool verified = rest.starts_with("verified");
    {
        std::lock_guard lock(mutex_);
        loginAnswer_ = std::string(rest);
    }
    unverified_ = !verified;
    SetState(true, false, !verified);
    if (!verified) {
        notices_.ShowNotice("APRS-IS: the server refused the passcode, receive only (" +
                            std::string(rest) + ").");
    }
}

void CNetManager::ReadServerLines(const uint8_t* data, size_t length) {
    constexpr size_t kLongestAnswer = 256;
    for (size_t i = 0; i < length; ++i) {
        if (!IsLineEnd(data[i])) {
            if (serverLine_.size() < kLongestAnswer)
                serverLine_.push_back(static_cast<char>(data[i]));
            continue;
        }
        if (serverLine_.starts_with("# logresp ") && !open_)
            LoginAnswered(serverLine_);
        serverLine_.clear();
    }
}

void CNetManager::Lost(bool autoReconnect) {
    {
        std::lock_guard lock(mutex_);
        loggedIn_ = false;
    }
    unverified_ = false;
    // A host name that does not resolve is an error even while retrying: it will not fix
    // itself the way a busy server might.
    if (!autoReconnect)
        SetState(false, false, true);
    else
        SetState(false, !lookupFailed_, lookupFailed_);
}

void CNetManager::Unsent(std::vector<std::string>&& texts, const std::string& loginLine) {
    // Texts not yet sent wait for the next connection (not the old login line).
    auto first = texts.begin();
    if (first != texts.end() && *first == loginLine)
        ++first;
    std::lock_guard lock(mutex_);
    held_.insert(held_.begin(), std::make_move_iterator(first),
                 std::make_move_iterator(texts.end()));
    while (held_.size() > kMaxHeldTexts)
        held_.pop_front();
}

void CNetManager::Received(const uint8_t* data, size_t length) {
    ReadServerLines(data, length);
    for (size_t at = 0; at < length; at += kReadChunkBytes) {
        switch (StoreChunk(data + at, std::min(kReadChunkBytes, length - at))) {
            case StoreResult::kStored:
                break;
            case StoreResult::kStopped:
                return;
        }
    }
}

CNetManager::StoreResult CNetManager::StoreChunk(const uint8_t* data, size_t length) {
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
    {
        const std::lock_guard lock(buffer_.mutex);
        if (buffer_.fill + count >= buffer_.capacity()) {
            // Complete lines never wait here, so a full buffer holds the start of a line that
            // never ended: no monitor line is this long. Drop it and the rest of that line,
            // or the link would take nothing more.
            buffer_.fill = 0;
            discarding_ = true;
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
    }
    if (!lineEnd)
        return StoreResult::kStored;
    // Each complete line goes on the road at once; a full queue holds the reader here, and
    // the server waits for us.
    bool taken = true;
    DrainLines(buffer_,
               [&](std::string_view line) { taken = sink_.Put(line, link_.FeedToken()) && taken; });
    return taken || sink_.queue == nullptr ? StoreResult::kStored : StoreResult::kStopped;
}

void CNetManager::DropPartialLine() {
    const std::lock_guard lock(buffer_.mutex);
    discarding_ = false;
    TrimToLastLineEnd(buffer_);
}

}  // namespace plovane
