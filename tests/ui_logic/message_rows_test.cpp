// The message window's rows: batch fill, live changes, removal and sorting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages/message_test_support.h"
#include "ui/logic/message_filter.h"

namespace plovane {
namespace {

using Change = MessageRows::Change;

std::vector<CMessage> Numbered(int count) {
    std::vector<CMessage> messages;
    for (int i = 1; i <= count; ++i) {
        CMessage m;
        m.key = static_cast<uint64_t>(i);
        m.from = "W" + std::to_string(i);
        m.to = i % 2 == 0 ? "BLN1" : "N0CALL";
        m.text = "text " + std::to_string(i);
        messages.push_back(m);
    }
    return messages;
}

MessageRows::Filter PassAll() {
    return [](const CMessage&) { return true; };
}

// Runs one fill tick as the window does and returns the status line after it.
std::string Tick(MessageRows& rows, size_t total) {
    rows.AppendBatch(rows.TakeBatch());
    return MessageStatusText(rows.size(), total, rows.Loading());
}

std::vector<uint64_t> Keys(const MessageRows& rows) {
    std::vector<uint64_t> keys;
    for (size_t i = 0; i < rows.size(); ++i)
        keys.push_back(rows.at(i).key);
    return keys;
}

TEST(MessageRows, FilteredFillCountsThePassingRowsAgainstTheTotal) {
    MessageRows rows;
    MessageFilter bulletins;
    bulletins.view = MessageView::kBulletins;
    rows.StartFill(Numbered(60), [&](const CMessage& m) { return bulletins.Passes(m); });
    EXPECT_EQ(Tick(rows, 60), "Loading 12 of 60 messages");
    EXPECT_EQ(Tick(rows, 60), "Loading 25 of 60 messages");
    EXPECT_EQ(Tick(rows, 60), "Showing 30 of 60 messages");
}

TEST(MessageRows, ChangesWhileFillingAreNotOverwrittenOrDoubled) {
    MessageRows rows;
    std::vector<CMessage> store = Numbered(60);
    rows.StartFill(store, PassAll());
    rows.AppendBatch(rows.TakeBatch());

    // A message not reached yet changes: it gets its row now, with its new values.
    CMessage changed = store[39];
    changed.count = 7;
    Change change = rows.Classify(changed.key, changed, PassAll());
    EXPECT_EQ(change.kind, Change::Kind::kAppended);
    EXPECT_EQ(change.row, 25u);
    rows.Apply(change, changed);
    // A message not reached yet is deleted: no row, now or later.
    change = rows.Classify(45, std::nullopt, PassAll());
    EXPECT_EQ(change.kind, Change::Kind::kNone);

    while (rows.Loading())
        rows.AppendBatch(rows.TakeBatch());
    const std::vector<uint64_t> keys = Keys(rows);
    EXPECT_EQ(keys.size(), 59u);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), 40u), 1);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), 45u), 0);
    EXPECT_EQ(rows.at(*rows.RowOf(40)).count, 7);
}

TEST(MessageRows, ChangedRowIsRewrittenInPlaceWithoutTheFilter) {
    MessageRows rows;
    rows.StartFill(Numbered(3), PassAll());
    rows.AppendBatch(rows.TakeBatch());
    CMessage updated = rows.at(1);
    updated.acked = true;
    const auto rejectAll = [](const CMessage&) { return false; };
    const Change change = rows.Classify(updated.key, updated, rejectAll);
    EXPECT_EQ(change.kind, Change::Kind::kUpdated);
    EXPECT_EQ(change.row, 1u);
    rows.Apply(change, updated);
    EXPECT_TRUE(rows.at(1).acked);
    // A new message that the filter refuses gets no row.
    CMessage fresh = Numbered(4).back();
    EXPECT_EQ(rows.Classify(fresh.key, fresh, rejectAll).kind, Change::Kind::kNone);
    EXPECT_EQ(rows.size(), 3u);
}

TEST(MessageRows, ColumnClicksSortAndReverse) {
    std::vector<CMessage> messages = Numbered(4);
    const char* froms[] = {"delta", "Alpha", "charlie", "BRAVO"};
    const int counts[] = {10, 2, 0, 2};
    const int months[] = {3, 1, 4, 2};
    for (size_t i = 0; i < messages.size(); ++i) {
        messages[i].from = froms[i];
        messages[i].count = counts[i];
        messages[i].time = CDateTime(2026, months[i], 1, 0, 0, 0);
    }
    MessageRows rows;
    rows.StartFill(messages, PassAll());
    rows.AppendBatch(rows.TakeBatch());

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
        EXPECT_EQ(Keys(rows), step.keys);
        for (size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows.RowOf(rows.at(i).key), i);
    }
}

}  // namespace
}  // namespace plovane
