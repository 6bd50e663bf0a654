// SPDX-License-Identifier: GPL-3.0-or-later
// The communication pages (TNC files, KISS fields, serial ports and their fields) and the
// alert rows.
#include "ui/logic/setup_comm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/scratch_dir.h"
#include "ui/logic/setup_alerts.h"
#include "ui/logic/setup_serial.h"

namespace plovane {
namespace {

TEST(TncType, RefreshKeepsTheChosenFileWhereverItMovedElseNone) {
    const std::vector<TncTypeChoice> files = {
        {"/data/tnc/kenwood.tnc", "Kenwood TM-D710"},
        {"/data/tnc/kpc3.tnc", "KPC-3+"},
        {"/home/me/kpc3.tnc", "KPC-3+ (2)"},
    };
    const std::vector<TncTypeChoice> fresh = {
        {"/data/tnc/alinco.tnc", "Alinco"},
        {"/home/me/kpc3.tnc", "KPC-3+ (2)"},
        {"/data/tnc/kpc3.tnc", "KPC-3+"},
    };
    EXPECT_EQ(TncTypeIndexAfterRefresh(files, 3, fresh), 2);
    EXPECT_EQ(TncTypeIndexAfterRefresh(files, 2, fresh), 3);
    EXPECT_EQ(TncTypeIndexAfterRefresh(files, 1, fresh), 0);  // Kenwood is gone
    EXPECT_EQ(TncTypeIndexAfterRefresh(files, 2, {}), 0);
}

TEST(CommPages, KissParameterFieldsTakeWholeNumbersUpTo255) {
    const std::pair<const char*, int32_t> cases[] = {
        {"", -1},    {" 30 ", 30}, {"0", 0},   {"255", 255},
        {"256", -1}, {"1000", -1}, {"-1", -1}, {"3x", -1},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(KissParameterFromText(text), value);
    }
}

TEST(SerialDevices, MissingFolderGivesTheNineComNamesAndAHugeOneIsCut) {
    EXPECT_TRUE(SerialDevices("/nonexistent/plovane-dev").empty());
    EXPECT_EQ(SerialPortChoices("/nonexistent/plovane-dev").size(), 9u);

    testing::ScratchDir dev;  // stands in for /dev
    for (int n = 0; n < 300; ++n)
        std::ofstream(dev.path() / ("ttyUSB" + std::to_string(n))) << "";
    std::ofstream(dev.path() / "ttyACM0") << "";
    const std::vector<std::string> devices = SerialDevices(dev.path());
    EXPECT_EQ(devices.size(), kMaxSerialDevices);
    EXPECT_EQ(devices.front().substr(devices.front().size() - 7), "ttyUSB0");
}

TEST(AlertRow, ChoosingSwitchesOnAndClearingSwitchesOff) {
    AlertRow row;
    EXPECT_FALSE(row.nameEnabled());
    EXPECT_EQ(row.shownName(), "None");
    row.Choose("");  // the chooser was cancelled
    EXPECT_FALSE(row.enabled);
    row.Choose("/home/me/beep.wav");
    EXPECT_TRUE(row.enabled);
    EXPECT_EQ(row.file, "/home/me/beep.wav");
    EXPECT_EQ(row.shownName(), "beep.wav");
    row.Clear();
    EXPECT_FALSE(row.enabled);
    EXPECT_EQ(row.file, "None");
}

}  // namespace
}  // namespace plovane
