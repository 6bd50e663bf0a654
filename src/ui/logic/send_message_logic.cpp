// SPDX-License-Identifier: GPL-3.0-or-later
// The send-message dialog's state and checks.
#include "ui/logic/send_message_logic.h"

#include <algorithm>

#include "core/regular_expression.h"
#include "core/utf8.h"
#include "ui/logic/display_utf8.h"

namespace plovane {

std::string NormalizeAddressee(std::string_view typed) {
    while (!typed.empty() && (typed.front() == ' ' || typed.front() == '\t'))
        typed.remove_prefix(1);
    while (!typed.empty() && (typed.back() == ' ' || typed.back() == '\t'))
        typed.remove_suffix(1);
    return UpperUtf8(typed);
}

const char* AddresseeError(std::string_view typed) {
    const std::string addressee = NormalizeAddressee(typed);
    if (addressee.empty())
        return kEmptyAddresseeText;
    if (Utf8Length(addressee) > static_cast<size_t>(kMaxAddresseeLength))
        return kLongAddresseeText;
    std::string pattern = "^";
    for (size_t i = 0; i < addressee.size(); ++i)
        pattern += "[0-9A-Z-]";
    pattern += "$";
    CRegularExpression matcher{addressee};
    return matcher.Match(pattern) ? nullptr : kInvalidAddresseeText;
}

SendMessageForm::SendMessageForm(IdSource nextBulletinId, IdSource nextAnnouncementId,
                                 std::string presetAddressee)
    : nextBulletinId_(std::move(nextBulletinId)),
      nextAnnouncementId_(std::move(nextAnnouncementId)),
      toText_(presetAddressee),
      rememberedTo_(std::move(presetAddressee)),
      focusOnText_(!toText_.empty()) {}

void SendMessageForm::SetType(MessageType type) {
    type_ = type;
    switch (type) {
        case MessageType::kMessage:
            toText_ = rememberedTo_;
            break;
        case MessageType::kBulletin:
            toText_ = nextBulletinId_ ? nextBulletinId_(false) : std::string();
            break;
        case MessageType::kAnnouncement:
            toText_ = nextAnnouncementId_ ? nextAnnouncementId_(false) : std::string();
            break;
    }
}

void SendMessageForm::EditTo(std::string text) {
    toText_ = std::move(text);
    if (type_ == MessageType::kMessage)
        rememberedTo_ = toText_;
}

SendMessageForm::Result SendMessageForm::Accept() {
    Result result;
    result.error = AddresseeError(toText_);
    if (result.error != nullptr)
        return result;
    result.addressee = NormalizeAddressee(toText_);
    if (type_ == MessageType::kBulletin && nextBulletinId_)
        nextBulletinId_(true);
    else if (type_ == MessageType::kAnnouncement && nextAnnouncementId_)
        nextAnnouncementId_(true);
    return result;
}

const char* MessageTextError(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos ? kEmptyMessageText : nullptr;
}

std::string MessageTextCount(std::string_view utf8) {
    const int left = kMaxMessageTextLength - static_cast<int>(utf8.size());
    return std::to_string(std::max(left, 0)) + " of " + std::to_string(kMaxMessageTextLength) +
           " bytes left";
}

std::string_view FitMessageText(std::string_view utf8) {
    return utf8.substr(0, Utf8FitBytes(utf8, kMaxMessageTextLength));
}

}  // namespace plovane
