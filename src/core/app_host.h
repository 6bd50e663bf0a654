// SPDX-License-Identifier: GPL-3.0-or-later
// Everything the program around the core provides: the narrow sinks (core/sinks.h), plus
// the blocking message boxes and the progress indicator only the user interface uses.
// The Qt GUI, the console station and the tests each provide one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/sinks.h"

namespace plovane {

enum class MessageBoxIcon { kNone, kInformation, kExclamation, kStop, kQuestion };
enum class MessageBoxButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageBoxResult { kOk, kCancel, kYes, kNo };

// Thread-safe: every call may come from any thread; implementations marshal to their own
// user-interface thread. Nothing here may call back into a store while it is held locked.
class AppHost : public ThreadPoster,
                public ChangeSink,
                public NoticeSink,
                public ErrorSink,
                public SoundSink {
  public:
    // Errors go to the notice line unless the host shows them otherwise.
    void ReportError(std::string_view text) override { ShowNotice(text); }

    // Blocks until answered; the title is the application's name unless given.
    virtual MessageBoxResult MessageBox(std::string_view text, MessageBoxIcon icon,
                                        MessageBoxButtons buttons = MessageBoxButtons::kOk,
                                        std::string_view title = {}) = 0;
    // The progress indicator of long map work: show with a text, set 0..100, hide.
    virtual void ShowProgress(std::string_view text) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void HideProgress() = 0;
};

}  // namespace plovane
