// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/logic/message_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plovane {
namespace {

constexpr const char* kMe = "K1ABC";

CMessage Message(std::string from, std::string to, std::string text = "hello", uint64_t key = 1) {
    CMessage m;
    m.key = key;
    m.from = std::move(from);
    m.to = std::move(to);
    m.text = std::move(text);
    return m;
}

MessageFilter Filter(const char* callMask, const char* contentsMask, bool regex = false,
                     MessageView view = MessageView::kAll) {
    MessageFilter filter;
    filter.callMask = TextMask(callMask);
    filter.contentsMask = TextMask(contentsMask);
    filter.regularExpression = regex;
    filter.view = view;
    filter.myCall = kMe;
    return filter;
}

TEST(MessageFilter, ViewOnlyChoicesFollowTheAddressee) {
    struct Case {
        MessageView view;
        const char* from;
        const char* to;
        bool passes;
    } cases[] = {
        {MessageView::kBulletins, "W1AW", "BLN1", true},
        {MessageView::kBulletins, "W1AW", "bln3WX", true},
        {MessageView::kBulletins, "W1AW", "BLNA", false},
        {MessageView::kAnnouncements, "W1AW", "BLNA", true},
        {MessageView::kAnnouncements, "W1AW", "BLN1", false},
        {MessageView::kNws, "W1AW", "NWS-WARN", true},
        {MessageView::kNws, "W1AW", "NWSWARN", false},
        {MessageView::kMine, "k1abc", "W1AW", true},
        {MessageView::kMine, "W1AW", "K1abc", true},
        {MessageView::kMine, "W1AW", "K1ABC-5", false},
        {MessageView::kAll, "W1AW", "ANYONE", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kMessageViewNames[static_cast<size_t>(c.view)]) + " " + c.from +
                     ">" + c.to);
        EXPECT_EQ(Filter("", "", false, c.view).Passes(Message(c.from, c.to)), c.passes);
    }
}

TEST(MessageFilter, MasksAsSubstrings) {
    const CMessage fromK5 = Message("K5ABC", "W1AW", "hi");
    const CMessage toK5 = Message("N0CALL", "AK5X", "hi");
    const CMessage netText = Message("W1AW", "N0CALL", "net tonight");
    const CMessage other = Message("W1AW", "N0CALL", "nothing");
    struct Case {
        const char* callMask;
        const char* contentsMask;
        std::vector<bool> passes;  // fromK5, toK5, netText, other
    } cases[] = {
        {"", "", {true, true, true, true}},        {"K5", "", {true, true, false, false}},
        {"  k5 ", "", {true, true, false, false}},  // trimmed and upper-cased
        {"K5", "NET", {true, true, true, false}},   // the contents mask lists more
        {"", "Net", {false, false, true, false}},  {"ZZZ", "TONIGHT", {false, false, true, false}},
        {"^N0", "", {false, false, false, false}},  // no patterns without the check box
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.callMask) + "|" + c.contentsMask);
        const MessageFilter filter = Filter(c.callMask, c.contentsMask);
        EXPECT_EQ((std::vector<bool>{filter.Passes(fromK5), filter.Passes(toK5),
                                     filter.Passes(netText), filter.Passes(other)}),
                  c.passes);
    }
}

TEST(MessageIcon, FirstMatchingRuleWins) {
    struct Case {
        const char* from;
        const char* to;
        bool acked;
        int ackCount;
        int icon;
    } cases[] = {
        {kMe, "W1AW", false, 0, 1},
        {kMe, "W1AW", true, 0, 2},
        {"W1AW", kMe, false, 0, 3},
        {"W1AW", kMe, false, 2, 4},
        {"W1AW", "bln1", false, 0, 5},
        {"W1AW", "NWS-X", false, 0, 6},
        {"W1AW", "k1abc", false, 0, 0},  // the own call compares exactly
        {"W1AW", "N0CALL", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + ">" + c.to);
        CMessage m = Message(c.from, c.to);
        m.acked = c.acked;
        m.ackCount = c.ackCount;
        EXPECT_EQ(MessageIcon(m, kMe), c.icon);
    }
}

TEST(MessageStatus, TextsForNoneOneManyAndPartial) {
    struct Case {
        size_t shown, total;
        bool loading;
        const char* text;
    } cases[] = {
        {0, 0, false, "Showing no messages"},    {1, 1, false, "Showing 1 message"},
        {4, 4, false, "Showing all 4 messages"}, {2, 5, false, "Showing 2 of 5 messages"},
        {0, 1, false, "Showing 0 of 1 message"}, {25, 60, true, "Loading 25 of 60 messages"},
        {3, 2, false, "Showing all 3 messages"},  // the total is never below the rows
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(MessageStatusText(c.shown, c.total, c.loading), c.text);
    }
}

TEST(MessageCells, ShowTextAsWrittenAndDatesWithMonthNames) {
    CMessage m = Message("W1AW", "N0CALL", "<b>x</b> caf\xE9", 9);
    m.number = "12";
    m.time = CDateTime(2026, 1, 5, 9, 7, 30);
    EXPECT_EQ(MessageCellText(m, kMessageColumnText), "<b>x</b> caf\xC3\xA9");
    EXPECT_EQ(MessageCellText(m, kMessageColumnDateTime), "2026-Jan-5 09:07");
    EXPECT_EQ(MessageCellText(m, kMessageColumnNumber), "12");
    EXPECT_EQ(MessageCellText(m, kMessageColumnCount), "");
    m.count = 3;
    EXPECT_EQ(MessageCellText(m, kMessageColumnCount), "3");
    m.rejected = true;
    EXPECT_EQ(MessageCellText(m, kMessageColumnCount), "Rejected");
    m.time = CDateTime(2025, 12, 31, 23, 59, 0);
    EXPECT_EQ(MessageCellText(m, kMessageColumnDateTime), "2025-Dec-31 23:59");
    m.time.SetStatus(CDateTime::kInvalid);
    EXPECT_EQ(MessageCellText(m, kMessageColumnDateTime), "");
}

// The message window's rows sorted by column clicks; each row stays findable by its key.
TEST(MessageRows, ColumnClicksSortAndReverse) {
    const char* froms[] = {"delta", "Alpha", "charlie", "BRAVO"};
    const int counts[] = {10, 2, 0, 2};
    const int months[] = {3, 1, 4, 2};
    std::vector<CMessage> messages;
    for (size_t i = 0; i < 4; ++i) {
        messages.push_back(Message(froms[i], "N0CALL", "hello", i + 1));
        messages[i].count = counts[i];
        messages[i].time = CDateTime(2026, months[i], 1, 0, 0, 0);
    }
    MessageRows rows;
    rows.StartFill(messages, [](const CMessage&) { return true; });
    rows.AppendBatch(rows.TakeBatch());
    const auto keys = [&rows] {
        std::vector<uint64_t> out;
        for (size_t i = 0; i < rows.size(); ++i)
            out.push_back(rows.at(i).key);
        return out;
    };
    struct Step {
        int click;
        std::vector<uint64_t> keys;
    } steps[] = {
        {kMessageColumnFrom, {2, 4, 3, 1}},      // text without regard to case
        {kMessageColumnFrom, {1, 3, 4, 2}},      // second click reverses
        {kMessageColumnCount, {3, 4, 2, 1}},     // numbers, not text; ties keep order
        {kMessageColumnDateTime, {2, 4, 1, 3}},  // another column starts ascending
        {kMessageColumnDateTime, {3, 1, 4, 2}},
    };
    SortState sort;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.click);
        sort.Click(step.click);
        SortMessageRows(rows, sort, "K1ABC");
        EXPECT_EQ(keys(), step.keys);
        for (size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows.RowOf(rows.at(i).key), i);
    }
}

}  // namespace
}  // namespace plovane
