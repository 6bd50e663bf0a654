// The message-waiting mark across a restart: a message to us comes back from the log marked
// as waiting only when the user had not seen it before the station stopped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/plovane_app.h"
#include "app/station_log.h"
#include "core/null_host.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kNoon = 1796558400;  // 2026-12-06T12:00:00Z

struct TempDir {
    fs::path path;
    TempDir() {
        char name[] = "/tmp/plovane-waiting-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~TempDir() { fs::remove_all(path); }
};

void LogMessageToUs(const fs::path& folder, int64_t utc, const std::string& number) {
    fs::create_directories(folder);
    std::ofstream(folder / LogFileName(utc), std::ios::app)
        << StampLine(utc, LogDirection::kReceived, "NET") << "\nW1AAA>APRS::N0CALL   :Hello{"
        << number << "\n";
}

TEST(StationLogMessageWaiting, ReplayedMessagesAreMarkedOnlyWhenNotSeenBeforeTheStop) {
    struct Case {
        const char* name;
        bool clearedBeforeStop;  // the user opened the messages window
        bool messageAfterStop;   // a later message reached the log (a crashed run)
        bool waitingAfterRestart;
    };
    const Case cases[] = {
        {"seen", true, false, false},
        {"not seen", false, false, true},
        {"seen, then a new one", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        MemoryProfile profile;
        profile.WriteString("Station", "MyCall", "N0CALL");
        AppStartOptions options;
        options.logFolder = dir.path / "log";
        LogMessageToUs(options.logFolder, kNoon - 3600, "1");
        NullHost host;
        {
            FakeClock clock(CDateTime(2026, 12, 6, 12, 0, 0));
            CPlovaneApp app(profile, host, clock);
            ASSERT_TRUE(app.Start(options));
            // A first start knows nothing of what was seen: the message is waiting, as live.
            ASSERT_TRUE(app.messages().MessageWaiting());
            if (c.clearedBeforeStop)
                app.messages().ClearMessageWaiting();
            app.Shutdown();
        }
        if (c.messageAfterStop)
            LogMessageToUs(options.logFolder, kNoon + 60, "2");
        FakeClock clock(CDateTime(2026, 12, 6, 12, 5, 0));
        CPlovaneApp app(profile, host, clock);
        ASSERT_TRUE(app.Start(options));
        EXPECT_EQ(app.messages().MessageWaiting(), c.waitingAfterRestart);
        EXPECT_EQ(app.messages().Count(), c.messageAfterStop ? 2u : 1u);
    }
}

}  // namespace
}  // namespace plovane
