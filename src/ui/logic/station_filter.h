// SPDX-License-Identifier: GPL-3.0-or-later
// What the "Stations" window lists and how each row reads: the two masks, the symbol icon
// index, the "[Comments] Status" text, the sort keys and the count text.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "stations/station_list.h"
#include "ui/logic/list_rows.h"
#include "ui/logic/text_mask.h"

namespace plovane {

// The part of a station record a row shows, copied so that no row points into the store.
// What the lists and Station Info show for a killed object or item instead of its texts.
inline constexpr char kKilledText[] = "Killed";

struct StationRowData {
    std::string call;
    std::string comment;
    std::string lastInfo;
    char symbolTable = '\\';
    char symbolCode = '0';
    bool killed = false;  // a killed object or item: its texts are not shown
    std::string heard{};  // where it was heard: "RF port 1 via N0DIG-1, Internet"
};
StationRowData StationRowOf(const CStation& station);
// The rows of every record in list order, and the calls the store holds, each read in one
// pass under the store's lock (no track copies). The calls are nothing when the lock could
// not be had, so that a busy store is not taken for an empty one.
std::vector<StationRowData> CollectStationRows(const CStationList& stations);
std::optional<std::unordered_set<std::string>> CollectStationCalls(const CStationList& stations);

struct StationFilter {
    TextMask callMask;      // found in the call
    TextMask commentsMask;  // found in the comment or the last information text
    bool regularExpression = false;

    // Both masks empty: every station. Otherwise the call mask in the call, or the comments
    // mask in the comment or the last information text; an empty mask matches nothing.
    bool Passes(const StationRowData& station) const;
};

// The icon of a row among the 192 of the list (96 primary, then 96 alternate):
// (code AND 127) - 32, plus 96 when the table is not "/"; -1 for a control-character code,
// which has no icon.
inline constexpr int kStationListIcons = 192;
int StationListIcon(char symbolTable, char symbolCode);

enum StationColumn : int {
    kStationColumnIcon,
    kStationColumnCall,
    kStationColumnStatus,
    kStationColumnHeard,
    kStationColumns
};
inline constexpr std::array<const char*, kStationColumns> kStationColumnTitles = {
    "", "Call", "[Comments] Status", "Heard"};
inline constexpr std::array<int, kStationColumns> kStationColumnWidths = {23, 70, 300, 160};

// "[" + comment + "] " when there is a comment, then the last information text (UTF-8).
std::string StationStatusText(const StationRowData& station);
std::string StationCellText(const StationRowData& station, int column);

// "Loading 25 of 60 stations", "Showing all 60 stations", "Showing 3 of 60 stations".
std::string StationCountText(size_t shown, size_t total, bool loading);

struct StationKeyOf {
    const std::string& operator()(const StationRowData& station) const { return station.call; }
};
using StationRows = ListRows<StationRowData, std::string, StationKeyOf>;

// Sorts by a column: the symbol code then the table character, the call, or the comment
// alone; texts in natural order (digit runs by value). Equal keys keep their order. The rows
// keep the order for their later fills and new rows.
void SortStationRows(StationRows& rows, const SortState& sort);

}  // namespace plovane
