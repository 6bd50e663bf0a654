// SPDX-License-Identifier: GPL-3.0-or-later
// What the "Messages" window lists and how each row reads: the "View only:" choices, the
// call and contents masks, the row icon, the cell texts, the sort keys and the status line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "messages/message.h"
#include "ui/logic/list_rows.h"
#include "ui/logic/text_mask.h"

namespace plovane {

// The "View only:" entries, in the order of the drop-down list.
enum class MessageView { kAll, kMine, kBulletins, kAnnouncements, kNws };
inline constexpr std::array<const char*, 5> kMessageViewNames = {
    "All Messages", "My Messages", "Bulletins", "Announcements", "NWS Messages"};

// Addressee kinds: "BLN" + digit a bulletin, "BLN" + letter an announcement, "NWS-..." a
// weather-service message ("BLN" and "NWS-" in any case).
bool IsBulletinAddressee(std::string_view to);
bool IsAnnouncementAddressee(std::string_view to);
bool IsNwsAddressee(std::string_view to);

struct MessageFilter {
    TextMask callMask;      // found in the from or the to
    TextMask contentsMask;  // found in the text
    bool regularExpression = false;
    MessageView view = MessageView::kAll;
    std::string myCall;  // the settings' MyCall, for "My Messages"

    // With no call mask a message passes when the contents mask is empty or found in its
    // text; with one, when the call mask is found in the from or the to, or the contents
    // mask (if any) in the text. Then the view choice must hold as well.
    bool Passes(const CMessage& message) const;
};

// The row icon, first match: 1 sent by MyCall and not acked, 2 sent by MyCall and acked (or
// stopped), 3 to MyCall with no ack sent yet, 4 to MyCall with an ack sent, 5 a "BLN"
// addressee, 6 an "NWS" addressee, 0 anything else.
inline constexpr int kMessageIconCount = 7;
int MessageIcon(const CMessage& message, std::string_view myCall);

enum MessageColumn : int {
    kMessageColumnIcon,
    kMessageColumnFrom,
    kMessageColumnTo,
    kMessageColumnText,
    kMessageColumnDateTime,
    kMessageColumnNumber,
    kMessageColumnCount,
    kMessageColumns
};
inline constexpr std::array<const char*, kMessageColumns> kMessageColumnTitles = {
    "", "From", "To", "Text", "Date/Time", "Msg#", "#Tx/#Rx"};
inline constexpr std::array<int, kMessageColumns> kMessageColumnWidths = {23, 60, 60, 250,
                                                                          70, 50, 50};

// A cell's text in UTF-8 (received text as DisplayUtf8 shows it); the count column is empty
// for 0, the icon column always empty.
std::string MessageCellText(const CMessage& message, int column);

// "Loading 3 of 60 messages", "Showing 2 of 5 messages", "Showing all 4 messages",
// "Showing 1 message", "Showing no messages".
std::string MessageStatusText(size_t shown, size_t total, bool loading);

struct MessageKeyOf {
    uint64_t operator()(const CMessage& message) const { return message.key; }
};
using MessageRows = ListRows<CMessage, uint64_t, MessageKeyOf>;

// Sorts by a column: the icon, the text columns without regard to case, the time, the count.
void SortMessageRows(MessageRows& rows, const SortState& sort, std::string_view myCall);

}  // namespace plovane
