#include "transmit/position_packet.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/geo.h"
#include "own_station.h"

namespace plovane {
namespace {

using testing::FixedStation;

const CDateTime kUtc(2026, 1, 9, 23, 45, 30);

// Our own reports as the scheduler sends them are checked there; these are the other shapes.
TEST(PositionPacket, FormatsEachReportShapeByteForByte) {
    auto moving = [](int speed, int course, const char* call, bool phg) {
        PositionReportData r = FixedStation();
        r.call = call;
        r.moving = true;
        r.speed = static_cast<int16_t>(speed);
        r.course = static_cast<int16_t>(course);
        r.hasPhg = phg;
        r.symbolCode = '>';
        r.comment.clear();
        return r;
    };
    PositionReportData noComment = FixedStation();
    noComment.comment.clear();
    PositionReportData southEast = noComment;
    southEast.hasPhg = false;
    southEast.colatitude = ParseLatitude("3352.07S");
    southEast.longitude = ParseLongitude("15112.34E");
    PositionReportData nowhere = southEast;
    nowhere.hasPosition = false;
    nowhere.colatitude = kNoColatitude;
    nowhere.longitude = kNoLongitude;
    struct Case {
        const char* name;
        PositionReportData record;
        bool mobile;
        const char* expected;
    } cases[] = {
        {"fixed, no comment", noComment, false, "=4903.50N/07201.75W-PHG5132"},
        {"southern and eastern hemispheres", southEast, false, "=3352.07S/15112.34E-"},
        {"no position still formats as 0 N 0 W", nowhere, false, "=0000.00N/00000.00W-"},
        {"mobile, moving", moving(36, 88, "N0CALL", true), true,
         "@092345z4903.50N/07201.75W>088/036"},
        {"own call moving while not mobile keeps PHG (case ignored)",
         moving(36, 88, "n0call", true), false, "@092345z4903.50N/07201.75W>PHG5132"},
        {"another station moving gets course and speed", moving(5, 359, "W1AW-9", true), false,
         "@092345z4903.50N/07201.75W>359/005"},
        {"course and speed out of range are limited", moving(1500, -20, "W1AW-9", false), false,
         "@092345z4903.50N/07201.75W>000/999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatPositionReport(c.record, "N0CALL", c.mobile, kUtc), c.expected);
    }
    EXPECT_EQ(FormatStatusReport("On the air", kUtc), ">092345zOn the air");
}

TEST(PositionPacket, AmbiguityBlanksDigitsFromTheRightUpToOneDegree) {
    struct Case {
        int level;
        const char* latitude;
        const char* longitude;
    } cases[] = {
        {0, "4903.50N", "07201.75W"},
        {2, "4903.  N", "07201.  W"},
        {4, "49  .  N", "072  .  W"},
        // Four blanks are the most APRS can carry; "5 Digits" sends the one-degree form.
        {5, "49  .  N", "072  .  W"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        PositionReportData r = FixedStation();
        r.ambiguity = static_cast<int16_t>(c.level);
        r.hasPhg = false;
        r.comment.clear();
        EXPECT_EQ(FormatPositionReport(r, "N0CALL", false, kUtc),
                  std::string("=") + c.latitude + "/" + c.longitude + "-");
        // Whatever is blanked, a receiver still reads the right whole degrees.
        EXPECT_EQ(std::floor(LatitudeDegrees(ParseLatitude(c.latitude))), 49.0);
        EXPECT_EQ(std::floor(-LongitudeDegrees(ParseLongitude(c.longitude))), 72.0);
    }
}

TEST(PositionPacket, PhgDigitsStayDigitsForAnyStoredValue) {
    struct Case {
        int watts, feet, gain, degrees;
        const char* expected;
    } cases[] = {
        {0, 0, 0, 0, "PHG0000"},  // nothing: log2 of 0 must not be taken
        {81, 5120, 9, 360, "PHG9998"},
        {144, 10240, 12, 405, "PHG9999"},  // beyond one digit: limited to 9
        {-5, -100, -3, -45, "PHG0000"},
        {30, 60, 0, 0, "PHG5300"},  // 60/10 = 6: log2 2.58 + 0.5 -> 3
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FormatPhg(c.watts, c.feet, c.gain, c.degrees), c.expected);
    }
}

}  // namespace
}  // namespace plovane
