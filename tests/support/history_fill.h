// SPDX-License-Identifier: GPL-3.0-or-later
// A real history database filled as the intake fills it: each line decoded by the packet
// decoder and its rows written by the history store, at the time it was heard.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "aprs/packet_decoder.h"
#include "history/history_rows.h"
#include "history/history_store.h"

namespace plovane::testing {

struct Heard {
    int64_t utc;
    std::string line;
};

inline void FillHistory(const std::filesystem::path& path, const std::vector<Heard>& heard) {
    std::filesystem::create_directories(path.parent_path());
    HistoryStore store;
    ASSERT_NE(store.Open(path), HistoryStore::OpenState::kFailed);
    std::vector<HistoryRows> batch;
    for (const Heard& h : heard) {
        const DecodedPacket packet = Decode(h.line, CDateTime(2026, 12, 6, 12, 0, 0), 0, "N0CALL");
        batch.push_back(HistoryRowsFrom(packet, h.utc, h.line));
    }
    ASSERT_TRUE(store.Insert(batch));
}

}  // namespace plovane::testing
