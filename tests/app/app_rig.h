// SPDX-License-Identifier: GPL-3.0-or-later
// The application core against a loopback APRS-IS server, the user-interface thread on demand.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/plovane_app.h"
#include "comm/ax25.h"
#include "comm/kiss.h"
#include "comm/net_loopback.h"
#include "support/recording_host.h"

namespace plovane::testing {

// The KISS frame of a monitor line ("*" marks a used hop).
inline std::string KissFrameOf(std::string_view monitorLine) {
    Ax25Frame frame;
    EXPECT_TRUE(ParseMonitorLine(monitorLine, frame));
    const std::vector<uint8_t> bytes = KissDataFrame(0, EncodeAx25(frame));
    return std::string(bytes.begin(), bytes.end());
}

// The monitor lines of the KISS data frames in `bytes`.
inline std::vector<std::string> KissMonitorLines(const std::string& bytes) {
    std::vector<std::string> lines;
    KissDeframer deframer;
    deframer.Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                  [&](uint8_t, const uint8_t* data, size_t length) {
                      Ax25Frame frame;
                      if (DecodeAx25(data, length, frame) == Ax25Error{})
                          lines.push_back(Ax25MonitorLine(frame));
                  });
    return lines;
}

// The application as network station N0CALL-9 on a server of its own, logged in; no scheduled
// status, as the start-up announcement could race the connection.
struct NetStation {
    NetStation(Profile& profile, const Clock& clock, const AppStartOptions& options = {})
        : app(profile, host, clock) {
        EXPECT_TRUE(server.ok());
        profile.WriteString("Station", "MyCall", "N0CALL-9");
        profile.WriteInt("Station", "TransmitStatus", 0);
        profile.WriteInt("Comm", "NetEnabled", 1);
        profile.WriteString("Comm", "HostAddress", server.host());
        profile.WriteString("Comm", "HostPort", server.port());
        EXPECT_TRUE(app.Start(options));
        EXPECT_TRUE(server.Accept());
        login = server.ReadLine();
        EXPECT_TRUE(server.Send("# logresp N0CALL-9 verified, server T2TEST\r\n"));
    }

    // Plays the user-interface thread: hands the posted messages on until `done` or 10 s pass.
    template <typename Done>
    bool PumpUntil(Done done) {
        using namespace std::chrono_literals;
        for (auto end = std::chrono::steady_clock::now() + 10s;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(5ms)) {
            const auto posts = host.posts();
            for (; handled < posts.size(); ++handled)
                app.OnThreadMessage(posts[handled].first, posts[handled].second);
            if (done())
                return true;
        }
        return false;
    }

    LoopbackServer server;
    RecordingHost host;
    CPlovaneApp app;
    std::string login;
    size_t handled = 0;
};

}  // namespace plovane::testing
