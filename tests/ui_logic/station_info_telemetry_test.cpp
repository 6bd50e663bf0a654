// The "Telemetry" page of the station information sheet.
#include <gtest/gtest.h>

#include "ui/logic/station_info_format.h"

namespace plovane {
namespace {

TEST(StationInfoTelemetry, ShowsNamedScaledValuesAndBitLabels) {
    CTelemetry t;
    t.hasValues = true;
    t.values.sequence = 7;
    t.values.analog = {138, 2, 0, 0, 5};
    t.values.analogPresent = 0b10011;  // channels 1, 2 and 5
    t.values.bits = 0b00000101;        // B1 and B3 set
    t.ApplyDefinition("PARM.Battery,\xd0\xa2\xd0\xb5\xd0\xbc\xd0\xbf,,,,Door,Fan");
    t.ApplyDefinition("UNIT.V,C,,,,OPEN");
    t.ApplyDefinition("EQNS.0,0.1,0,0,1.25,-1");
    t.ApplyDefinition("BITS.01111111,Shack");

    const TelemetryPageText page = FormatTelemetryPage(t);
    EXPECT_EQ(page.project, "Shack");
    EXPECT_EQ(page.sequence, "7");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Battery", "13.8 V"}, {"\xd0\xa2\xd0\xb5\xd0\xbc\xd0\xbf", "1.5 C"},  // a UTF-8 name
        {"A5", "5"},           {"Door", "Off"},  // set, but its sense is 0: on means clear
        {"Fan", "Off"},        {"B3", "On"},
        {"B4", "Off"},         {"B5", "Off"},
        {"B6", "Off"},         {"B7", "Off"},
        {"B8", "Off"},
    };
    ASSERT_EQ(page.rows.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(page.rows[i].label, expected[i].first);
        EXPECT_EQ(page.rows[i].value, expected[i].second);
    }
    t.values.bits = -1;
    EXPECT_EQ(FormatTelemetryPage(t).rows.size(), 3u) << "no bits sent, no bit rows";
}

}  // namespace
}  // namespace plovane
