// SPDX-License-Identifier: GPL-3.0-or-later
// The "Message" dialog without its widgets: the message type, the "&To:" field with the
// addressee remembered while a bulletin or announcement identifier is shown, and the checks
// on OK. Identifiers are read without advancing while shown; the counter moves on only when
// the dialog is confirmed.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace plovane {

enum class MessageType { kMessage, kBulletin, kAnnouncement };
inline constexpr std::array<const char*, 3> kMessageTypeNames = {"Message", "Bulletin",
                                                                 "Announcement"};

inline constexpr int kMaxAddresseeLength = 9;     // characters in "&To:"
inline constexpr int kMaxMessageTextLength = 67;  // bytes of UTF-8 in "Message Te&xt:"

inline constexpr char kEmptyAddresseeText[] = "Please enter a callsign in the 'To' field.";
inline constexpr char kLongAddresseeText[] =
    "The 'To' field is too long, please limit it to nine (9) characters.";
inline constexpr char kInvalidAddresseeText[] =
    "The 'To' field has an invalid character, it can only contain '0' through '9', 'A' "
    "through 'Z', and '-'.";

inline constexpr char kEmptyMessageText[] = "Please enter the text of the message.";

// Why a message text is refused (empty, or blanks only), or nullptr when it is accepted.
const char* MessageTextError(std::string_view text);
// The count shown under the text while typing: "55 of 67 bytes left". The limit counts the
// bytes the text takes on the air, so "ä" takes two.
std::string MessageTextCount(std::string_view utf8);
// The typed text cut to the limit without cutting a character in half.
std::string_view FitMessageText(std::string_view utf8);

// The typed addressee upper-cased without blanks at either end (UTF-8 in, UTF-8 out).
std::string NormalizeAddressee(std::string_view typed);
// Why an addressee is refused (one of the three texts above), or nullptr when it is
// accepted. Only 0-9, A-Z and "-" pass the matcher's per-character check.
const char* AddresseeError(std::string_view typed);

// Thread-compatible: user-interface thread only.
class SendMessageForm {
  public:
    // Gives "BLN" + the current digit or letter; with advance the store's counter moves on.
    using IdSource = std::function<std::string(bool advance)>;

    SendMessageForm(IdSource nextBulletinId, IdSource nextAnnouncementId,
                    std::string presetAddressee);

    MessageType type() const { return type_; }
    const std::string& toText() const { return toText_; }
    bool toEnabled() const { return type_ == MessageType::kMessage; }
    // The keyboard focus starts in "&To:" when nothing was preset, else in the text.
    bool focusOnText() const { return focusOnText_; }

    void SetType(MessageType type);
    // The user typed in "&To:"; while the type is "Message" the text is remembered.
    void EditTo(std::string text);

    struct Result {
        const char* error = nullptr;  // the message box text when refused
        std::string addressee;        // when accepted
        bool accepted() const { return error == nullptr; }
    };
    // OK: checks the addressee; when accepted, advances the bulletin or announcement
    // counter for those types.
    Result Accept();

  private:
    IdSource nextBulletinId_;
    IdSource nextAnnouncementId_;
    MessageType type_ = MessageType::kMessage;
    std::string toText_;
    std::string rememberedTo_;
    bool focusOnText_ = false;
};

}  // namespace plovane
