#include "ui/logic/setup_serial.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/scratch_dir.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

auto Fields(const SerialValues& v) {
    return std::tie(v.port, v.baudRate, v.dataBits, v.parity, v.stopBits);
}
auto Fields(const SerialForm& f) {
    return std::tie(f.port, f.baudRate, f.dataBits, f.parity, f.stopBits);
}

// A folder standing in for /dev, removed afterwards.
class FakeDev : public testing::ScratchDir {
  public:
    void Add(const std::string& name) { std::ofstream(path() / name) << ""; }
    const fs::path& root() const { return path(); }
};

TEST(SerialDevices, FoundGroupsInOrderEachInNaturalOrder) {
    FakeDev dev;
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyUSB0", "ttyS10", "ttyS2", "ttyACM0",
                             "rfcomm0", "tty0", "ttyUSB", "console", "ttyprintk"}) {
        dev.Add(name);
    }
    fs::create_directories(dev.root() / "serial" / "by-id");
    fs::create_symlink("../../ttyUSB0", dev.root() / "serial" / "by-id" / "usb-FTDI_FT232R-if00");

    const std::vector<std::string> expected = {
        dev / "ttyUSB0",  dev / "ttyUSB2",
        dev / "ttyUSB10", dev / "ttyACM0",
        dev / "ttyS2",    dev / "ttyS10",
        dev / "rfcomm0",  (dev.root() / "serial/by-id/usb-FTDI_FT232R-if00").string(),
    };
    EXPECT_EQ(SerialDevices(dev.root()), expected);

    const std::vector<std::string> choices = SerialPortChoices(dev.root());
    ASSERT_EQ(choices.size(), 9 + expected.size());
    EXPECT_EQ(choices.front(), "COM1:");
    EXPECT_EQ(choices[8], "COM9:");
    EXPECT_EQ(choices[9], dev / "ttyUSB0");
}

TEST(SerialDevices, MissingFolderGivesTheNineComNamesAndAHugeOneIsCut) {
    EXPECT_TRUE(SerialDevices("/nonexistent/plovane-dev").empty());
    EXPECT_EQ(SerialPortChoices("/nonexistent/plovane-dev").size(), 9u);

    FakeDev dev;
    for (int n = 0; n < 300; ++n)
        dev.Add("ttyUSB" + std::to_string(n));
    dev.Add("ttyACM0");
    const std::vector<std::string> devices = SerialDevices(dev.root());
    EXPECT_EQ(devices.size(), kMaxSerialDevices);
    EXPECT_EQ(devices.front().substr(devices.front().size() - 7), "ttyUSB0");
}

TEST(SerialForm, StoredValuesSelectTheirEntriesAndComeBackUnchanged) {
    struct Case {
        SerialValues stored;
        int baud, dataBits, parity, stopBits;
    } cases[] = {
        {{"COM1:", 9600, 8, "N", "1"}, 6, 1, 0, 0},  // the TNC defaults: parity by its letter
        {{"/dev/ttyUSB0", 4800, 7, "Even", "1.5"}, 5, 0, 2, 1},
        {{"COM3:", 115200, 8, "Space", "2"}, 12, 1, 4, 2},
        {{"COM2:", 12345, 9, "", "3"}, -1, -1, -1, -1},  // unknown values select nothing
        {{"COM2:", 1200, 8, "x", "1"}, 3, 1, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.port + " " + std::to_string(c.stored.baudRate));
        const SerialForm form = SerialFormFrom(c.stored);
        EXPECT_EQ(Fields(form),
                  Fields(SerialForm{c.stored.port, c.baud, c.dataBits, c.parity, c.stopBits}));

        // OK without a change: numbers and unmatched texts stay; a matched parity letter
        // becomes the name it stands for.
        SerialValues expected = c.stored;
        if (c.parity >= 0)
            expected.parity = kParityNames[static_cast<size_t>(c.parity)];
        SerialValues back = c.stored;
        StoreSerialForm(form, back);
        EXPECT_EQ(Fields(back), Fields(expected));
    }
}

}  // namespace
}  // namespace plovane
