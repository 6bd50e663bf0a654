// SPDX-License-Identifier: GPL-3.0-or-later
// The APRS-IS client: one TCP connection to a server, run by a port thread. The thread
// connects, sends the login line and then the queued texts, gathers what the server sends in
// its line sink (the line queue), complete lines only, and, when
// asked to, reconnects after the link breaks.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "comm/net_settings.h"
#include "comm/open_result.h"
#include "comm/port_thread.h"
#include "comm/receive_buffer.h"
#include "core/line_queue.h"
#include "core/output_port.h"
#include "core/sinks.h"

namespace plovane {

// The waits of the client. The program uses the defaults; tests shorten them.
struct NetTimings {
    // Pause before every new connection attempt after a failure or a broken link.
    std::chrono::milliseconds retryInterval{2500};
    // How long one address may take to accept the connection before the next is tried.
    std::chrono::milliseconds connectTimeout{15000};
    // How long Close lets queued texts go out before it stops the thread.
    std::chrono::milliseconds closeDrainLimit{15000};
    // Servers send a "#" line about every 20 s: a link silent this long is dead, and is
    // connected again.
    std::chrono::milliseconds silenceLimit{120000};
};

// The login line: "user CALL pass PASSCODE vers Plovane 1.02", then " filter TEXT" when a
// filter is set, and CR LF.
std::string NetLoginLine(std::string_view myCall, std::string_view filter);

// The text with the passcode of a login line masked ("pass *****"), for showing it.
std::string MaskPasscode(std::string_view text);

// Thread-safe: Open, Close and the setters belong to one controlling thread
// (the user-interface thread); QueueText, IsOpen and the status reads may come from any
// thread. The mutex guards the texts held for a connection and whether the login has gone
// out; the receive buffer has its own mutex; the flags are atomics. Lock order: this
// mutex, then the port thread's.
class CNetManager final : public OutputPort {
  public:
    static constexpr size_t kReadChunkBytes = 511;   // most bytes one receive hands on
    static constexpr size_t kMaxSendChars = 1023;    // longer texts are cut to this
    static constexpr size_t kMaxQueuedTexts = 1000;  // more wait to be sent: new ones dropped
    // Texts queued while a connection is being made wait for it, up to this many; the
    // oldest is dropped (with a notice) to make room.
    static constexpr size_t kMaxHeldTexts = 200;

    // Port status, received lines and echo lines are posted; notices tell of held texts
    // dropped.
    CNetManager(ThreadPoster& poster, NoticeSink& notices,
                std::string mutexName = "PLOVANE_NET_MUTEX",
                std::string eventName = "PLOVANE_NET_EVENT");
    ~CNetManager() override;
    CNetManager(const CNetManager&) = delete;
    CNetManager& operator=(const CNetManager&) = delete;

    // Clears the last error code and creates the event that wakes the worker thread out of
    // its waits (Open calls it when needed). On failure the text is "Unable to create
    // network write event.  " with the quoted event name.
    OpenResult CreateObjects();

    // The own call for the login line, read at Open ("NOCALL" until set).
    void SetMyCall(std::string call) { myCall_ = std::move(call); }
    // Where the complete received lines go; once its queue is closed no echo lines are
    // posted either. Set while the client is closed.
    void SetLineSink(const LineSink& sink) { sink_ = sink; }
    // Set while closed.
    void SetTimings(const NetTimings& timings) { timings_ = timings; }

    // A copy of the settings for the next Open.
    void SetSettings(const CNetSettings& settings) { loaded_ = settings; }
    const CNetSettings& loadedSettings() const { return loaded_; }

    // Clears the flags and the held texts, and when the network is enabled starts the
    // thread that connects (pending until the server answers the login with "# logresp"). Fails
    // with "Invalid network connection parameters." for an empty host or a port that is not a
    // number from 1 to 65535.
    OpenResult Open();
    // Lets queued texts go out (while connected, up to closeDrainLimit), then stops and
    // joins the thread, waking it out of any wait, and clears open, pending and error.
    void Close();

    // Connected and logged in (verified or not).
    bool IsOpen() const override { return open_.load(); }
    // Connecting, or connected and waiting for the server's answer to the login.
    bool IsPending() const { return pending_.load(); }
    // Failed, or logged in but the server refused the passcode (receive only).
    bool HasError() const { return error_.load(); }
    bool TakesText() const override { return link_.IsRunning(); }
    // errno of the last failure (ECONNREFUSED, ETIMEDOUT, ...), a getaddrinfo code (below
    // 0) after a failed lookup, 0 when none since CreateObjects.
    int LastError() const { return lastError_.load(); }
    // "[Active] ", "[Unverified] " and the server's answer, "[Pending] " or "[Error] ", then
    // "Last Error #: " and the code when above 0, or "Host lookup failed: " and the
    // resolver's text after a failed lookup.
    std::string StatusText() const;

    // Queues a text to be sent byte for byte, but for its line end (the caller includes one),
    // which goes out as CR LF; texts longer than kMaxSendChars are cut. While a connection is being
    // made (or made again) the text waits for it (see kMaxHeldTexts) and goes out after the login
    // line; with no connection under way it is dropped.
    void QueueText(const std::string& text, int delayBeforeMs = 0, int delayAfterMs = 0) override;

    // The received bytes not yet cut into lines.
    ReceiveBuffer& Buffer() { return buffer_; }

  private:
    enum class StoreResult { kStored, kStopped };

    // Worker-thread hooks of the link.
    int OpenLink(int wakeFd, const std::string& host, const std::string& port,
                 std::chrono::milliseconds timeout, std::string& error);
    void Opened(const std::string& loginLine);
    void Lost(bool autoReconnect);
    void Unsent(std::vector<std::string>&& texts, const std::string& loginLine);
    void Received(const uint8_t* data, size_t length);
    // Watches the server's lines for its answer to the login.
    void ReadServerLines(const uint8_t* data, size_t length);
    void LoginAnswered(std::string_view answer);
    StoreResult StoreChunk(const uint8_t* data, size_t length);
    // Drops an unfinished line at the end of the buffer: it will never be completed.
    void DropPartialLine();
    void SetState(bool open, bool pending, bool error);
    void StopLink(std::chrono::milliseconds drainLimit);

    ThreadPoster& poster_;
    NoticeSink& notices_;
    const std::string eventName_;
    std::string myCall_ = "NOCALL";
    LineSink sink_;
    CNetSettings loaded_;
    NetTimings timings_;
    bool started_ = false;  // controlling thread only: Open started the link

    ReceiveBuffer buffer_;
    // Worker thread only (and Open, while it is stopped):
    int fd_ = -1;                // the current connection
    bool lookupFailed_ = false;  // the last attempt failed to look the host up
    bool discarding_ = false;    // skipping to the end of a dropped line
    std::string serverLine_;     // the start of the server's current line

    std::atomic<bool> open_{false};
    std::atomic<bool> pending_{false};
    std::atomic<bool> error_{false};
    std::atomic<int> lastError_{0};
    std::atomic<bool> unverified_{false};  // logged in, passcode refused

    mutable std::mutex mutex_;
    bool stop_ = false;             // guarded by mutex_
    bool loggedIn_ = false;         // guarded by mutex_: the login is queued on this link
    std::deque<std::string> held_;  // guarded by mutex_: waiting for a connection
    std::string loginAnswer_;       // guarded by mutex_: the server's "# logresp" text

    CPortThread link_;  // last: its thread stops before the rest goes
};

// The network status text; "Unknown - no net manager object." without a client.
std::string NetStatusText(const CNetManager* net);

}  // namespace plovane
