// SPDX-License-Identifier: GPL-3.0-or-later
// The station and message stores and the packet intake wired as the program wires them, over
// settings kept in memory: for the tools and benchmarks that decode without a window, ports
// or output scheduler.
#pragma once

#include <functional>

#include "core/app_host.h"
#include "core/clock.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "intake/packet_intake.h"
#include "messages/message_list.h"
#include "stations/station_list.h"

namespace plovane {

// Thread-affine to whoever made it; the stores inside are thread-safe as ever.
struct HeadlessStores {
    // `prepare` writes the settings wanted over a fresh installation's defaults.
    HeadlessStores(const Clock& clock, AppHost& host,
                   const std::function<void(MemoryProfile&)>& prepare);

    MemoryProfile profile;
    CStationSettings settings;
    CStationList stations;
    CMessageList messages;
    CPacketIntake intake;
};

}  // namespace plovane
