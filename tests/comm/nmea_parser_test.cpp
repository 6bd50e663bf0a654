// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/nmea_parser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "nmea_text.h"

namespace plovane {
namespace {

using testing::WithChecksum;

TEST(NmeaChecksum, AcceptsOneOrTwoHexDigitsInEitherCase) {
    // The XOR of "GPRMC,...,003.1,W" is 0x6A.
    const std::string body = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
    struct Case {
        std::string line;
        bool ok;
    } cases[] = {
        {body + "*6A", true},   {body + "*6a", true},
        {body + "*6B", false},  {body, false},  // no "*"
        {body + "*", false},                    // no digits
        {body + "*06A", false},                 // three digits
        {body + "*6G", false},  {"$GPGLL,4916.45,N,12311.12,W,225444,A*31", true},
        {"$A*A", false},                          // "A" is 0x41
        {"$A*41", true},        {"$AB*3", true},  // one digit stands for "03"
        {"*00", true},                            // nothing to sum
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(NmeaChecksumOk(c.line), c.ok);
    }
}

TEST(NmeaSentence, ReadsPositionAltitudeTimeCourseAndSpeed) {
    struct Case {
        std::string line;
        bool hasPosition;
        std::string latitude, longitude, time;
        int32_t altitude;
        bool hasSpeed, hasCourse;
        int speed, course;
    } cases[] = {
        {WithChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"), true,
         "4807.04N", "01131.00E", "123519h", 5454, false, false, 0, 0},
        // Three integer digits are padded; a south/west fix; altitude in feet is unknown.
        {WithChecksum("GPGGA,010203.00,807.5,S,7.25,W,1,05,1.2,100.0,F,,,,"), true, "0807.50S",
         "00007.25W", "010203h", -1, false, false, 0, 0},
        {WithChecksum("GPGGA,010203,4807,N,01131,E,1,05,1.2,12,m,,,,"), true, "4807.00N",
         "01131.00E", "010203h", 120, false, false, 0, 0},
        {WithChecksum("GPGGA,010203,4807,N,01131,E,1,05,1.2,-0.1,M,,,,"), true, "4807.00N",
         "01131.00E", "010203h", 0, false, false, 0, 0},
        {WithChecksum("GPGGA,010203,4807,N,01131,E,1,05,1.2,,M,,,,"), true, "4807.00N", "01131.00E",
         "010203h", -1, false, false, 0, 0},
        {WithChecksum("GPGGA,010203,4807,N,01131,E,1,05,1.2,5x.1,M,,,,"), true, "4807.00N",
         "01131.00E", "010203h", -1, false, false, 0, 0},
        // No fix: the empty fields read as zero.
        {WithChecksum("GPGGA,123519,,,,,0,00,,,M,,M,,"), false, "0000.00S", "00000.00E", "123519h",
         -1, false, false, 0, 0},
        // Lower-case hemisphere letters do not count.
        {WithChecksum("GPGLL,4916.45,n,12311.12,w,225444,A"), true, "4916.45S", "12311.12E",
         "225444h", -1, false, false, 0, 0},
        {WithChecksum("GPGLL,4916.45,N,12311.12,W"), true, "4916.45N", "12311.12W", "h", -1, false,
         false, 0, 0},
        {WithChecksum("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"), true,
         "4807.04N", "01131.00E", "123519h", -1, true, true, 22, 84},
        // A void fix with filled fields still counts; an empty course is left out.
        {WithChecksum("GPRMC,000001,V,4807.038,N,01131.000,E,0.0,,230394,,"), true, "4807.04N",
         "01131.00E", "000001h", -1, true, false, 0, 0},
        {WithChecksum("GPRMC,000001,V,,,,,x,359.9,230394,,"), false, "0000.00S", "00000.00E",
         "000001h", -1, false, true, 0, 360},
        // Minutes, speed and course round; 59.996' carries into the next degree.
        {WithChecksum("GPRMC,000001,A,3349.0378,S,15059.996,W,005.5,27.9,230394,,"), true,
         "3349.04S", "15100.00W", "000001h", -1, true, true, 6, 28},
        {WithChecksum("GPRMC,000001,A,3349.035,N,00000.004,E,5.49,27.49,230394,,"), true,
         "3349.04N", "00000.00E", "000001h", -1, true, true, 5, 27},
        {WithChecksum("GNRMC,000001,A,4807.038,N,01131.000,E,5,90,230394,,,A"), true, "4807.04N",
         "01131.00E", "000001h", -1, true, true, 5, 90},
        {WithChecksum("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K"), false, "0000.00S", "00000.00E", "",
         -1, true, true, 6, 55},
        {WithChecksum("GPVTG,,T,,M,,N,,K"), false, "0000.00S", "00000.00E", "", -1, false, false, 0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        NmeaReport r;
        ASSERT_TRUE(ParseNmeaSentence(c.line, r));
        EXPECT_EQ(r.hasPosition, c.hasPosition);
        EXPECT_EQ(r.latitude, c.latitude);
        EXPECT_EQ(r.longitude, c.longitude);
        EXPECT_EQ(r.time, c.time);
        EXPECT_EQ(r.altitudeDm, c.altitude);
        EXPECT_EQ(r.hasSpeed, c.hasSpeed);
        EXPECT_EQ(r.hasCourse, c.hasCourse);
        if (c.hasSpeed) {
            EXPECT_EQ(r.speedKnots, c.speed);
        }
        if (c.hasCourse) {
            EXPECT_EQ(r.courseDegrees, c.course);
        }
    }
}

TEST(NmeaSentence, RefusesWhatItDoesNotTake) {
    const std::string good =
        WithChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,,,");
    const std::string cases[] = {
        good.substr(0, good.rfind('*')),        // no checksum
        good.substr(0, good.size() - 1) + "0",  // wrong checksum
        WithChecksum("gpgga,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,,,"),
        WithChecksum("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"),
        WithChecksum("GLGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,,,"),
        WithChecksum("GPGGA"),
        WithChecksum("ULTW0000"),
        "",
    };
    for (const std::string& line : cases) {
        SCOPED_TRACE(line);
        NmeaReport r;
        EXPECT_FALSE(ParseNmeaSentence(line, r));
    }
}

}  // namespace
}  // namespace plovane
