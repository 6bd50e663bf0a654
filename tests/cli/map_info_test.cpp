// SPDX-License-Identifier: GPL-3.0-or-later
// plovane-cli map-info: the JSON it prints for each map family, and its failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli.h"
#include "maps/map_writer.h"
#include "support/scratch_dir.h"

namespace plovane::cli {
namespace {

class MapInfoTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        const auto path = scratch_.path() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    int Run(const Args& args) {
        out_.str("");
        err_.str("");
        return plovane::cli::Run(args, in_, out_, err_);
    }

    testing::ScratchDir scratch_;
    const std::filesystem::path& dir_ = scratch_.path();
    std::istringstream in_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(MapInfoTest, PrintsABinaryMap) {
    BinaryMapImage image;
    image.name = "Caf\xE9 Area";  // Latin-1 byte 0xE9
    image.header = "NatEarth";
    image.date = 3029529600u;
    image.left = 63000000;
    image.right = 66600000;
    image.top = 14400000;
    image.bottom = 18000000;
    image.points = {{255, 0, 0, 64000000, 15000000}, {1, 0, 0, 65000000, 16000000}};
    image.labels = {{1, 0, 0, 64000000, 15000000, "Here"}};
    std::ostringstream bytes;
    ASSERT_TRUE(WriteBinaryMap(image, bytes));
    const std::string path = Write("area.map", bytes.str());

    ASSERT_EQ(Run({"map-info", path}), 0) << err_.str();
    EXPECT_EQ(err_.str(), "");
    EXPECT_EQ(out_.str(),
              "{\"isMap\":true,\"title\":\"Caf\xC3\xA9 Area\",\"format\":\"APRS\","
              "\"version\":\"1.00\",\"name\":\"Caf\xC3\xA9 Area\",\"header\":\"NatEarth\","
              "\"created\":\"2000-01-01T00:00:00Z\",\"modified\":\"2000-01-01T00:00:00Z\","
              "\"box\":{\"left\":63000000,\"right\":66600000,\"top\":14400000,"
              "\"bottom\":18000000,\"west\":-5.0,\"east\":5.0,\"north\":50.0,\"south\":40.0},"
              "\"points\":3,\"labels\":1}\n");
}

TEST_F(MapInfoTest, FailuresPrintTheReaderTextOnStandardError) {
    struct Case {
        std::string name;
        std::string bytes;
        std::string error;
    } cases[] = {
        {"not_a_map.map", "hello\nworld\n", "Unsupported map format.\n"},
        {"short.map", "APRS1.00" + std::string(100, '\0'),
         "Unable to read map due to an unexpected end of file.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(c.name, c.bytes);
        EXPECT_EQ(Run({"map-info", path}), 1);
        EXPECT_EQ(out_.str(), "");
        EXPECT_EQ(err_.str(), c.error + "File: " + path + "\n");
    }
    // A folder opens like a file but cannot be read.
    EXPECT_EQ(Run({"map-info", dir_.string()}), 1);
    EXPECT_EQ(err_.str(), "Unsupported map format.\nFile: " + dir_.string() + "\n");
    EXPECT_EQ(Run({"map-info", (dir_ / "missing.map").string()}), 1);
    EXPECT_NE(err_.str().find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace plovane::cli
