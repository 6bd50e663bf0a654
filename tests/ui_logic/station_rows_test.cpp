// SPDX-License-Identifier: GPL-3.0-or-later
// The station window's filter, rows, texts and sorting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stations/store_fixture.h"
#include "ui/logic/station_actions.h"
#include "ui/logic/station_filter.h"

namespace plovane {
namespace {

StationRowData Row(std::string call, std::string comment = {}, std::string lastInfo = {},
                   char table = '/', char code = '>') {
    return {std::move(call), std::move(comment), std::move(lastInfo), table, code};
}

StationFilter Filter(const char* callMask, const char* commentsMask, bool regex = false) {
    return {TextMask(callMask), TextMask(commentsMask), regex};
}

TEST(StationFilter, MasksOnCallCommentAndLastInformation) {
    const StationRowData stations[] = {
        Row("W5ABC", "", "on the air"),
        Row("K1ABC", "Sunny wx", ""),
        Row("N0CALL-9", "", ">mobile sunny"),
        Row("KB2W", "", ""),
    };
    struct Case {
        const char* callMask;
        const char* commentsMask;
        bool regex;
        std::vector<bool> passes;
    } cases[] = {
        {"", "", false, {true, true, true, true}},
        {"w", "", false, {true, false, false, true}},  // either case
        {"ZZ", "SUNNY", false, {false, true, true, false}},
        {"^K", "", true, {false, true, false, true}},
        {"^K", "", false, {false, false, false, false}},
        {"", "^>", true, {false, false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.callMask) + "|" + c.commentsMask);
        const StationFilter filter = Filter(c.callMask, c.commentsMask, c.regex);
        for (size_t i = 0; i < std::size(stations); ++i)
            EXPECT_EQ(filter.Passes(stations[i]), c.passes[i]) << stations[i].call;
    }
}

TEST(StationRow, IconIndexAndStatusColumn) {
    EXPECT_EQ(StationListIcon('\\', '>'), 126);
    EXPECT_EQ(StationListIcon('5', '>'), 126);  // an overlay counts as the alternate table
    EXPECT_EQ(StationListIcon('/', '\x7F'), 95);
    EXPECT_EQ(StationListIcon('/', static_cast<char>(0xBE)), 30);  // high bit dropped
    EXPECT_EQ(StationListIcon('/', '\x05'), -1);

    EXPECT_EQ(StationStatusText(Row("A", "", "info")), "info");
    EXPECT_EQ(StationStatusText(Row("A", "note", "")), "[note] ");
    EXPECT_EQ(StationStatusText(Row("A", "<b>x</b>", "caf\xE9")), "[<b>x</b>] caf\xC3\xA9");
    StationRowData killed = Row("OBJ", "", "_4714.31N/12220.65W>");
    killed.killed = true;
    EXPECT_EQ(StationStatusText(killed), "Killed");
}

TEST(StationRows, SortKeys) {
    StationRows rows;
    rows.StartFill(
        {Row("a", "b", "", '\\', '>'), Row("B", "A", "", '/', '>'), Row("C", "", "zzz", '/', '-')},
        nullptr);
    rows.AppendBatch(rows.TakeBatch());
    auto calls = [&rows] {
        std::string out;
        for (size_t i = 0; i < rows.size(); ++i)
            out += rows.at(i).call;
        return out;
    };
    SortState sort;
    sort.Click(kStationColumnIcon);  // code, then table character ('/' < '\\')
    SortStationRows(rows, sort);
    EXPECT_EQ(calls(), "CBa");
    sort.Click(kStationColumnCall);  // natural order, letters without regard to case
    SortStationRows(rows, sort);
    EXPECT_EQ(calls(), "aBC");
    sort.Click(kStationColumnStatus);  // the comment alone
    SortStationRows(rows, sort);
    EXPECT_EQ(calls(), "CBa");
}

TEST(StationActions, PromptsAndAddressees) {
    testing::StoreFixture store;
    store.Report("W5ABC");
    store.list.UpdatePosition("BALLOON", "/O", "4903.50N", "07201.75W", "", "", -1);
    store.list.SetObjectOwner("BALLOON", "K1ABC");
    store.list.UpdatePosition("GONE-OBJ", "/O", "4903.50N", "07201.75W", "", "", -1);
    store.list.SetObjectOwner("GONE-OBJ", "K1ABC");
    store.list.MarkObjectKilled("GONE-OBJ");
    std::vector<std::string> shown;
    std::vector<std::string> presets;
    StationListActions actions(
        store.list, store.host, [&](const CStation& s) { shown.push_back(s.call); },
        [&](const std::string& preset) { presets.push_back(preset); });

    EXPECT_FALSE(actions.Info(std::nullopt));
    EXPECT_FALSE(actions.SendMessage(std::string("GONE")));
    ASSERT_EQ(store.host.boxes().size(), 2u);
    EXPECT_EQ(store.host.boxes()[0].text, kSelectForInfoText);
    EXPECT_EQ(store.host.boxes()[1].text, kSelectForMessageText);
    EXPECT_EQ(store.host.boxes()[1].icon, MessageBoxIcon::kExclamation);

    EXPECT_TRUE(actions.Info(std::string("W5ABC")));
    EXPECT_TRUE(actions.SendMessage(std::string("W5ABC")));
    EXPECT_TRUE(actions.SendMessage(std::string("BALLOON")));
    EXPECT_TRUE(actions.SendMessage(std::string("GONE-OBJ")));  // killed: no dialog
    EXPECT_EQ(shown, std::vector<std::string>{"W5ABC"});
    EXPECT_EQ(presets, (std::vector<std::string>{"W5ABC", "K1ABC"}));
}

}  // namespace
}  // namespace plovane
