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

TEST(DecodeCommand, RefusesBadArguments) {
    struct Case {
        Args args;
        int status;
        const char* says;
    } cases[] = {
        {{"--bogus"}, 2, "unknown option '--bogus'"},
        {{"--mycall"}, 2, "--mycall needs a value"},
        {{"--mycall", ""}, 2, "--mycall needs a call"},
        {{"--now", "2026-03-15 12:00:00"}, 2, "--now wants"},
        {{"a.txt", "b.txt"}, 2, "only one input file"},
        {{"/nonexistent/sample.txt"}, 1, "cannot open '/nonexistent/sample.txt'"},
        {{PLOVANE_TEST_DATA_DIR}, 1, "cannot open"},  // a folder
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const Result result = RunDecode(c.args, "KD0ST>APRS:>hi\n");
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST(DecodeCommand, ReadsStandardInputAndStartsWithTheOwnRecord) {
    for (const Args& args : {Args{}, Args{"-"}}) {
        SCOPED_TRACE(args.empty() ? "no file" : "-");
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

TEST(DecodeCommand, MessagesFollowTheStationsOldestFirst) {
    const Result result = RunDecode({"--mycall", "N0CALL", "--now", "2026-03-15T12:00:00Z"},
                                    "KD0A>APRS::N0CALL   :first{1\n"
                                    "KD0B>APRS:>status\n"
                                    "KD0A>APRS::BLN1     :second\n");
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> kinds;
    for (const auto& object : result.objects)
        kinds.push_back(object["record"]);
    EXPECT_EQ(kinds, (std::vector<std::string>{"station", "station", "message", "message"}));
    EXPECT_EQ(result.objects[0]["call"], "N0CALL");
    EXPECT_EQ(result.objects[2]["from"], "KD0A");
    EXPECT_EQ(result.objects[2]["number"], "1");
    EXPECT_EQ(result.objects[3]["text"], "second");
}

TEST(DecodeCommand, EachLineIsDecodedIntoFreshStoresWithoutTheOwnRecord) {
    const Result result = RunDecode({"--each", "--mycall", "N0CALL"},
                                    "\r\nKD0A>APRS:>one\r\n\r\nKD0B>APRS::N0CALL   :hi\rcmd:");
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(result.objects.size(), 3u) << result.out;
    EXPECT_EQ(result.objects[0]["line"], "KD0A>APRS:>one");
    ASSERT_EQ(result.objects[0]["stations"].size(), 1u);
    EXPECT_EQ(result.objects[0]["stations"][0]["call"], "KD0A");
    EXPECT_FALSE(result.objects[0]["stations"][0].contains("record"));
    EXPECT_EQ(result.objects[0]["messages"], nlohmann::json::array());
    // The second line's stores know nothing of the first.
    EXPECT_EQ(result.objects[1]["line"], "KD0B>APRS::N0CALL   :hi");
    EXPECT_EQ(result.objects[1]["stations"], nlohmann::json::array());
    ASSERT_EQ(result.objects[1]["messages"].size(), 1u);
    EXPECT_EQ(result.objects[1]["messages"][0]["from"], "KD0B");
    EXPECT_EQ(result.objects[2]["line"], "cmd:");
    EXPECT_EQ(result.objects[2]["stations"], nlohmann::json::array());
}

TEST(RecordJson, Latin1ToUtf8) {
    EXPECT_EQ(Latin1ToUtf8(std::string("\x00\x7F", 2)), std::string("\x00\x7F", 2));
    EXPECT_EQ(Latin1ToUtf8("\x80\xBF\xC0\xE9\xFF"), "\u0080\u00BF\u00C0\u00E9\u00FF");
}

TEST(RecordJson, StationFieldsInTheirOrderAndAbsentGroupsAsNull) {
    CStation station("LEADER");
    station.hasOwner = true;
    station.owner = "KD0OBJ";
    station.hasPosition = true;
    station.position = {14739000, 39837000, 1234};  // 49 deg 3.5 min N, 69 deg 20.5 min W
    station.track.push_back(station.position);
    station.hasWeather = true;
    station.weather.hasTemperature = true;
    station.weather.temperature = 250;
    station.weather.hasSnow = true;
    station.weather.snow[1] = 30;
    const Json json = StationJson(station, "station");
    std::vector<std::string> keys;
    for (const auto& item : json.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys,
              (std::vector<std::string>{
                  "record",     "call",    "owner",       "killed",      "symbol",  "position",
                  "reportTime", "comment", "path",        "destination", "device",  "lastInfo",
                  "moving",     "course",  "speed",       "phg",         "dfs",     "ambiguity",
                  "track",      "weather", "micEMessage", "telemetry",   "encoding"}));
    EXPECT_EQ(json["symbol"], nullptr);
    EXPECT_EQ(json["reportTime"], nullptr);
    EXPECT_DOUBLE_EQ(json["position"]["lat"].get<double>(), 49.0 + 3.5 / 60);
    EXPECT_DOUBLE_EQ(json["position"]["lon"].get<double>(), -(69.0 + 20.5 / 60));
    EXPECT_EQ(json["position"]["altitude_dm"], 1234);
    ASSERT_EQ(json["track"].size(), 1u);
    EXPECT_EQ(json["track"][0][2], 1234);
    EXPECT_EQ(json["weather"]["temperature"], 250);
    EXPECT_EQ(json["weather"]["snow"], 30);
    EXPECT_EQ(json["weather"]["windSpeed"], nullptr);
    EXPECT_EQ(json["weather"]["reportTime"], nullptr);
    EXPECT_FALSE(StationJson(CStation("KD0A")).contains("owner"));
    EXPECT_FALSE(StationJson(CStation("KD0A")).contains("record"));
}

}  // namespace
}  // namespace plovane::cli
