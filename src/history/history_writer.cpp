// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_writer.h"

#include <chrono>

#include "history/history_rows.h"

namespace plovane {

void HistoryWriter::Start() {
    std::lock_guard lock(mutex_);
    if (thread_.joinable())
        return;
    stop_ = false;
    running_ = true;
    thread_ = std::thread([this] { Run(); });
}

void HistoryWriter::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool HistoryWriter::Add(const DecodedPacket& packet, int64_t utcHeard, std::string_view line) {
    HistoryRows rows = HistoryRowsFrom(packet, utcHeard, line);
    if (rows.empty())
        return true;
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        if (queue_.size() >= kMaxQueued) {
            ++dropped_;
            return false;
        }
        queue_.push_back(std::move(rows));
        ++added_;
        wake = queue_.size() >= kBatchPackets;
    }
    if (wake)
        wake_.notify_one();
    return true;
}

void HistoryWriter::Flush() {
    std::unique_lock lock(mutex_);
    const uint64_t target = added_;
    flushWanted_ = true;
    wake_.notify_one();
    done_.wait(lock, [&] { return committed_ >= target || !running_; });
}

size_t HistoryWriter::dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

size_t HistoryWriter::written() const {
    std::lock_guard lock(mutex_);
    return written_;
}

void HistoryWriter::Run() {
    std::vector<HistoryRows> batch;
    std::unique_lock lock(mutex_);
    int64_t lastDay = INT64_MIN;
    for (;;) {
        wake_.wait_for(lock, std::chrono::milliseconds(kBatchMs),
                       [&] { return stop_ || flushWanted_ || queue_.size() >= kBatchPackets; });
        flushWanted_ = false;
        if (queue_.empty()) {
            done_.notify_all();
            if (stop_) {
                running_ = false;
                return;
            }
            continue;
        }
        batch.assign(std::make_move_iterator(queue_.begin()),
                     std::make_move_iterator(queue_.end()));
        queue_.clear();
        lock.unlock();

        // The stamp only moves forward: lines from several threads may come a little out of
        // order, and a batch of older lines must not make the log refill repeat newer ones.
        int64_t newest = INT64_MIN;
        for (const HistoryRows& rows : batch) {
            for (const auto& p : rows.positions)
                newest = std::max(newest, p.sample.utc);
            for (const auto& w : rows.weather)
                newest = std::max(newest, w.sample.utc);
            for (const auto& t : rows.telemetry)
                newest = std::max(newest, t.sample.utc);
            for (const auto& d : rows.definitions)
                newest = std::max(newest, d.utc);
            for (const auto& t : rows.texts)
                newest = std::max(newest, t.utc);
        }
        bool ok = store_.Insert(batch);
        if (!ok && store_.damaged()) {
            // Taken by another program or damaged: set it aside, start a new file, and let
            // the log fill it again.
            const std::filesystem::path path = store_.path();
            ok = store_.SetAside("a write failed", notice_) &&
                 store_.Open(path, notice_) != HistoryStore::OpenState::kFailed;
            // The log has these lines too: a refill brings them back with the rest.
            if (ok && refill_)
                refill_(store_);
            else if (ok)
                ok = store_.Insert(batch);
        }
        if (ok && newest != INT64_MIN && newest > store_.FilledUntil()) {
            store_.SetFilledUntil(newest);
            // Retention and the size bound are kept once a day of heard time.
            if (newest / 86400 != lastDay) {
                lastDay = newest / 86400;
                if (limits_.retentionDays > 0)
                    store_.PurgeBefore((lastDay - limits_.retentionDays) * 86400);
                store_.BoundSize(limits_.maxBytes);
            }
        }
        lock.lock();
        committed_ += batch.size();
        if (ok)
            written_ += batch.size();
        batch.clear();
        done_.notify_all();
    }
}

}  // namespace plovane
