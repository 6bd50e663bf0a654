// SPDX-License-Identifier: GPL-3.0-or-later
// The application core end to end, without windows: start, simulation, setup, failing ports.
#include "app/plovane_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

class PlovaneAppTest : public ::testing::Test {
  protected:
    PlovaneAppTest() : clock_(CDateTime(2026, 8, 1, 0, 5, 0)) {
        profile_.WriteString("Station", "MyCall", "N0CALL-9");
        profile_.WriteString("Station", "Status", "Listening");
    }
    CPlovaneApp& Start(const AppStartOptions& options = {}) {
        app_ = std::make_unique<CPlovaneApp>(profile_, host_, clock_);
        EXPECT_TRUE(app_->Start(options));
        return *app_;
    }
    fs::path WriteFile(const std::string& name, const std::string& bytes) {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }
    bool Reported(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    MemoryProfile profile_;
    testing::RecordingHost host_;
    FakeClock clock_;
    testing::ScratchDir scratch_;
    const fs::path& dir_ = scratch_.path();
    std::unique_ptr<CPlovaneApp> app_;
};

// The own record comes from the settings; TNC files are found at start and anew on refresh.
TEST_F(PlovaneAppTest, StartsWithTheOwnRecordAndTheFilesFound) {
    WriteFile("kpc3.tnc", "[PLOVANE-TNC-FILE:KPC-3+]\r\n");
    WriteFile("notamap.map", "just some text\n");
    std::vector<std::string> statuses;
    AppStartOptions options;
    options.searchFolders = {dir_};
    options.status = [&](const std::string& s) { statuses.push_back(s); };
    CPlovaneApp& app = Start(options);
    EXPECT_EQ(app.stations().OwnCall(), "N0CALL-9");
    EXPECT_EQ(app.stations().OwnStation().device, "Plovane (102)");
    EXPECT_EQ(CPlovaneApp::VersionText(), "1.02");
    EXPECT_TRUE(app.scheduler().IsReady());
    ASSERT_EQ(app.tncFiles().size(), 1u);
    EXPECT_TRUE(app.mapList().empty());
    EXPECT_TRUE(Reported(statuses, "1 TNC file found..."));
    EXPECT_TRUE(Reported(statuses, "0 maps found..."));

    WriteFile("more/a.TNC", "\n[plovane-tnc-file:Alpha]\n");
    app.RefreshTncFiles({dir_}, options.status);
    ASSERT_EQ(app.tncFiles().size(), 2u);
    EXPECT_EQ(app.tncFiles()[0].name, "Alpha");
    EXPECT_EQ(app.tncFiles()[1].path, (dir_ / "kpc3.tnc").string());
    EXPECT_EQ(statuses.back(), "2 TNC files found...");
    app.Shutdown();
    EXPECT_EQ(host_.notices().back(), "Exiting Plovane...");
    EXPECT_TRUE(app.exiting());
}

TEST_F(PlovaneAppTest, PlaysASimulationFileWithAnyLineEnds) {
    CPlovaneApp& app = Start();
    const fs::path sim = WriteFile("test.sim",
                                   "W1AAA>APRS:!4903.50N/07201.75W-one\r\n\r\n"
                                   "W1BBB>APRS:!4904.50N/07202.75W-two\n\n\n"
                                   "W1CCC>APRS:!4905.50N/07203.75W-three\r"
                                   "N0CALL-9>APRS:!4905.50N/07203.75W-own");
    EXPECT_EQ(app.PlaySimulation(sim), 4);
    EXPECT_TRUE(app.stations().FindStation("W1CCC").value().hasPosition);  // after a lone CR
    // The own packet came back: shown, never decoded.
    EXPECT_EQ(app.stations().Count(), 4u);
    EXPECT_EQ(host_.notices().back(), "My Packet:N0CALL-9>APRS:!4905.50N/07203.75W-own");
    EXPECT_EQ(app.PlaySimulation(dir_ / "missing.sim"), -1);
    EXPECT_EQ(app.PlaySimulation(dir_), -1);  // a folder: refused, not thrown
}

// What the station and sound dialogs store reaches every part without a restart.
TEST_F(PlovaneAppTest, SetupDialogsTakeEffectAtOnce) {
    CPlovaneApp& app = Start();
    // The settings sheet wrote the profile: reloaded, and the list cut to the new limit.
    profile_.WriteString("Station", "MyCall", "N0CALL-7");
    profile_.WriteInt("Station", "LimitStations", 2);
    app.decoder().DecodeLine("W1AAA>APRS:!4903.50N/07201.75W-one", "FILE>");
    app.decoder().DecodeLine("W1BBB>APRS:>two", "FILE>");
    app.OnThreadMessage(ThreadMessage::kStationSetupDone, {});
    EXPECT_EQ(app.stations().OwnCall(), "N0CALL-7");
    EXPECT_EQ(app.stations().Count(), 2u);  // own record kept
    EXPECT_EQ(app.scheduler().Settings().MyCall, "N0CALL-7");

    // A value handed over by the dialog is saved and reaches every part.
    CStationSettings fresh = app.stationSettings();
    fresh.MyCall = "N0CALL-5";
    fresh.Status = "New status";
    app.StationSetupDone(fresh);
    CStationSettings saved;
    saved.Load(profile_);
    EXPECT_EQ(saved.MyCall, "N0CALL-5");
    EXPECT_EQ(app.stations().OwnStation().lastInfo, "New status");
    EXPECT_EQ(app.scheduler().Settings().MyCall, "N0CALL-5");

    // Two sound rows on, the ack row off.
    profile_.WriteInt("Sound", "NewStationEnabled", 1);
    profile_.WriteString("Sound", "NewStation", "/sounds/station.wav");
    profile_.WriteInt("Sound", "NewMessageEnabled", 1);
    profile_.WriteString("Sound", "NewMessage", "/sounds/message.wav");
    profile_.WriteInt("Sound", "NewAckEnabled", 0);
    profile_.WriteString("Sound", "NewAck", "/sounds/ack.wav");
    app.SoundSetupDone();
    app.decoder().DecodeLine("W1CCC>APRS:!4904.50N/07202.75W-two", "FILE>");
    app.decoder().DecodeLine("W1CCC>APRS::N0CALL-5 :Hi{2", "FILE>");
    EXPECT_EQ(host_.sounds(),
              (std::vector<std::string>{"/sounds/station.wav", "/sounds/message.wav"}));
}

TEST_F(PlovaneAppTest, PortsThatFailAtStartAreReportedWithoutABox) {
    profile_.WriteInt("Comm", "TNCEnabled", 1);
    profile_.WriteString("Comm", "TNCCommPort", "/nonexistent/ttyTNC");
    CPlovaneApp& app = Start();
    EXPECT_TRUE(host_.boxes().empty());
    EXPECT_EQ(host_.errors(),
              (std::vector<std::string>{
                  "TNC port: Unable to open serial port /nonexistent/ttyTNC (Error code: 2): "
                  "No such file or directory"}));
    EXPECT_TRUE(app.tnc().HasError());
}

}  // namespace
}  // namespace plovane
