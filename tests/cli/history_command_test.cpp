// SPDX-License-Identifier: GPL-3.0-or-later
// plovane-cli history: the rebuild from the station log in the data folder, a station's
// history as JSON, CSV and GPX, and the arguments it refuses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include <nlohmann/json.hpp>

#include "app/station_log.h"
#include "cli.h"

namespace plovane::cli {
namespace {

// Three lines heard in the test's own data folder's log, on 2026-12-06 from 13:58:21Z.
void WriteLog() {
    int64_t utc = 1796565501 - 60;
    CStationLog log(
        DefaultLogFolder(), [&] { return utc += 60; }, [](const std::string&) {}, 0);
    for (const char* line : {
             "W1AW-9>APRS,WIDE1-1:!4142.88N/07243.65W>090/012/A=000405",
             "W1AW-9>APRS:!4143.00N/07243.00W>",
             // wind in mph and rain in hundredths of an inch, stored as knots and tenths of a mm
             "N7YKT-13>APRS:@061200z4744.52N/12214.64W_234/002g005t049r001p010P005h85b10132",
             "W1AW-9>APRS::W1AW-9   :PARM.Battery",
             "W1AW-9>APRS:T#005,125,000,000,000,000,00000001",
         }) {
        log.Append(LogDirection::kReceived, "NET", line);
    }
    log.Close();
}

int RunCli(const Args& args, std::string& out, std::string& err) {
    std::istringstream in;
    std::ostringstream o, e;
    const int status = cli::Run(args, in, o, e);
    out = o.str();
    err = e.str();
    return status;
}

TEST(HistoryCommand, RebuildsFromTheLogAndPrintsJsonCsvAndGpx) {
    WriteLog();
    std::string out, err;
    ASSERT_EQ(RunCli({"history", "--rebuild"}, out, err), 0) << err;
    EXPECT_NE(out.find("history: 5 lines read"), std::string::npos) << out;
    EXPECT_NE(out.find("3 positions, 1 weather reports, 1 telemetry reports"), std::string::npos)
        << out;

    ASSERT_EQ(RunCli({"history", "W1AW-9", "--from", "2026-12-06T13:59"}, out, err), 0) << err;
    const auto json = nlohmann::json::parse(out);
    ASSERT_EQ(json["positions"].size(), 1u);  // the first report is before --from
    EXPECT_EQ(json["positions"][0]["time"], "2026-12-06T13:59:21Z");
    EXPECT_DOUBLE_EQ(json["positions"][0]["lat"].get<double>(), 41.0 + 43.0 / 60.0);
    EXPECT_EQ(json["telemetry"]["names"][0], "Battery");
    EXPECT_EQ(json["telemetry"]["samples"][0]["scaled"][0], 125.0);

    ASSERT_EQ(RunCli({"history", "N7YKT-13", "--format", "csv"}, out, err), 0) << err;
    EXPECT_NE(out.find("\n2026-12-06T14:00:21Z,234,2,4,9.4,85.0,1013.2,0.3,2.5,1.3,,\n"),
              std::string::npos)
        << out;

    ASSERT_EQ(RunCli({"history", "W1AW-9", "--format", "gpx", "--to", "@1796565501"}, out, err), 0);
    EXPECT_NE(out.find("<trkpt lat=\"41.714667\" lon=\"-72.727500\"><ele>123.4</ele>"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("<trkpt", out.find("<trkpt") + 1), std::string::npos);
}

TEST(HistoryCommand, RefusedArguments) {
    struct Case {
        Args args;
        std::string err;
    };
    const Case cases[] = {
        {{"history"}, "which call?"},
        {{"history", "W1AW", "--from", "yesterday"}, "--from wants a time"},
        {{"history", "W1AW", "--to"}, "--to needs a value"},
        {{"history", "W1AW", "--format", "xml"}, "--format is json, csv, gpx or kml"},
        {{"history", "W1AW", "--csv", "positions"}, "--csv is weather or telemetry"},
        {{"history", "W1AW", "K1ABC"}, "only one call"},
        {{"history", "W1AW", "--bogus"}, "unknown option '--bogus'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::string out, err;
        EXPECT_EQ(RunCli(c.args, out, err), 2);
        EXPECT_NE(err.find(c.err), std::string::npos) << err;
        EXPECT_TRUE(out.empty());
    }
}

}  // namespace
}  // namespace plovane::cli
