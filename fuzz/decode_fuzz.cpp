// Monitor lines of arbitrary bytes through the whole decoder into a small real station list
// and message store: every line is cut at CR/LF as the intake would, decoded and applied,
// and the store must stay within its limit.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/app_host.h"
#include "core/clock.h"
#include "core/null_host.h"
#include "core/profile.h"
#include "intake/packet_intake.h"
#include "messages/message_list.h"
#include "stations/station_list.h"
#include "core/station_settings.h"

namespace {

constexpr int kLimit = 50;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plovane::MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0OWN");
    profile.WriteInt("Station", "bLimitStations", 1);
    profile.WriteInt("Station", "LimitStations", kLimit);
    profile.WriteInt("Station", "bTrack", 1);
    plovane::CStationSettings settings;
    plovane::FakeClock clock;
    plovane::NullHost host;
    plovane::CStationList stations(settings, clock, host, host);
    settings.Load(profile);
    stations.ApplySettings(settings, false);
    plovane::CMessageList messages(settings, clock, host, host, [] { return std::string("N0OWN"); });
    plovane::CPacketIntake intake(clock, plovane::PacketTargets{host, stations, &messages});

    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    size_t begin = 0;
    while (begin < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", begin);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        intake.DecodeLineAs(bytes.substr(begin, end - begin), "FUZZ>", "N0OWN");
        begin = end;
    }
    if (stations.Count() > static_cast<size_t>(kLimit))
        std::abort();
    return 0;
}
