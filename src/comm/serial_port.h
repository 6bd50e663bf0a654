// SPDX-License-Identifier: GPL-3.0-or-later
// One serial port on the shared link worker: it gathers received bytes in the port's receive
// buffer and hands each complete line to its line sink (the line queue), and sends queued texts one
// by one, each with a pause before and after it. The TNC port and the GPS port build on it.
//
// The worker waits in poll() on the device and on its wake-up event, and the pauses are poll
// time-outs, so Close stops it at once; a read or write that fails (a hang-up, an unplugged
// adapter) ends it, releases the device and posts kPortStatus.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "comm/open_result.h"
#include "comm/port_thread.h"
#include "comm/receive_buffer.h"
#include "core/line_queue.h"
#include "core/output_port.h"
#include "core/sinks.h"

namespace plovane {

// The line settings of one port as the "Comm" settings hold them.
struct SerialParameters {
    bool enabled = false;
    std::string portName = "COM2:";  // a device path; "COMn:" means /dev/ttyS(n-1)
    int32_t baudRate = 9600;
    std::string parity = "N";    // only an upper-case first letter E, O, M or S counts
    int32_t dataBits = 8;        // 7 or 8
    std::string stopBits = "1";  // "1", "1.5" or "2"
};

// The line parameters of a settings record (a TNC's or a GPS receiver's).
template <typename Settings>
SerialParameters SerialParametersOf(const Settings& settings, bool enabled) {
    SerialParameters p;
    p.enabled = enabled;
    p.portName = settings.port;
    p.baudRate = settings.baudRate;
    p.dataBits = settings.dataBits;
    p.parity = settings.parity;
    p.stopBits = settings.stopBits;
    return p;
}

// Baud rate not 0, 7 or 8 data bits, and a port name, parity and stop bits given.
bool ValidSerialParameters(const SerialParameters& parameters);

// The device to open for a stored port name: "COMn:" (n from 1) becomes /dev/ttyS(n-1),
// anything else is taken as a path.
std::string SerialDevicePath(std::string_view portName);

// Thread-safe: Open, Close, the setters and the Send hooks belong to one controlling thread
// (the user-interface thread); QueueText, IsOpen and HasError may be called from any thread.
// The link worker guards its write queue; the receive buffer has its own mutex; the
// error flag is atomic.
class CSerialPort : public OutputPort {
  public:
    static constexpr size_t kReadChunkBytes = 511;    // most bytes stored in one step
    static constexpr size_t kMaxRequestChars = 1024;  // longer texts are refused
    static constexpr int kReadIdleMs = 100;           // a read ends after this much silence
    static constexpr int kDrainLimitMs = 16000;       // Close waits this long for the writer
                                                      // (scaled with the delays)

    // role names the port in its error texts ("TNC", "GPS"); mutexName labels the receive
    // buffer (e.g. "PLOVANE_TNC_MUTEX"); eventName labels the writer's wake-up event in
    // messages. Port status and echo lines are posted; notices tell of skipped files.
    CSerialPort(ThreadPoster& poster, NoticeSink& notices, std::string role, std::string mutexName,
                std::string eventName);
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Creates the event that wakes the worker; Open calls it when needed. Fails with
    // "Unable to create serial write event.  " and the quoted event name.
    OpenResult CreateObjects();

    void SetParameters(const SerialParameters& parameters) { parameters_ = parameters; }
    const SerialParameters& parameters() const { return parameters_; }

    // Where the complete received lines go, tagged with this port; once its queue is closed
    // (the program is ending) no echo lines are posted either. Set while the port is closed.
    void SetLineSink(const LineSink& sink) { sink_ = sink; }
    // Multiplies every write delay, the settling pause of Close and its wait for the writer
    // (1.0 in the program; tests shorten the TNC's multi-second sequences with it). Set while
    // the port is closed.
    void SetDelayScale(double scale) { delayScale_ = scale < 0 ? 0 : scale; }

    // Clears the flags, drops queued texts and, when the port is enabled, opens and
    // configures the device, starts the worker and queues the opening sequence. Every
    // failure leaves the error flag set and returns its text, which begins with the role
    // ("TNC port: Unable to open serial port /dev/ttyUSB0 (Error code: 2): No such file or
    // directory").
    virtual OpenResult Open();
    // Queues the closing sequence and lets the worker send it (up to kDrainLimitMs), then
    // stops the worker and releases the device. Clears open and error.
    virtual void Close();

    bool IsOpen() const override { return link_.IsOpen(); }
    bool HasError() const { return error_.load(); }
    // Texts are sent byte for byte. Texts longer than kMaxRequestChars, and texts queued
    // while the port is not open, are dropped (Open would discard them anyway).
    void QueueText(const std::string& text, int delayBeforeMs = 0, int delayAfterMs = 0) override;

    // Queues the lines of one section of a TNC command file, 500 ms before each; an empty path
    // or "None" queues nothing, and a file that cannot be read (missing, a folder) is skipped
    // with a notice.
    virtual void ExecuteCommandFile(const std::string& path, std::string_view section);

    // The opening sequence (after a successful Open) and the closing sequence (at the start
    // of Close). The base versions send nothing.
    virtual void SendWakeUp() {}
    virtual void SendInitFile() {}
    virtual void SendInitCommands() {}
    virtual void SendBreak() {}
    virtual void SendRestoreFile() {}
    virtual void SendMonitorOff() {}

    // The received bytes not yet cut into lines.
    ReceiveBuffer& Buffer() { return buffer_; }

  protected:
    // Runs on the read thread whenever a received chunk holds CR or LF: hands the complete
    // lines to the sink (waiting while the queue is full).
    virtual void LinesArrived();
    const std::string& role() const { return role_; }
    int ScaledMs(int ms) const;

  private:
    // Appends received bytes (at most kReadChunkBytes); true when they held a line end.
    bool StoreChunk(const uint8_t* data, size_t length);
    void Received(const uint8_t* data, size_t length);
    // A read or write failed while running: the worker has ended; tell the host.
    void Fail();
    OpenResult Failed(const std::string& text);

    ThreadPoster& poster_;
    NoticeSink& notices_;
    const std::string role_;
    const std::string eventName_;
    SerialParameters parameters_;
    LineSink sink_;
    double delayScale_ = 1.0;

    ReceiveBuffer buffer_;
    bool discarding_ = false;  // worker only: skipping the rest of an overlong line

    std::atomic<bool> error_{false};
    CPortThread link_;
};

}  // namespace plovane
