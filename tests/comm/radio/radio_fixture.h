// SPDX-License-Identifier: GPL-3.0-or-later
// A scratch folder and a station (stores and intake) that decodes what a port hands it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/clock.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "intake/packet_intake.h"
#include "messages/message_list.h"
#include "stations/station_list.h"
#include "support/child_process.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace plovane::testing {

#define SKIP_WITHOUT_NAMESPACE()                    \
    if (!::plovane::testing::RadioNamespaceReady()) \
    GTEST_SKIP() << "needs a network namespace of its own (run as root)"

// Set by main: the suite runs in a network namespace of its own.
bool RadioNamespaceReady();

// A home of its own (`dir`/home) whose ALSA device "plovanetx" writes raw audio into `raw`:
// Direwolf started with HOME there transmits into that file.
inline void WriteAudioFileDevice(const ScratchDir& dir, const std::string& raw) {
    std::filesystem::create_directories(dir.path() / "home");
    std::ofstream(dir / "home/.asoundrc")
        << "pcm.plovanetx {\n type file\n slave.pcm \"null\"\n file \"" << raw
        << "\"\n format \"raw\"\n}\n";
}

struct RadioStation {
    explicit RadioStation(const std::string& myCall)
        : stations(settings, clock, host, host),
          messages(settings, clock, host, host, [this] { return stations.OwnCall(); }),
          intake(clock, PacketTargets{host, stations, &messages}) {
        profile.WriteString("Station", "MyCall", myCall);
        settings.Load(profile);
        stations.ApplySettings(settings, false);
        messages.ApplySettings(settings);
    }

    // Every station and message as text, for comparing two stations' stores.
    std::string Summary() const {
        std::ostringstream out;
        for (const CStation& s : stations.Snapshot()) {
            out << s.call << " pos=" << s.hasPosition << ":" << s.position.colatitude << ","
                << s.position.longitude << " sym=" << s.symbolTable << s.symbolCode
                << " cse=" << s.course << " spd=" << s.speed << " obj=" << s.owner
                << " path=" << s.path << " dest=" << s.destination << " cmt=" << s.comment
                << " wx=" << s.hasWeather << " info=" << s.lastInfo << "\n";
        }
        for (const CMessage& m : messages.Snapshot())
            out << "msg " << m.from << ">" << m.to << " #" << m.number << " " << m.text << "\n";
        return out.str();
    }

    RecordingHost host;
    MemoryProfile profile;
    FakeClock clock{CDateTime(2026, 3, 23, 12, 0, 0)};
    CStationSettings settings;
    CStationList stations;
    CMessageList messages;
    CPacketIntake intake;
};

}  // namespace plovane::testing
