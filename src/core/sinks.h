// SPDX-License-Identifier: GPL-3.0-or-later
// The narrow outlets the libraries below the user interface report through: a thread poster
// (work for the user-interface thread), a change notifier (records changed), the one-line
// notice, an error report that never blocks, and sounds. Each part takes only the ones it
// uses; the hosts (GUI, console, tests) implement them all through AppHost.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plovane {

// Work posted to the user-interface thread.
enum class ThreadMessage : int {
    kEchoLine,          // a line was sent; the text travels with the message
    kPortStatus,        // a port or the network client changed state
    kStationSetupDone,  // the station setup sheet was closed with OK
    kCommSetupDone,     // the communications setup sheet was closed with OK
};

// Thread-safe: Post may come from any thread; the receiver runs the work on its own
// user-interface thread.
class ThreadPoster {
  public:
    virtual ~ThreadPoster() = default;
    virtual void Post(ThreadMessage message, std::string text = {}) = 0;
};

// Thread-safe: a station record (by call) or a message record (by its store key) changed.
// The receiver looks the record up again, so a record removed meanwhile is simply gone.
class ChangeSink {
  public:
    virtual ~ChangeSink() = default;
    virtual void StationChanged(const std::string& call) = 0;
    virtual void MessageChanged(uint64_t messageKey) = 0;
};

// Thread-safe: the one-line notice (the status line; the console prints it).
class NoticeSink {
  public:
    virtual ~NoticeSink() = default;
    virtual void ShowNotice(std::string_view text) = 0;
};

// Thread-safe and never blocks the caller: an error the user should see (a port that would
// not open, a file that could not be read). The GUI shows it without a modal wait.
class ErrorSink {
  public:
    virtual ~ErrorSink() = default;
    virtual void ReportError(std::string_view text) = 0;
};

// Thread-safe: starts playing a WAV file without waiting for it; an empty path plays nothing.
class SoundSink {
  public:
    virtual ~SoundSink() = default;
    virtual void PlaySound(const std::string& path) = 0;
};

}  // namespace plovane
