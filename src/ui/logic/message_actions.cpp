// SPDX-License-Identifier: GPL-3.0-or-later
// The "Messages" window's buttons.
#include "ui/logic/message_actions.h"

#include "ui/logic/selected_record.h"

namespace plovane {

MessageListActions::MessageListActions(CMessageList& store, AppHost& host,
                                       const CStationSettings& settings, SendNew sendNew)
    : store_(store), host_(host), settings_(settings), sendNew_(std::move(sendNew)) {}

std::optional<CMessage> MessageListActions::Selected(std::optional<uint64_t> key,
                                                     const char* noSelectionText) {
    return FindSelected(
        key, [this](uint64_t k) { return store_.Find(k); }, host_, noSelectionText);
}

bool MessageListActions::IsOwn(const CMessage& message) {
    if (message.from == settings_.MyCall)
        return true;
    host_.MessageBox(kNotOriginatorText, MessageBoxIcon::kExclamation);
    return false;
}

bool MessageListActions::New() {
    if (sendNew_)
        sendNew_({});
    return true;
}

bool MessageListActions::Reply(std::optional<uint64_t> selected) {
    const auto message = Selected(selected, kSelectToReplyText);
    if (!message)
        return false;
    if (sendNew_)
        sendNew_(message->from);
    return true;
}

bool MessageListActions::Resend(std::optional<uint64_t> selected) {
    const auto message = Selected(selected, kSelectToResendText);
    return message && IsOwn(*message) && store_.Resend(message->key);
}

bool MessageListActions::Stop(std::optional<uint64_t> selected) {
    const auto message = Selected(selected, kSelectToStopText);
    return message && IsOwn(*message) && store_.Stop(message->key);
}

bool MessageListActions::Delete(std::optional<uint64_t> selected) {
    const auto message = Selected(selected, kSelectToDeleteText);
    if (!message)
        return false;
    if (host_.MessageBox(kDeleteQuestionText, MessageBoxIcon::kQuestion,
                         MessageBoxButtons::kYesNo) != MessageBoxResult::kYes)
        return false;
    return store_.Delete(message->key);
}

}  // namespace plovane
