// SPDX-License-Identifier: GPL-3.0-or-later
// Fills the history database from the station log's day files: the log is the source of
// truth and the database its index, so a missing, damaged or stale database is made again
// from the received lines, decoded as they were heard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stop_token>
#include <string_view>

#include "history/history_store.h"

namespace plovane {

struct HistoryFill {
    size_t lines = 0;    // received lines read
    size_t damaged = 0;  // damaged log records skipped
    int64_t newestUtc = INT64_MIN;
};

// Adds the received lines of the day files in `logFolder` stamped at or after `sinceUtc`
// and before `untilUtc` (from then on the running station adds what it hears itself).
// Packets from `myCall` count as our own, as when they were heard. False when the
// database refused a batch. Once `stop` is requested the fill ends at the next second of
// the log: the database holds every line up to there and says so, and the next fill goes
// on from the second after.
bool FillHistoryFromLog(HistoryStore& store, const std::filesystem::path& logFolder,
                        int64_t sinceUtc, std::string_view myCall, HistoryFill& fill,
                        int64_t untilUtc = INT64_MAX, std::stop_token stop = {});

// Empties the database and fills it from the whole log (before `untilUtc`).
bool RebuildHistory(HistoryStore& store, const std::filesystem::path& logFolder,
                    std::string_view myCall, HistoryFill& fill, int64_t untilUtc = INT64_MAX,
                    std::stop_token stop = {});

// After Open: a new or set-aside database is filled from the whole log, an existing one
// with what the log holds after the last line it has.
bool BringHistoryUpToDate(HistoryStore& store, HistoryStore::OpenState state,
                          const std::filesystem::path& logFolder, std::string_view myCall,
                          HistoryFill& fill, int64_t untilUtc = INT64_MAX,
                          std::stop_token stop = {});

}  // namespace plovane
