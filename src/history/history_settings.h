// SPDX-License-Identifier: GPL-3.0-or-later
// The history database's settings, in the "History" section. One table declares each
// setting once; it drives load, save and the setup page.
#pragma once

#include <array>
#include <cstdint>

#include "core/profile.h"

namespace plovane {

struct CHistorySettings {
    int32_t bHistory = 1;          // keep the history database
    int32_t HistoryMaxMiB = 2048;  // bound on the file; 0 leaves it unbounded

    void Load(const Profile& profile);
    void Save(Profile& profile) const;
    int64_t maxBytes() const { return int64_t{HistoryMaxMiB} * 1024 * 1024; }
};

struct HistorySetting {
    const char* key;
    const char* label;  // on the setup page
    int32_t defaultValue;
    int32_t min, max;
    int32_t CHistorySettings::*member;
};

inline constexpr const char* kHistorySection = "History";

inline constexpr std::array<HistorySetting, 2> kHistorySettings{{
    {"bHistory", "Keep a &history database", 1, 0, 1, &CHistorySettings::bHistory},
    {"HistoryMaxMiB", "History database &size limit (MiB)", 2048, 0, 1 << 20,
     &CHistorySettings::HistoryMaxMiB},
}};

}  // namespace plovane
