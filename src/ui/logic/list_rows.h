// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of a list window, kept apart from the widget: a batch fill from a copy of the
// store taken when the fill starts, live changes by key while and after it runs, removal of
// rows whose record is gone, and sorting. The Qt table models wrap one of these; every
// change is first classified (so the wrapper can announce it) and then applied.
//
// Thread-compatible: used on the user-interface thread only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "ui/logic/list_text.h"

namespace plovane {

// Record: the copied data of one row. KeyOf: Key(const Record&), the store's identity of the
// record (a message key, a call).
template <typename Record, typename Key, typename KeyOf>
class ListRows {
  public:
    using Filter = std::function<bool(const Record&)>;
    static Key KeyOfRecord(const Record& record) { return KeyOf{}(record); }

    struct Change {
        enum class Kind { kNone, kUpdated, kAppended, kRemoved };
        Kind kind = Kind::kNone;
        size_t row = 0;  // the row updated or removed, or the row a new record is inserted at
    };

    // Drops every row and starts filling from `records` (the store's records in list order),
    // in the sort order when one is set.
    void StartFill(std::vector<Record> records, Filter filter) {
        Clear();
        if (sortRecords_)
            sortRecords_(records, 0);
        pending_ = std::move(records);
        filter_ = std::move(filter);
    }

    bool Loading() const { return cursor_ < pending_.size(); }

    // The records of the next batch that pass the filter, without adding them; the cursor
    // moves past the batch. Records that a change already dealt with are left out.
    std::vector<Record> TakeBatch(size_t batch = kFillBatch) {
        std::vector<Record> taken;
        const size_t end = std::min(pending_.size(), cursor_ + batch);
        for (; cursor_ < end; ++cursor_) {
            Record& record = pending_[cursor_];
            const Key key = KeyOf{}(record);
            if (index_.count(key) != 0 || handled_.count(key) != 0)
                continue;
            if (!filter_ || filter_(record))
                taken.push_back(std::move(record));
        }
        if (!Loading()) {
            pending_ = {};
            handled_ = {};
        }
        return taken;
    }

    // Whether a batch of the fill goes after the last row as it is: always, unless a change
    // inserted a row during the fill that sorts after the batch's first.
    bool BatchFollowsRows(const std::vector<Record>& batch) const {
        return !less_ || rows_.empty() || batch.empty() || !less_(batch.front(), rows_.back());
    }

    // Appends the rows of a batch, in order.
    void AppendBatch(std::vector<Record> batch) {
        for (Record& record : batch)
            Append(std::move(record));
    }

    // The row Insert gives `record`: the first that sorts after it, or the end when the rows
    // are not sorted.
    size_t InsertionRow(const Record& record) const {
        if (!less_)
            return rows_.size();
        return static_cast<size_t>(std::upper_bound(rows_.begin(), rows_.end(), record, less_) -
                                   rows_.begin());
    }

    // Adds one row where the sort order puts it (after rows that sort equal), or at the end
    // when the rows are not sorted; returns its row.
    size_t Insert(Record record) {
        const size_t row = InsertionRow(record);
        if (row == rows_.size()) {
            Append(std::move(record));
            return row;
        }
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), std::move(record));
        for (size_t i = row; i < rows_.size(); ++i)
            index_[KeyOf{}(rows_[i])] = i;
        return row;
    }

    // What a change of the record `key` does: `current` is the record as the store holds it
    // now, or nothing when it is gone. A row is rewritten in place (the filter is not applied
    // again) or dropped; a record without a row gets one when it passes `filter`.
    Change Classify(const Key& key, const std::optional<Record>& current, const Filter& filter) {
        if (Loading())
            handled_.insert(key);  // the fill must not add its older copy later
        const auto found = index_.find(key);
        if (found != index_.end()) {
            return {current ? Change::Kind::kUpdated : Change::Kind::kRemoved, found->second};
        }
        if (current && (!filter || filter(*current)))
            return {Change::Kind::kAppended, InsertionRow(*current)};
        return {};
    }

    // Carries out a classified change.
    void Apply(const Change& change, std::optional<Record> current) {
        switch (change.kind) {
            case Change::Kind::kUpdated:
                rows_[change.row] = std::move(*current);
                break;
            case Change::Kind::kAppended:
                Insert(std::move(*current));
                break;
            case Change::Kind::kRemoved:
                Remove(change.row);
                break;
            case Change::Kind::kNone:
                break;
        }
    }

    // The rows whose record no longer exists, highest row first (so they can be removed one
    // by one without renumbering the others).
    std::vector<size_t> MissingRows(const std::function<bool(const Key&)>& exists) const {
        std::vector<size_t> missing;
        for (size_t row = rows_.size(); row-- > 0;) {
            if (!exists(KeyOf{}(rows_[row])))
                missing.push_back(row);
        }
        return missing;
    }

    // Removes rows given highest first (as MissingRows lists them), renumbering once.
    void RemoveRows(const std::vector<size_t>& rowsHighestFirst) {
        for (const size_t row : rowsHighestFirst) {
            if (row < rows_.size())
                rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
        }
        Reindex();
    }

    void Remove(size_t row) {
        if (row >= rows_.size())
            return;
        index_.erase(KeyOf{}(rows_[row]));
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
        for (size_t i = row; i < rows_.size(); ++i)
            index_[KeyOf{}(rows_[i])] = i;
    }

    // Sorts the rows by a key computed once per row (text keys are costly to build); rows
    // with equal keys keep their order. The order stays: later fills come in it and new
    // rows are inserted where it puts them.
    template <typename SortKeyOf>
    void SortByKey(SortKeyOf sortKeyOf, bool ascending) {
        less_ = [sortKeyOf, ascending](const Record& a, const Record& b) {
            return ascending ? sortKeyOf(a) < sortKeyOf(b) : sortKeyOf(b) < sortKeyOf(a);
        };
        // Sorts records[from..].
        sortRecords_ = [sortKeyOf, ascending](std::vector<Record>& records, size_t from) {
            using SortKey = decltype(sortKeyOf(std::declval<const Record&>()));
            std::vector<std::pair<SortKey, size_t>> keys;
            keys.reserve(records.size() - std::min(from, records.size()));
            for (size_t i = from; i < records.size(); ++i)
                keys.emplace_back(sortKeyOf(records[i]), i);
            std::stable_sort(keys.begin(), keys.end(), [ascending](const auto& a, const auto& b) {
                return ascending ? a.first < b.first : b.first < a.first;
            });
            std::vector<Record> sorted;
            sorted.reserve(keys.size());
            for (const auto& entry : keys)
                sorted.push_back(std::move(records[entry.second]));
            std::move(sorted.begin(), sorted.end(),
                      records.begin() + static_cast<std::ptrdiff_t>(from));
        };
        sortRecords_(rows_, 0);
        Reindex();
        // The part of a running fill still to come follows the same order.
        if (Loading())
            sortRecords_(pending_, cursor_);
    }

    void Clear() {
        rows_.clear();
        index_.clear();
        pending_.clear();
        handled_.clear();
        cursor_ = 0;
    }

    size_t size() const { return rows_.size(); }
    const Record& at(size_t row) const { return rows_.at(row); }
    std::optional<size_t> RowOf(const Key& key) const {
        const auto found = index_.find(key);
        if (found == index_.end())
            return std::nullopt;
        return found->second;
    }

  private:
    void Append(Record record) {
        index_[KeyOf{}(record)] = rows_.size();
        rows_.push_back(std::move(record));
    }

    void Reindex() {
        index_.clear();
        for (size_t i = 0; i < rows_.size(); ++i)
            index_[KeyOf{}(rows_[i])] = i;
    }

    std::vector<Record> rows_;
    std::unordered_map<Key, size_t> index_;
    // The fill: the copied records, the next one to test, and the keys that changes dealt
    // with while the fill was running.
    std::vector<Record> pending_;
    size_t cursor_ = 0;
    std::unordered_set<Key> handled_;
    Filter filter_;
    // The sort order, once the rows were sorted: a comparison, and the sort of many records
    // with their keys computed once each.
    std::function<bool(const Record&, const Record&)> less_;
    std::function<void(std::vector<Record>&, size_t)> sortRecords_;
};

}  // namespace plovane
