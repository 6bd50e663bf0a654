// What the core asks of the program around it: thread messages to the user-interface
// thread, the one-line notice, message boxes, change notifications, progress and sounds.
// The Qt GUI, the console station and the tests each provide one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plovane {

// Posted to the user-interface thread; values are the program's message numbers.
enum class ThreadMessage : int {
    kNetLines = 2258,          // network lines are waiting in the receive buffer
    kEchoLine = 2259,          // a line was sent; the text travels with the message
    kPortStatus = 2260,        // a port or the network client changed state
    kStationSetupDone = 2264,  // the station setup sheet was closed with OK
    kCommSetupDone = 2265,     // the communications setup sheet was closed with OK
};

enum class MessageBoxIcon { kNone, kInformation, kExclamation, kStop, kQuestion };
enum class MessageBoxButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageBoxResult { kOk, kCancel, kYes, kNo };

// Thread-safe: every call may come from any thread; implementations marshal to their own
// user-interface thread. Nothing here may call back into a store while it is held locked.
class AppHost {
public:
    virtual ~AppHost() = default;

    virtual void Post(ThreadMessage message, std::string text = {}) = 0;
    virtual void ShowNotice(std::string_view text) = 0;
    // Blocks until answered; the title is the application's name unless given.
    virtual MessageBoxResult MessageBox(std::string_view text, MessageBoxIcon icon,
                                        MessageBoxButtons buttons = MessageBoxButtons::kOk,
                                        std::string_view title = {}) = 0;
    // A station record (by call) or a message record (by its store key) changed. The
    // receiver looks the record up again, so a record removed meanwhile is simply gone.
    virtual void StationChanged(const std::string& call) = 0;
    virtual void MessageChanged(uint64_t messageKey) = 0;
    // The progress indicator of long map work: show with a text, set 0..100, hide.
    virtual void ShowProgress(std::string_view text) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void HideProgress() = 0;
    // Starts playing a WAV file without waiting for it; an empty path plays nothing.
    virtual void PlaySound(const std::string& path) = 0;
};

}  // namespace plovane
