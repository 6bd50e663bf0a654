// Feeds bytes to the map recogniser and reader as the contents of a map file.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "core/null_host.h"
#include "core/app_host.h"
#include "core/clock.h"
#include "maps/map_data.h"
#include "maps/map_reader.h"

namespace {

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::istringstream in(bytes);
        (void)plovane::ProbeMapFile(in, "/maps/FUZZ.MAP");
    }
    plovane::FakeClock clock;
    plovane::NullHost host;
    plovane::CMapData map(clock);
    std::istringstream in(bytes);
    plovane::ReadMap(map, in, "/maps/FUZZ.MAP", host);
    // A loaded map always ends with a move record that closes its last polyline.
    if (map.loaded && (map.points.empty() || map.points.back().code != plovane::kMoveCode)) {
        __builtin_trap();
    }
    for (const auto& label : map.labels) {
        if (label.text.size() > plovane::kMaxLabelText)
            __builtin_trap();
    }
    return 0;
}
