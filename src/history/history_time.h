// SPDX-License-Identifier: GPL-3.0-or-later
// Times typed on the command line for a history period.
#pragma once

#include <cstdint>
#include <string_view>

namespace plovane {

// Reads `text` as a UTC time in Unix seconds: "2026-12-06", "2026-12-06T13:58",
// "2026-12-06T13:58:21Z" (a blank for the T and a missing Z are taken too), "now", a time
// before `nowUtc` such as "-90m", "-24h", "-7d" or "-30s", or Unix seconds "@1796565501".
// False for anything else (an impossible date, a number too long).
bool ParseHistoryTime(std::string_view text, int64_t nowUtc, int64_t& utc);

}  // namespace plovane
