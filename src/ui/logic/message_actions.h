// SPDX-License-Identifier: GPL-3.0-or-later
// The buttons of the "Messages" window, without the window: "&New", "Re&ply", "&Resend",
// "&Stop" and "&Delete" on the selected message, with their prompts shown through the host.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/app_host.h"
#include "messages/message_list.h"
#include "core/station_settings.h"

namespace plovane {

inline constexpr char kSelectToReplyText[] =
    "Please select a message that you would like to respond to.";
inline constexpr char kSelectToResendText[] =
    "Please select a message that you would like to resend.";
inline constexpr char kSelectToStopText[] =
    "Please select a message that you would like to stop sending.";
inline constexpr char kSelectToDeleteText[] =
    "Please select a message that you would like to delete.";
inline constexpr char kNotOriginatorText[] = "You are not the originator of the selected message.";
inline constexpr char kDeleteQuestionText[] = "Delete the selected message?";

// Thread-compatible: user-interface thread only (it may run modal dialogs).
class MessageListActions {
  public:
    // Runs the send-message dialog with a preset addressee and stores what it returns.
    using SendNew = std::function<void(const std::string& presetAddressee)>;

    // The own call is the settings' MyCall, read at each action.
    MessageListActions(CMessageList& store, AppHost& host, const CStationSettings& settings,
                       SendNew sendNew);

    // A selected message is given by its store key; a key that is no longer stored counts
    // as no selection. Each returns true when it acted on the store or opened the dialog.
    bool New();
    bool Reply(std::optional<uint64_t> selected);
    bool Resend(std::optional<uint64_t> selected);
    bool Stop(std::optional<uint64_t> selected);
    // Asks first; on Yes the store removes the message (its MessageChanged drops the row).
    bool Delete(std::optional<uint64_t> selected);

  private:
    std::optional<CMessage> Selected(std::optional<uint64_t> key, const char* noSelectionText);
    bool IsOwn(const CMessage& message);

    CMessageList& store_;
    AppHost& host_;
    const CStationSettings& settings_;
    SendNew sendNew_;
};

}  // namespace plovane
