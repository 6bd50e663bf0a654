// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/history_rebuild.h"

#include <vector>

#include "app/station_log.h"
#include "aprs/packet_decoder.h"
#include "history/history_rows.h"

namespace plovane {
namespace {

constexpr double kUnixEpochDays = 25569.0;  // OLE date of 1 January 1970
// Lines per transaction: large enough that the commit costs little and that each station
// gets several rows per batch (a batch writes each touched page of the tables once).
constexpr size_t kBatchLines = 200000;

}  // namespace

bool FillHistoryFromLog(HistoryStore& store, const std::filesystem::path& logFolder,
                        int64_t sinceUtc, std::string_view myCall, HistoryFill& fill,
                        int64_t untilUtc, std::stop_token stop) {
    std::vector<HistoryRows> batch;
    batch.reserve(kBatchLines);
    bool ok = true;
    const auto write = [&] {
        if (batch.empty())
            return;
        ok = store.Insert(batch) && ok;
        batch.clear();
    };
    // The whole log, however large; streamed, so memory stays at a few chunks.
    LogReplaySet set(INT64_MAX);
    // Set once a stop was taken: the reading ends with the chunk at hand.
    std::stop_source cut;
    set.StopWhen(cut.get_token());
    int64_t lastUtc = INT64_MIN;  // the stamp of the last line taken
    set.StreamTo([&](std::span<const LogRecord> records) {
        for (const LogRecord& record : records) {
            if (cut.stop_requested() || record.direction != LogDirection::kReceived ||
                record.utcSeconds >= untilUtc)
                continue;
            // Batches, and a stop, fall between two seconds of the log: what is written
            // then ends with a whole second, the one the database says it is filled until.
            if (record.utcSeconds != lastUtc &&
                (batch.size() >= kBatchLines || stop.stop_requested())) {
                write();
                if (stop.stop_requested()) {
                    cut.request_stop();
                    continue;
                }
            }
            lastUtc = record.utcSeconds;
            ++fill.lines;
            fill.newestUtc = std::max(fill.newestUtc, record.utcSeconds);
            // Decoded in UTC: a report's own time stamp reads against the time it was heard.
            const CDateTime heard(kUnixEpochDays +
                                  static_cast<double>(record.utcSeconds) / 86400.0);
            const DecodedPacket packet(record.line, heard, 0, myCall);
            HistoryRows rows = HistoryRowsFrom(packet, record.utcSeconds, record.line);
            if (!rows.empty())
                batch.push_back(std::move(rows));
        }
    });
    set.AddFolder(logFolder, sinceUtc);
    write();
    fill.damaged += set.damaged();
    if (ok && fill.newestUtc != INT64_MIN && fill.newestUtc > store.FilledUntil())
        store.SetFilledUntil(fill.newestUtc);
    return ok;
}

bool RebuildHistory(HistoryStore& store, const std::filesystem::path& logFolder,
                    std::string_view myCall, HistoryFill& fill, int64_t untilUtc,
                    std::stop_token stop) {
    if (!store.Clear())
        return false;
    store.SetBulkMode(true);
    // From 1970 on: every day file, without an open-ended time the reader cannot take.
    const bool ok = FillHistoryFromLog(store, logFolder, 0, myCall, fill, untilUtc, stop);
    store.SetBulkMode(false);
    return ok;
}

bool BringHistoryUpToDate(HistoryStore& store, HistoryStore::OpenState state,
                          const std::filesystem::path& logFolder, std::string_view myCall,
                          HistoryFill& fill, int64_t untilUtc, std::stop_token stop) {
    if (state == HistoryStore::OpenState::kFailed)
        return false;
    if (state != HistoryStore::OpenState::kOpened || store.FilledUntil() == INT64_MIN)
        return RebuildHistory(store, logFolder, myCall, fill, untilUtc, stop);
    return FillHistoryFromLog(store, logFolder, store.FilledUntil() + 1, myCall, fill, untilUtc,
                              stop);
}

}  // namespace plovane
