// SPDX-License-Identifier: GPL-3.0-or-later
// The traffic generator (tools/gen-traffic), checked by running its lines through the decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "decoder_fixture.h"
#include "traffic.h"

namespace plovane::traffic {
namespace {

using testing::Rig;

double DegreesNorth(const CStation& s) {
    return LatitudeDegrees(s.position.colatitude);
}
double DegreesEast(const CStation& s) {
    return LongitudeDegrees(s.position.longitude);
}

TEST(TrafficEncoders, ReproduceTheReferenceExamples) {
    EXPECT_EQ(CompressedPosition(49.5, -72.75, '/', '>', CompressedCourseSpeed(88, 36)),
              "/5L!!<*e7>7P[");
    EXPECT_EQ(CompressedPosition(49.5, -72.75, '/', 'O', CompressedAltitude(10004)),
              "/5L!!<*e7OS]S");
    const MicE m = EncodeMicE(33 + 25.64 / 60, -(12 + 7.74 / 60), 45, 251, 3, false, '/', '>',
                              MicEDevice::kPlain, std::nullopt, "", '\'');
    EXPECT_EQ(m.destination, "S32U6T");
    EXPECT_EQ(m.information, "'(#fpPO>/");
    EXPECT_EQ(FormatLatitude(49 + 3.5 / 60), "4903.50N");
    EXPECT_EQ(FormatLongitude(-(72 + 1.75 / 60)), "07201.75W");
    EXPECT_EQ(FormatLatitude(-(49 + 3.5 / 60), 2), "4903.  S");
    EXPECT_EQ(FormatLongitude(151 + 59.999 / 60, 4), "152  .  E");
}

TEST(TrafficEncoders, MicERoundTripsThroughTheDecoder) {
    struct Case {
        double lat, lon;
        int speed, course, message;
        bool custom;
        MicEDevice device;
        std::optional<int> altitudeM;
        std::string comment;
        // expected
        int decodedCourse;
        std::string messageName, deviceName;
        int altitudeDm;
    } cases[] = {
        {47.6062, -122.3321, 45, 251, 3, false, MicEDevice::kPlain, std::nullopt, "Hello", 251,
         "Returning", "Mic-E/Pic-E Device", -1},
        {-33.8688, 151.2093, 0, 0, 0, false, MicEDevice::kThD7, 350, "", 4, "Off Duty",
         "Kenwood TH-D7", 3500},
        {52.37, 4.89, 150, 99, 6, false, MicEDevice::kTmD700, -50, "Rolling", 98, "Priority",
         "Kenwood TM-D700", -500},
        {39.74, -105.3, 199, 360, 2, true, MicEDevice::kPlain, 1609, "", 360, "Custom-2",
         "Mic-E/Pic-E Device", 16090},
        {0.5, -0.02, 7, 102, 1, false, MicEDevice::kThD7, std::nullopt, ">not a device", 104,
         "En Route", "Kenwood TH-D7", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messageName);
        const MicE m = EncodeMicE(c.lat, c.lon, c.speed, c.course, c.message, c.custom, '/', '>',
                                  c.device, c.altitudeM, c.comment);
        Rig r;
        r.Decode("N0CALL-9>" + m.destination + ",WIDE1-1:" + m.information);
        const CStation s = r.Station("N0CALL-9");
        EXPECT_NEAR(DegreesNorth(s), c.lat, 0.0002);
        // The hundredths of the longitude minute may be nudged off a control character.
        EXPECT_NEAR(DegreesEast(s), c.lon, 0.001);
        EXPECT_EQ(s.speed, c.speed);
        EXPECT_EQ(s.course, c.decodedCourse);
        EXPECT_EQ(s.micEMessage, c.messageName);
        EXPECT_EQ(s.device, c.deviceName);
        EXPECT_EQ(s.position.altitude, c.altitudeDm);
        EXPECT_EQ(s.lastInfo, c.comment);
        for (char ch : m.information) {
            EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << "byte " << static_cast<int>(ch);
        }
    }
}

TEST(GeneratedTraffic, DecodesToTheGeneratedPositions) {
    Options options;
    options.lines = 200;
    options.stations = 40;
    options.seed = 7;
    Generator generator(options);
    Rig r;
    for (long i = 0; i < options.lines; ++i)
        r.Decode(generator.NextLine());

    int moving = 0;
    for (const StationTruth& t : generator.Stations()) {
        if (!t.reported)
            continue;
        SCOPED_TRACE(t.call);
        const CStation s = r.Station(t.call);
        ASSERT_TRUE(s.hasPosition);
        EXPECT_NEAR(DegreesNorth(s), t.lat, t.toleranceDeg);
        EXPECT_NEAR(DegreesEast(s), t.lon, t.toleranceDeg);
        if (IsMoving(t.kind))
            ++moving;
    }
    EXPECT_GE(moving, 12);

    int objects = 0;
    for (const ObjectTruth& o : generator.Objects()) {
        if (!o.reported)
            continue;
        SCOPED_TRACE(o.name);
        const CStation s = r.Station(o.name);
        EXPECT_EQ(s.killed, o.killed);
        EXPECT_EQ(s.owner, o.owner);
        EXPECT_NEAR(DegreesNorth(s), o.lat, 0.0002);
        EXPECT_NEAR(DegreesEast(s), o.lon, 0.0002);
        ++objects;
    }
    EXPECT_GE(objects, 2);
}

std::vector<std::string> Lines(const Options& options) {
    Generator generator(options);
    std::vector<std::string> lines;
    for (long i = 0; i < options.lines; ++i)
        lines.push_back(generator.NextLine());
    return lines;
}

// The options of the bundled sample simulation (see data/sim/README.md).
Options SampleOptions() {
    Options options;
    options.lines = 3000;
    options.stations = 110;
    options.seed = 3;
    options.region = {47.6, -122.4, 45};
    return options;
}

TEST(GeneratedTraffic, TheSampleIsReproducedAndHoldsEveryFormat) {
    // Byte for byte: nothing platform-dependent slipped into the draws.
    std::ifstream file(PLOVANE_SOURCE_DIR "/data/sim/sample.sim");
    ASSERT_TRUE(file);
    const std::vector<std::string> lines = Lines(SampleOptions());
    std::string line;
    size_t n = 0;
    while (std::getline(file, line)) {
        ASSERT_LT(n, lines.size());
        ASSERT_EQ(line, lines[n]) << "line " << n + 1;
        ASSERT_LT(line.size(), 256U) << line;
        ASSERT_TRUE(std::all_of(line.begin(), line.end(), [](char c) {
            return c >= 0x20 && c < 0x7F;
        })) << line;
        ++n;
    }
    EXPECT_EQ(n, lines.size());
    Options other = SampleOptions();
    other.seed = 4;
    EXPECT_NE(Lines(other), lines);

    // Each format by the shape of its line; a leading ":" stands for the header's end.
    const std::pair<const char*, const char*> formats[] = {
        {"uncompressed, course/speed", ":!.{22}/"},
        {"timestamp z", ":@.{6}z"},
        {"timestamp h", ":/.{6}h"},
        {"ambiguity", R"(\.  N)"},
        {"PHG", "PHG"},
        {"altitude", "/A=0"},
        {"positional weather", ":.{26}_.{3}/"},
        {"positionless weather", ":_"},
        {"$ULTW", R"(:\$ULTW)"},
        {"!!", ":!!"},
        {"#", ":#"},
        {"*", R"(:\*)"},
        {"live object", ":;.{9}\\*"},
        {"killed object", ":;.{9}_"},
        {"live item", R"(:\)[^!]{0,9}!)"},
        {"killed item", R"(:\)[^!]*$)"},
        {"status", ":>"},
        {"Mic-E, old type", ":'"},
        {"Mic-E, plain", ":`.{8}[^>\\]]"},
        {"Mic-E TH-D7", ":`.{8}>"},
        {"Mic-E TM-D700", ":`.{8}]"},
        {"Mic-E altitude", ":`.{12}}"},
        {"compressed, course/speed", ":./.{11}\\["},
        {"compressed, GGA altitude", ":./.{11}S"},
        {"relayed", ":}"},
        {"message", "::.{9}:.*\\{"},
        {"ack", "::.{9}:ack"},
        {"bulletin", "::BLN"},
        {"telemetry", ":T#"},
        {"digipeated", R"(\*,WIDE2)"},
        {"GPS destination", ">GPS"},
    };
    for (const auto& [name, pattern] : formats) {
        SCOPED_TRACE(name);
        const std::regex shape(pattern[0] == ':' ? "^[^:]*" + std::string(pattern) : pattern);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return std::regex_search(line, shape);
        }));
    }
}

}  // namespace
}  // namespace plovane::traffic
