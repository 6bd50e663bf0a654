// SPDX-License-Identifier: GPL-3.0-or-later
// Station log reader: any bytes as a day file. Every record read back must carry a stamp
// that prints back to a stamp line which parses to the same values, a line free of LF, and
// the records must come out in stamp order.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/station_log.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plovane;
    LogReplaySet set;
    set.AddBytes(std::string(reinterpret_cast<const char*>(data), size));
    set.Sort();
    int64_t previous = INT64_MIN;
    for (const LogRecord& record : set.records()) {
        if (record.utcSeconds < previous || record.line.empty() ||
            record.line.find('\n') != std::string_view::npos) {
            std::abort();
        }
        previous = record.utcSeconds;
        int64_t utc = 0;
        LogDirection direction{};
        std::string_view source;
        const std::string stamp = StampLine(record.utcSeconds, record.direction, record.source);
        if (!ParseStampLine(stamp, utc, direction, source) || utc != record.utcSeconds ||
            direction != record.direction || source != record.source) {
            std::abort();
        }
    }
    if (set.records().size() + set.damaged() > size)
        std::abort();
    return 0;
}
