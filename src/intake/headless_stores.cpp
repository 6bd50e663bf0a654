// SPDX-License-Identifier: GPL-3.0-or-later
// Stores and intake for decoding without the program around them.
#include "intake/headless_stores.h"

namespace plovane {
namespace {

CStationSettings PreparedSettings(MemoryProfile& profile,
                                  const std::function<void(MemoryProfile&)>& prepare) {
    if (prepare)
        prepare(profile);
    CStationSettings settings;
    settings.Load(profile);
    return settings;
}

}  // namespace

HeadlessStores::HeadlessStores(const Clock& clock, AppHost& host,
                               const std::function<void(MemoryProfile&)>& prepare)
    : settings(PreparedSettings(profile, prepare)),
      stations(settings, clock, host, host),
      messages(settings, clock, host, host, [this] { return stations.OwnCall(); }),
      intake(clock, PacketTargets{host, stations, &messages}) {
    stations.ApplySettings(settings, false);
}

}  // namespace plovane
