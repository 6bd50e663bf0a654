#include <gtest/gtest.h>

#include <cmath>

#include "core/geo.h"
#include "own_station.h"
#include "transmit/position_packet.h"

namespace plovane {
namespace {

using testing::FixedStation;

const CDateTime kUtc(2026, 1, 9, 23, 45, 30);

TEST(PositionPacket, FormatsEachReportShapeByteForByte) {
    struct Case {
        const char* name;
        PositionReportData record;
        const char* myCall;
        bool mobile;
        const char* expected;
    };
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
    PositionReportData plain = noComment;
    plain.hasPhg = false;
    PositionReportData southEast = plain;
    southEast.colatitude = ParseLatitude("3352.07S");
    southEast.longitude = ParseLongitude("15112.34E");
    PositionReportData nowhere = plain;
    nowhere.hasPosition = false;
    nowhere.colatitude = kNoColatitude;
    nowhere.longitude = kNoLongitude;

    const Case cases[] = {
        {"fixed with PHG and comment", FixedStation(), "N0CALL", false,
         "=4903.50N/07201.75W-PHG5132/comment"},
        {"fixed, no comment", noComment, "N0CALL", false, "=4903.50N/07201.75W-PHG5132"},
        {"fixed, no PHG", plain, "N0CALL", false, "=4903.50N/07201.75W-"},
        {"southern and eastern hemispheres", southEast, "N0CALL", false, "=3352.07S/15112.34E-"},
        {"no position still formats as 0 N 0 W", nowhere, "N0CALL", false, "=0000.00N/00000.00W-"},
        {"mobile, moving", moving(36, 88, "N0CALL", true), "N0CALL", true,
         "@092345z4903.50N/07201.75W>088/036"},
        {"mobile, standing still: slash form", moving(0, 0, "N0CALL", true), "N0CALL", true,
         "/092345z4903.50N/07201.75W>000/000"},
        {"own call moving while not mobile keeps PHG (case ignored)",
         moving(36, 88, "n0call", true), "N0CALL", false, "@092345z4903.50N/07201.75W>PHG5132"},
        {"another station moving gets course and speed", moving(5, 359, "W1AW-9", true), "N0CALL",
         false, "@092345z4903.50N/07201.75W>359/005"},
        {"course and speed out of range are limited", moving(1500, -20, "W1AW-9", false), "N0CALL",
         false, "@092345z4903.50N/07201.75W>000/999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatPositionReport(c.record, c.myCall, c.mobile, kUtc), c.expected);
    }
}

TEST(PositionPacket, AmbiguityBlanksDigitsFromTheRightUpToOneDegree) {
    struct Case {
        int level;
        const char* latitude;
        const char* longitude;
    } cases[] = {
        {-1, "4903.50N", "07201.75W"},
        {0, "4903.50N", "07201.75W"},
        {2, "4903.  N", "07201.  W"},
        {3, "490 .  N", "0720 .  W"},
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
        {4, 40, 1, 45, "PHG2211"},        {81, 5120, 9, 360, "PHG9998"},  // codes 9, 9, 9, 8
        {144, 10240, 12, 405, "PHG9999"},  // beyond one digit: limited to 9
        {-5, -100, -3, -45, "PHG0000"},   {50, 9, 2, 44, "PHG7020"},
        {30, 60, 0, 0, "PHG5300"},  // 60/10 = 6: log2 2.58 + 0.5 -> 3
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FormatPhg(c.watts, c.feet, c.gain, c.degrees), c.expected);
    }
}

TEST(PositionPacket, StatusCarriesDayHourMinuteOfUtc) {
    EXPECT_EQ(FormatStatusReport("On the air", kUtc), ">092345zOn the air");
    EXPECT_EQ(FormatStatusReport("x", CDateTime(2026, 2, 1, 2, 3, 59)), ">010203zx");
}

}  // namespace
}  // namespace plovane
