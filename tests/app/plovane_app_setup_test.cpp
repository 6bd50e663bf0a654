// What the application does after the alerts dialog and the TNC list refresh of the
// communications setup: new sounds play at once, and the TNC command files are found anew.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/plovane_app.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

TEST(PlovaneAppSetup, SoundsStoredByTheAlertsDialogPlayWithoutARestart) {
    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    testing::RecordingHost host;
    FakeClock clock(CDateTime(2026, 8, 1, 0, 5, 0));
    CPlovaneApp app(profile, host, clock);
    ASSERT_TRUE(app.Start({}));

    app.decoder().DecodeLine("W1AAA>APRS:!4903.50N/07201.75W-one", "FILE>");
    app.decoder().DecodeLine("W1AAA>APRS::N0CALL-9 :Hello{1", "FILE>");
    EXPECT_TRUE(host.sounds().empty());

    // What the dialog writes on OK: two rows on, the ack row off.
    profile.WriteInt("Sound", "NewStationEnabled", 1);
    profile.WriteString("Sound", "NewStation", "/sounds/station.wav");
    profile.WriteInt("Sound", "NewMessageEnabled", 1);
    profile.WriteString("Sound", "NewMessage", "/sounds/message.wav");
    profile.WriteInt("Sound", "NewAckEnabled", 0);
    profile.WriteString("Sound", "NewAck", "/sounds/ack.wav");
    app.SoundSetupDone();

    app.decoder().DecodeLine("W1BBB>APRS:!4904.50N/07202.75W-two", "FILE>");
    app.decoder().DecodeLine("W1BBB>APRS::N0CALL-9 :Hi{2", "FILE>");
    const std::vector<std::string> expected = {"/sounds/station.wav", "/sounds/message.wav"};
    EXPECT_EQ(host.sounds(), expected);

    // Cleared again: silence.
    profile.WriteInt("Sound", "NewStationEnabled", 0);
    profile.WriteString("Sound", "NewStation", "None");
    app.SoundSetupDone();
    app.decoder().DecodeLine("W1CCC>APRS:!4905.50N/07203.75W-three", "FILE>");
    EXPECT_EQ(host.sounds().size(), 2u);
    app.Shutdown();
}

TEST(PlovaneAppSetup, RefreshTncFilesFindsTheFilesAnewAndSaysHowMany) {
    const testing::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    fs::create_directories(dir / "more");
    std::ofstream(dir / "b.tnc") << "[PLOVANE-TNC-FILE: Beta]\r\n[INIT]\r\n";
    std::ofstream(dir / "more" / "a.TNC") << "\n[plovane-tnc-file:Alpha]\n";

    MemoryProfile profile;
    testing::RecordingHost host;
    FakeClock clock(CDateTime(2026, 8, 1, 0, 5, 0));
    CPlovaneApp app(profile, host, clock);
    ASSERT_TRUE(app.Start({}));
    EXPECT_TRUE(app.tncFiles().empty());

    std::vector<std::string> status;
    const auto record = [&status](const std::string& text) { status.push_back(text); };
    app.RefreshTncFiles({dir}, record);
    ASSERT_EQ(app.tncFiles().size(), 2u);
    EXPECT_EQ(app.tncFiles()[0].name, "Alpha");
    EXPECT_EQ(app.tncFiles()[1].path, (dir / "b.tnc").string());
    EXPECT_EQ(status.back(), "2 TNC files found...");

    fs::remove(dir / "b.tnc");
    app.RefreshTncFiles({dir}, record);
    ASSERT_EQ(app.tncFiles().size(), 1u);
    EXPECT_EQ(status.back(), "1 TNC file found...");
    app.Shutdown();
}

}  // namespace
}  // namespace plovane
