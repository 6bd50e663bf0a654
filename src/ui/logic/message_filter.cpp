// SPDX-License-Identifier: GPL-3.0-or-later
// Message list filters, row texts and sort keys.
#include "ui/logic/message_filter.h"

#include <cstdio>

#include "core/latin1.h"
#include "ui/logic/display_utf8.h"

namespace plovane {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (latin1::ToUpper(static_cast<unsigned char>(text[i])) !=
            static_cast<unsigned char>(prefix[i]))
            return false;
    }
    return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && latin1::ToUpper(a) == latin1::ToUpper(b);
}

bool ViewHolds(MessageView view, const CMessage& message, std::string_view myCall) {
    switch (view) {
        case MessageView::kAll:
            return true;
        case MessageView::kMine:
            return EqualsNoCase(message.from, myCall) || EqualsNoCase(message.to, myCall);
        case MessageView::kBulletins:
            return IsBulletinAddressee(message.to);
        case MessageView::kAnnouncements:
            return IsAnnouncementAddressee(message.to);
        case MessageView::kNws:
            return IsNwsAddressee(message.to);
    }
    return false;
}

std::string PluralMessages(size_t total) {
    return total == 1 ? " message" : " messages";
}

}  // namespace

bool IsBulletinAddressee(std::string_view to) {
    return to.size() >= 4 && StartsWithNoCase(to, "BLN") &&
           latin1::IsDigit(static_cast<unsigned char>(to[3]));
}

bool IsAnnouncementAddressee(std::string_view to) {
    return to.size() >= 4 && StartsWithNoCase(to, "BLN") &&
           latin1::IsAlpha(static_cast<unsigned char>(to[3]));
}

bool IsNwsAddressee(std::string_view to) {
    return StartsWithNoCase(to, "NWS-");
}

bool MessageFilter::Passes(const CMessage& message) const {
    const bool contentsFound =
        !contentsMask.empty() && contentsMask.FoundIn(MatchText(message.text), regularExpression);
    bool passes;
    if (callMask.empty()) {
        passes = contentsMask.empty() || contentsFound;
    } else {
        passes = callMask.FoundIn(MatchText(message.from), regularExpression) ||
                 callMask.FoundIn(MatchText(message.to), regularExpression) || contentsFound;
    }
    return passes && ViewHolds(view, message, myCall);
}

int MessageIcon(const CMessage& message, std::string_view myCall) {
    if (message.from == myCall)
        return message.acked ? 2 : 1;
    if (message.to == myCall)
        return message.ackCount > 0 ? 4 : 3;
    if (StartsWithNoCase(message.to, "BLN"))
        return 5;
    if (StartsWithNoCase(message.to, "NWS"))
        return 6;
    return 0;
}

std::string MessageCellText(const CMessage& message, int column) {
    switch (column) {
        case kMessageColumnFrom:
            return DisplayUtf8(message.from);
        case kMessageColumnTo:
            return DisplayUtf8(message.to);
        case kMessageColumnText:
            return DisplayUtf8(message.text);
        case kMessageColumnDateTime:
            return ListDateText(message.time);
        case kMessageColumnNumber:
            return DisplayUtf8(message.number);
        case kMessageColumnCount:
            // A message the addressee refused is not sent again: say so where the
            // transmissions are counted.
            if (message.rejected)
                return "Rejected";
            return message.count == 0 ? std::string() : std::to_string(message.count);
        default:
            return {};
    }
}

std::string MessageStatusText(size_t shown, size_t total, bool loading) {
    if (total < shown)
        total = shown;
    if (loading) {
        return "Loading " + std::to_string(shown) + " of " + std::to_string(total) +
               PluralMessages(total);
    }
    if (shown < total) {
        return "Showing " + std::to_string(shown) + " of " + std::to_string(total) +
               PluralMessages(total);
    }
    if (total > 1)
        return "Showing all " + std::to_string(total) + " messages";
    if (total == 1)
        return "Showing 1 message";
    return "Showing no messages";
}

void SortMessageRows(MessageRows& rows, const SortState& sort, std::string_view myCall) {
    const bool ascending = sort.ascending;
    const auto byText = [&rows, ascending](std::string CMessage::*field) {
        rows.SortByKey([field](const CMessage& m) { return MatchText(m.*field); }, ascending);
    };
    switch (sort.column) {
        case kMessageColumnIcon:
            // The order is kept for later rows: it holds its own copy of the call.
            rows.SortByKey([myCall = std::string(myCall)](
                               const CMessage& m) { return MessageIcon(m, myCall); },
                           ascending);
            break;
        case kMessageColumnFrom:
            byText(&CMessage::from);
            break;
        case kMessageColumnTo:
            byText(&CMessage::to);
            break;
        case kMessageColumnText:
            byText(&CMessage::text);
            break;
        case kMessageColumnDateTime:
            rows.SortByKey([](const CMessage& m) { return CDateTime::ToLinear(m.time.value()); },
                           ascending);
            break;
        case kMessageColumnNumber:
            byText(&CMessage::number);
            break;
        case kMessageColumnCount:
            rows.SortByKey([](const CMessage& m) { return m.count; }, ascending);
            break;
        default:
            break;
    }
}

}  // namespace plovane
