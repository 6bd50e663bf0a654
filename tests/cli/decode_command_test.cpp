// SPDX-License-Identifier: GPL-3.0-or-later
// plovane-cli decode reading standard input (the golden test reads a file).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "record_json.h"

namespace plovane::cli {
namespace {

struct Result {
    int status = 0;
    std::vector<nlohmann::json> objects;  // one per printed line
    std::string out;
    std::string err;
};

Result RunDecode(Args args, const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    Result result;
    result.status = Decode(args, in, out, err);
    result.out = out.str();
    result.err = err.str();
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line))
        result.objects.push_back(nlohmann::json::parse(line));
    return result;
}

TEST(DecodeCommand, ReadsStandardInputAndStartsWithTheOwnRecord) {
    for (const Args& args : {Args{}, Args{"-", "--now", "2026-03-15T12:00:00Z"}}) {
        SCOPED_TRACE(args.size());
        // Received bytes become their own code points.
        const Result result = RunDecode(args, "KD0ST>APRS:>Caf\xE9 \x80\xFF\x01\r\n");
        ASSERT_EQ(result.status, 0) << result.err;
        ASSERT_EQ(result.objects.size(), 2u);
        EXPECT_EQ(result.objects[0]["record"], "station");
        EXPECT_EQ(result.objects[0]["call"], "NOCALL");  // the default own call
        EXPECT_EQ(result.objects[1]["call"], "KD0ST");
        EXPECT_EQ(result.objects[1]["position"], nullptr);
        EXPECT_EQ(result.objects[1]["lastInfo"], "Caf\u00E9 \u0080\u00FF\u0001");
    }
}

// --each decodes every line as if it were the first: what a line leaves in the stores
// (a station, the own record, a message) is gone for the next.
TEST(DecodeCommand, EachLineIsDecodedAsIfAlone) {
    const std::vector<std::string> lines = {
        "KD0A>APRS:!4903.50N/07201.75W-Home",
        "KD0A>APRS:>status only",
        "N0CALL>APRS:!4903.50N/07201.75W-own",
        "n0call-1>APRS:>own call in lower case",
        "KD0B>APRS::N0CALL   :hi{1",
        "KD0B>APRS::KD0C     :to another{2",
        "KD0A>APRS:>status only",
    };
    const Args args = {"--each", "--mycall", "N0CALL", "--now", "2026-03-15T12:00:00"};
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    const Result together = RunDecode(args, all);
    ASSERT_EQ(together.objects.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(together.objects[i], RunDecode(args, lines[i] + "\n").objects.at(0));
    }
}

// The golden files hold no track; a track point is latitude, longitude and altitude.
TEST(RecordJson, TrackPointsAreLatitudeLongitudeAltitude) {
    CStation station("KD0A");
    station.track.push_back({14739000, 39837000, 1234});  // 49 03.5 N, 69 20.5 W
    const Json track = StationJson(station)["track"];
    ASSERT_EQ(track.size(), 1u);
    EXPECT_DOUBLE_EQ(track[0][0].get<double>(), 49.0 + 3.5 / 60);
    EXPECT_DOUBLE_EQ(track[0][1].get<double>(), -(69.0 + 20.5 / 60));
    EXPECT_EQ(track[0][2], 1234);
}

}  // namespace
}  // namespace plovane::cli
