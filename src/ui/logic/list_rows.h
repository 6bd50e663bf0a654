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
        size_t row = 0;  // the row updated or removed, or the index the appended row gets
    };

    // Drops every row and starts filling from `records` (the store's records in list order).
    void StartFill(std::vector<Record> records, Filter filter) {
        Clear();
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

    // Appends the rows of a batch, in order.
    void AppendBatch(std::vector<Record> batch) {
        for (Record& record : batch)
            Append(std::move(record));
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
            return {Change::Kind::kAppended, rows_.size()};
        return {};
    }

    // Carries out a classified change.
    void Apply(const Change& change, std::optional<Record> current) {
        switch (change.kind) {
            case Change::Kind::kUpdated:
                rows_[change.row] = std::move(*current);
                break;
            case Change::Kind::kAppended:
                Append(std::move(*current));
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
    // with equal keys keep their order.
    template <typename SortKeyOf>
    void SortByKey(SortKeyOf sortKeyOf, bool ascending) {
        using SortKey = decltype(sortKeyOf(std::declval<const Record&>()));
        std::vector<std::pair<SortKey, size_t>> keys;
        keys.reserve(rows_.size());
        for (size_t i = 0; i < rows_.size(); ++i)
            keys.emplace_back(sortKeyOf(rows_[i]), i);
        std::stable_sort(keys.begin(), keys.end(), [ascending](const auto& a, const auto& b) {
            return ascending ? a.first < b.first : b.first < a.first;
        });
        std::vector<Record> sorted;
        sorted.reserve(rows_.size());
        for (const auto& entry : keys)
            sorted.push_back(std::move(rows_[entry.second]));
        rows_ = std::move(sorted);
        Reindex();
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
};

}  // namespace plovane
