// SPDX-License-Identifier: GPL-3.0-or-later
// Station list filters, row texts and sort keys.
#include "ui/logic/station_filter.h"

#include <algorithm>
#include <utility>

#include "ui/logic/display_utf8.h"
#include "ui/logic/natural_sort.h"

namespace plovane {

StationRowData StationRowOf(const CStation& station) {
    return {station.call,        station.comment,    station.lastInfo,
            station.symbolTable, station.symbolCode, station.killed,
            HeardText(station.heardWhere)};
}

std::vector<StationRowData> CollectStationRows(const CStationList& stations) {
    std::vector<StationRowData> rows;
    stations.ForEach([&rows](const CStation& station) { rows.push_back(StationRowOf(station)); });
    return rows;
}

std::optional<std::unordered_set<std::string>> CollectStationCalls(const CStationList& stations) {
    std::unordered_set<std::string> calls;
    if (!stations.ForEach([&calls](const CStation& station) { calls.insert(station.call); }))
        return std::nullopt;
    return calls;
}

bool StationFilter::Passes(const StationRowData& station) const {
    if (callMask.empty() && commentsMask.empty())
        return true;
    if (callMask.FoundIn(MatchText(station.call), regularExpression))
        return true;
    return !commentsMask.empty() &&
           (commentsMask.FoundIn(MatchText(station.comment), regularExpression) ||
            commentsMask.FoundIn(MatchText(station.lastInfo), regularExpression));
}

int StationListIcon(char symbolTable, char symbolCode) {
    const int index = (static_cast<unsigned char>(symbolCode) & 127) - 32;
    if (index < 0)
        return -1;
    return symbolTable == '/' ? index : index + 96;
}

std::string StationStatusText(const StationRowData& station) {
    if (station.killed)
        return kKilledText;
    std::string text;
    if (!station.comment.empty()) {
        text = '[';
        text += DisplayUtf8(station.comment);
        text += "] ";
    }
    text += DisplayUtf8(station.lastInfo);
    return text;
}

std::string StationCellText(const StationRowData& station, int column) {
    switch (column) {
        case kStationColumnCall:
            return DisplayUtf8(station.call);
        case kStationColumnStatus:
            return StationStatusText(station);
        case kStationColumnHeard:
            return station.heard;
        default:
            return {};
    }
}

std::string StationCountText(size_t shown, size_t total, bool loading) {
    if (total < shown)
        total = shown;
    if (loading)
        return "Loading " + std::to_string(shown) + " of " + std::to_string(total) + " stations";
    if (shown == total)
        return "Showing all " + std::to_string(total) + " stations";
    return "Showing " + std::to_string(shown) + " of " + std::to_string(total) + " stations";
}

namespace {

// The sort key of a column: the symbol code then the table character, the call in natural
// order (WATER-3 before WATER-21), or the comment in natural order.
struct StationSortKey {
    int column;
    auto operator()(const StationRowData& s) const {
        struct Key {
            std::pair<unsigned char, unsigned char> symbol;
            NaturalKey text;
            bool operator<(const Key& other) const {
                if (symbol != other.symbol)
                    return symbol < other.symbol;
                return text < other.text;
            }
        };
        if (column == kStationColumnIcon) {
            return Key{{static_cast<unsigned char>(s.symbolCode),
                        static_cast<unsigned char>(s.symbolTable)},
                       {}};
        }
        return Key{{}, {column == kStationColumnCall ? s.call : s.comment}};
    }
};

bool Sortable(const SortState& sort) {
    return sort.column >= kStationColumnIcon && sort.column <= kStationColumnStatus;
}

}  // namespace

void SortStationRows(StationRows& rows, const SortState& sort) {
    if (Sortable(sort))
        rows.SortByKey(StationSortKey{sort.column}, sort.ascending);
}

}  // namespace plovane
