// SPDX-License-Identifier: GPL-3.0-or-later
// A byte-stream link run by one worker thread: it opens the link (a TCP connection, a serial
// device), hands on what arrives, writes the queued byte strings in order (each after its own
// pause), and when the link breaks or will not open, tries again after a pause that doubles up
// to a limit. Stop wakes the thread out of any wait at once. The KISS and gpsd ports and the
// APRS-IS client are built on it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace plovane {

struct PortTimings {
    std::chrono::milliseconds retryFirst{1000};  // pause after the first failure
    std::chrono::milliseconds retryMax{30000};   // the pause doubles up to this
    std::chrono::milliseconds drainLimit{5000};  // Stop lets queued bytes go out this long
    bool reconnect = true;  // false: a broken link ends the worker (a serial TNC's hang-up)
    // A link that has sent nothing for this long counts as broken and is opened again, also
    // without `reconnect` (a peer that went silent without closing); 0: no limit.
    std::chrono::milliseconds silenceLimit{0};
};

// Opens the link: a connected, non-blocking descriptor, or -1 with the reason in `error`.
// wakeFd becomes readable when the port is stopped, so a long connect can give up at once.
using PortOpener = std::function<int(int wakeFd, std::string& error)>;

// Called on the worker thread.
struct PortHandlers {
    std::function<void()> opened;  // may queue with Send
    std::function<void(const uint8_t*, size_t)> received;
    std::function<void(const std::string& reason)> lost;    // broke, or would not open
    std::function<void(const std::string& bytes)> writing;  // about to write these
    // The byte strings a broken link left unwritten, oldest first (else they are dropped).
    std::function<void(std::vector<std::string>&& unsent)> unsent;
};

// Thread-safe: Start and Stop belong to one controlling thread; Send, IsOpen and LastError
// may be called from any thread. The mutex guards the queue and the last error.
class CPortThread {
  public:
    // The reason the lost handler is given when the silence limit ran out.
    static constexpr const char* kSilentReason = "Nothing received for too long.";

    static constexpr size_t kMaxQueued = 1000;  // byte strings waiting; more are refused
    static constexpr size_t kReadChunkBytes = 4096;

    CPortThread();
    ~CPortThread();
    CPortThread(const CPortThread&) = delete;
    CPortThread& operator=(const CPortThread&) = delete;

    // Creates the wake-up event Start needs (Start makes it too); false when it cannot.
    bool CreateWakeEvent();
    // Starts the worker; false when the thread or its wake-up event cannot be made. With
    // openFd (a device the caller has opened and set up) the link counts as open at once and
    // the opener is only used to open it again.
    bool Start(PortOpener opener, PortHandlers handlers, PortTimings timings = {}, int openFd = -1);
    // Lets the queue go out (while open, up to drainLimit; by default the timings' limit plus
    // the queued pauses), then stops and joins the worker, cutting any pause short.
    void Stop(std::chrono::milliseconds drainLimit = std::chrono::milliseconds(-1));

    // Queues bytes to be written after delayBeforeMs, the next write waiting delayAfterMs
    // more; refused (false) while the link is not open or the queue is full.
    bool Send(std::string bytes, int delayBeforeMs = 0, int delayAfterMs = 0);

    bool IsOpen() const { return open_.load(); }
    bool IsRunning() const { return running_.load(); }
    // Requested when Stop begins: a worker waiting for room in the line queue gives up.
    // For the worker's handlers.
    std::stop_token FeedToken() const { return feedStop_.get_token(); }
    std::string LastError() const;

  private:
    struct Item {
        std::string bytes;
        int delayBeforeMs = 0;
        int delayAfterMs = 0;
    };

    void Run(const PortOpener& opener, const PortHandlers& handlers, const PortTimings& timings,
             int openFd);
    // Runs one open link until it breaks (false, with the reason) or the port stops (true).
    bool Serve(int fd, const PortHandlers& handlers, std::chrono::milliseconds silenceLimit,
               std::string& reason);
    bool WaitForStop(std::chrono::milliseconds timeout);
    void SetError(const std::string& text);

    std::atomic<bool> open_{false};
    std::atomic<bool> running_{false};
    std::atomic<bool> stop_{false};
    int wakeFd_ = -1;            // eventfd: Stop and Send wake the worker out of poll()
    std::stop_source feedStop_;  // made anew by Start, while no worker runs

    mutable std::mutex mutex_;
    std::condition_variable drained_;
    std::deque<Item> queue_;  // guarded by mutex_
    bool writing_ = false;    // guarded by mutex_: the front item is partly written
    std::string lastError_;   // guarded by mutex_
    PortTimings timings_;
    std::thread thread_;
};

// Connects to host:port over TCP (every address the name has, each for up to timeout).
// Returns a non-blocking socket or -1 with the reason and, when asked for, its code: an
// errno value, or a getaddrinfo code (below 0) after a failed lookup. Gives up (ECANCELED)
// when wakeFd turns readable, even during a host-name lookup.
int ConnectTcp(const std::string& host, const std::string& port, int wakeFd,
               std::chrono::milliseconds timeout, std::string& error, int* errorCode = nullptr);

}  // namespace plovane
