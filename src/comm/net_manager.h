// The APRS-IS client: one TCP connection to a server. The read thread connects, gathers
// what the server sends in the network receive buffer (the user-interface thread decodes it
// on kNetLines) and, when asked to, reconnects after the link breaks; the write thread sends
// the login line after every connection and then the queued texts.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "comm/receive_buffer.h"
#include "comm/net_settings.h"
#include "comm/open_result.h"
#include "core/output_port.h"
#include "core/profile.h"
#include "core/sinks.h"

namespace plovane {

// The waits of the client. The program uses the defaults; tests shorten them.
struct NetTimings {
    // Pause before every new connection attempt after a failure or a broken link.
    std::chrono::milliseconds retryInterval{2500};
    // How long one address may take to accept the connection before the next is tried.
    std::chrono::milliseconds connectTimeout{15000};
    // How long the reader waits for the intake to make room in a full buffer before it drops
    // what it received.
    std::chrono::milliseconds drainLimit{10000};
    // How long Close lets queued texts go out before it stops the threads.
    std::chrono::milliseconds closeDrainLimit{15000};
};

// The login line: "user CALL pass PASSCODE vers Plovane 1.02", then " filter TEXT" when a
// filter is set, and CR.
std::string NetLoginLine(std::string_view myCall, std::string_view filter);

// Thread-safe: Open, Close, LoadSettings and the setters belong to one controlling thread
// (the user-interface thread); QueueText, IsOpen and the status reads may come from any
// thread. The queue mutex guards the write queue, the current socket and the writer's
// state; the receive buffer has its own timed mutex; the flags are atomics.
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

    // Clears the last error code and creates the event that wakes the worker threads out of
    // their waits (Open calls it when needed). On failure the text is "Unable to create
    // network write event.  " with the quoted event name.
    OpenResult CreateObjects();

    // The settings record LoadSettings fills (may be null: the client then keeps its own).
    void SetSettings(CNetSettings* settings) { settings_ = settings; }
    // The own call for the login line, read at Open ("NOCALL" until set).
    void SetMyCall(std::string call) { myCall_ = std::move(call); }
    // The application's exiting flag: while it is set no echo lines are posted.
    void SetExitingFlag(const std::atomic<bool>* exiting) { exiting_ = exiting; }
    // Set while closed.
    void SetTimings(const NetTimings& timings) { timings_ = timings; }

    // Reads the "Comm" keys into the settings record and keeps a copy for the next Open.
    void LoadSettings(const Profile& profile);
    const CNetSettings& loadedSettings() const { return loaded_; }

    // Clears the flags and the write queue, and when the network is enabled starts the
    // threads that connect (pending until connected). Fails with "Invalid network connection
    // parameters." for an empty host or a port that is not a number from 1 to 65535.
    OpenResult Open();
    // Lets queued texts go out (while connected, up to closeDrainLimit), then stops and
    // joins both threads, waking them out of any wait, and clears open, pending and error.
    void Close();

    bool IsOpen() const override { return open_.load(); }
    bool IsPending() const { return pending_.load(); }
    bool HasError() const { return error_.load(); }
    // errno of the last failure (ECONNREFUSED, ETIMEDOUT, ...), a getaddrinfo code (below
    // 0) after a failed lookup, 0 when none since CreateObjects.
    int LastError() const { return lastError_.load(); }
    // "[Active] ", "[Pending] " or "[Error] ", then "Last Error #: " and the code when above 0,
    // or "Host lookup failed: " and the resolver's text after a failed lookup.
    std::string StatusText() const;

    // Queues a text to be sent byte for byte (the caller includes the line end); texts
    // longer than kMaxSendChars are cut. While a connection is being made (or made again)
    // the text waits for it (see kMaxHeldTexts) and goes out after the login line; with no
    // connection under way it is dropped.
    void QueueText(const std::string& text, int delayBeforeMs = 0, int delayAfterMs = 0) override;

    // The receive buffer the decoder's intake pass drains.
    ReceiveBuffer& Buffer() { return buffer_; }

  private:
    struct Socket;
    struct ConnectPlan {
        std::string host;
        std::string port;
        std::string loginLine;
        bool autoReconnect = false;
        NetTimings timings;
    };
    enum class StoreResult { kStored, kStopped, kLockFailed };

    void ReadLoop(const ConnectPlan& plan);
    void WriteLoop();
    // One connection attempt: looks the host up and tries each address. The connected,
    // non-blocking socket, or -1 with the error code.
    int Connect(const ConnectPlan& plan, int& errorCode);
    // Receives until the link breaks (false) or the client is stopped (true).
    bool Receive(int fd, const NetTimings& timings);
    StoreResult StoreChunk(const uint8_t* data, size_t length, const NetTimings& timings);
    // Drops an unfinished line at the end of the buffer: it will never be completed.
    void DropPartialLine();
    bool SendAll(int fd, std::string_view bytes);
    // Sleeps until the time passes (false) or the client is stopped (true).
    bool WaitForStop(std::chrono::milliseconds timeout);
    void SetState(bool open, bool pending, bool error);
    void StopThreads();
    void Wake();
    void DrainWake();

    ThreadPoster& poster_;
    NoticeSink& notices_;
    const std::string eventName_;
    CNetSettings* settings_ = nullptr;
    std::string myCall_ = "NOCALL";
    const std::atomic<bool>* exiting_ = nullptr;
    CNetSettings loaded_;
    NetTimings timings_;

    ReceiveBuffer buffer_;
    bool discarding_ = false;  // read thread only: skipping to the end of a dropped line

    std::atomic<bool> open_{false};
    std::atomic<bool> pending_{false};
    std::atomic<bool> error_{false};
    std::atomic<bool> stop_{false};
    std::atomic<int> lastError_{0};

    std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::deque<std::string> queue_;   // guarded by queueMutex_
    std::deque<std::string> held_;    // guarded by queueMutex_: waiting for a connection
    std::shared_ptr<Socket> socket_;  // guarded by queueMutex_: the current connection
    bool stopWrite_ = false;          // guarded by queueMutex_
    bool writing_ = false;            // guarded by queueMutex_
    bool writerRunning_ = false;      // guarded by queueMutex_

    int wakeFd_ = -1;  // eventfd, readable once the threads are told to stop
    std::thread readThread_;
    std::thread writeThread_;
};

// The network status text; "Unknown - no net manager object." without a client.
std::string NetStatusText(const CNetManager* net);

}  // namespace plovane
