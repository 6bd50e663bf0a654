// SPDX-License-Identifier: GPL-3.0-or-later
// A KISS TNC, on a serial port or over TCP (a software TNC such as a sound-card modem). The
// port's worker thread de-frames what arrives, decodes each AX.25 UI frame into a monitor line
// and hands it to the line sink (the line queue, as the text-mode TNC's lines go); queued
// information fields leave as UI frames from the own call to the destination over the station's
// digipeater path. A TCP link that goes away is made again with a growing pause.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

#include "comm/ax25.h"
#include "comm/kiss.h"
#include "comm/open_result.h"
#include "comm/port_thread.h"
#include "comm/tnc_port.h"
#include "core/line_queue.h"
#include "core/output_port.h"
#include "core/sinks.h"
#include "core/station_settings.h"

namespace plovane {

// Thread-safe: Open, Close and the setters belong to the user-interface thread (set the line
// sink while closed); QueueText, IsOpen and the counters may be called from any thread.
// The settings mutex guards the station settings copy; the link has its own lock.
class CKissPort final : public OutputPort {
  public:
    // Frames queued while the link is being made wait for it, up to this many (the oldest
    // are dropped).
    static constexpr size_t kMaxHeldFrames = 50;
    // Dropped frames are told of one at once, then as a count at most once this often.
    static constexpr std::chrono::seconds kDropNoticeInterval{60};

    CKissPort(ThreadPoster& poster, NoticeSink& notices);
    ~CKissPort() override;
    CKissPort(const CKissPort&) = delete;
    CKissPort& operator=(const CKissPort&) = delete;

    // The TNC settings (mode, serial line, host and port, KISS parameters); copied at Open.
    void SetTncSettings(const CTncSettings& settings) { tnc_ = settings; }
    // The own call, destination and path of transmitted frames.
    void SetStationSettings(const CStationSettings& settings);
    // Where the monitor line of every received frame goes (no line end), tagged with this
    // port; once its queue is closed no echo lines are posted either.
    void SetLineSink(const LineSink& sink) { sink_ = sink; }
    void SetTimings(const PortTimings& timings) { timings_ = timings; }

    // Starts the link when the TNC is enabled in a KISS mode. Fails at once only for settings
    // that can never work (no host, a port that is not 1-65535, no device); a link that does
    // not come up is tried again in the background.
    OpenResult Open();
    // Sends the KISS exit and the [RESTORE] section to a serial TNC that has a command file,
    // lets the queue go out, and stops the link.
    void Close();

    bool IsOpen() const override { return link_.IsOpen(); }
    bool TakesText() const override { return link_.IsRunning(); }
    // Running, the link not up yet (pending) or lost and being retried (error).
    bool IsPending() const { return Down() && link_.LastError().empty(); }
    bool HasError() const { return Down() && !link_.LastError().empty(); }
    std::string LastError() const { return link_.LastError(); }

    // The text is an information field (the line end is dropped); it goes out as one UI
    // frame. Refused with a notice when the own call, destination or path is not valid AX.25.
    // While the link is being made (or made again) the frame waits for it.
    void QueueText(const std::string& text, int delayBeforeMs = 0, int delayAfterMs = 0) override;
    // A whole monitor line as it goes out (a relayed packet): its header as given, the H bit
    // set on every digipeater up to the last one marked "*". False when it is not a valid UI
    // frame, or no link is under way.
    bool QueueMonitorLine(std::string_view line);

    // Frames refused so far: KISS framing errors and AX.25 frames that were not valid UI frames.
    size_t framesDropped() const { return dropped_.load(); }
    size_t framesReceived() const { return received_.load(); }

  private:
    bool Down() const { return link_.IsRunning() && !link_.IsOpen(); }
    void Opened();
    void Received(const uint8_t* data, size_t length);
    void QueueCommandFile(std::string_view section);
    // Port thread (or a stopped port): a dropped frame, and the count not yet told of.
    void FrameDropped(const std::string& reason);
    void TellDropped();
    void PostEcho(const std::string& monitorLine);
    // Sends the frame, or holds it while the link is being made; false when neither.
    bool SendFrame(const Ax25Frame& frame);

    ThreadPoster& poster_;
    NoticeSink& notices_;
    CTncSettings tnc_;
    CTncSettings active_;  // the settings of the running link (user-interface thread)
    LineSink sink_;
    PortTimings timings_;

    mutable std::mutex settingsMutex_;
    CStationSettings station_;  // guarded by settingsMutex_

    std::mutex heldMutex_;
    std::deque<std::pair<std::string, std::string>> held_;  // guarded: frame, monitor line

    KissDeframer deframer_;  // port thread only
    // Port thread only: dropped frames not yet told of, the last one's reason, and when the
    // next count may be told.
    size_t untold_ = 0;
    std::string untoldReason_;
    std::chrono::steady_clock::time_point nextDropNotice_{};
    std::atomic<uint8_t> channel_{0};  // the TNC port of transmitted frames
    std::atomic<size_t> dropped_{0};
    std::atomic<size_t> received_{0};
    CPortThread link_;
};

// The port number as text when it is a whole number from 1 to 65535, else empty.
std::string ValidTcpPort(std::string_view text);

}  // namespace plovane
