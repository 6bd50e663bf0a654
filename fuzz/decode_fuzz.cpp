// SPDX-License-Identifier: GPL-3.0-or-later
// Monitor lines of arbitrary bytes through the whole decoder into a small real station list
// and message store: every line is cut at CR/LF as the intake would, decoded and applied,
// and the store must stay within its limit.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/null_host.h"
#include "intake/headless_stores.h"

namespace {

constexpr int kLimit = 50;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plovane::FakeClock clock;
    plovane::NullHost host;
    plovane::HeadlessStores stores(clock, host, [](plovane::MemoryProfile& profile) {
        profile.WriteString("Station", "MyCall", "N0OWN");
        profile.WriteInt("Station", "bLimitStations", 1);
        profile.WriteInt("Station", "LimitStations", kLimit);
        profile.WriteInt("Station", "bTrack", 1);
    });

    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    size_t begin = 0;
    while (begin < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", begin);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        stores.intake.DecodeLineAs(bytes.substr(begin, end - begin), "FUZZ>", "N0OWN");
        begin = end;
    }
    if (stores.stations.Count() > static_cast<size_t>(kLimit))
        std::abort();
    return 0;
}
