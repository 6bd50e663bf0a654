// The application core against a loopback APRS-IS server, with the user-interface thread
// played on demand.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/plovane_app.h"
#include "comm/net_loopback.h"
#include "support/recording_host.h"

namespace plovane::testing {

// A network station N0CALL-9 on `server`; no scheduled status, as the start-up announcement
// could race the connection.
inline void UseServer(MemoryProfile& profile, const LoopbackServer& server) {
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    profile.WriteInt("Station", "TransmitStatus", 0);
    profile.WriteInt("Comm", "NetEnabled", 1);
    profile.WriteString("Comm", "HostAddress", server.host());
    profile.WriteString("Comm", "HostPort", server.port());
}

// Plays the user-interface thread: hands every message posted since the last call to the
// application until `done` holds or ten seconds have passed.
class UiThread {
  public:
    UiThread(CPlovaneApp& app, RecordingHost& host) : app_(app), host_(host) {}
    template <typename Done>
    bool PumpUntil(Done done) {
        using namespace std::chrono_literals;
        for (auto end = std::chrono::steady_clock::now() + 10s;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(5ms)) {
            const auto posts = host_.posts();
            for (; handled_ < posts.size(); ++handled_)
                app_.OnThreadMessage(posts[handled_].first, posts[handled_].second);
            if (done())
                return true;
        }
        return false;
    }

  private:
    CPlovaneApp& app_;
    RecordingHost& host_;
    size_t handled_ = 0;
};

}  // namespace plovane::testing
