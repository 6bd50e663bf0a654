// Uncompressed, compressed and Mic-E positions, checked through the station records.
#include <functional>
#include <initializer_list>
#include <string>

#include "decoder_fixture.h"

namespace plovane::testing {
namespace {

struct PositionCase {
    const char* information;
    const char* latitude = nullptr;  // none: no position, the information is kept as text
    const char* longitude = nullptr;
    const char* symbol = nullptr;
    const char* comment = nullptr;
    bool hasTime = false;
};

void CheckPositions(CStationList& stations, std::initializer_list<PositionCase> cases,
                    const std::function<void(std::string_view)>& decode) {
    int n = 0;
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(c.information);
        const std::string call = "P" + std::to_string(++n);
        decode(call + ">APRS:" + c.information);
        const std::optional<CStation> s = stations.FindStation(call);
        ASSERT_TRUE(s.has_value());
        if (c.latitude == nullptr) {
            EXPECT_FALSE(s->hasPosition);
            EXPECT_EQ(s->lastInfo, c.information);
            continue;
        }
        EXPECT_TRUE(s->hasPosition);
        EXPECT_EQ(s->position.colatitude, ParseLatitude(c.latitude));
        EXPECT_EQ(s->position.longitude, ParseLongitude(c.longitude));
        EXPECT_EQ(SymbolOf(*s), c.symbol);
        EXPECT_EQ(s->comment, c.comment);
        EXPECT_EQ(s->hasReportTime, c.hasTime);
        EXPECT_EQ(s->lastInfo, "");
    }
}

TEST_F(DecoderTest, UncompressedPositions) {
    CheckPositions(
        stations,
        {
            {"!4903.50N/07201.75W-Test", "4903.50N", "07201.75W", "/-", "Test", false},
            {"=4903.50S\\07201.75E#", "4903.50S", "07201.75E", "\\#", "", false},
            {"@092345z4903.50N/07201.75W>", "4903.50N", "07201.75W", "/>", "", true},
            {"/092345/4903.50N/07201.75W>", "4903.50N", "07201.75W", "/>", "", true},
            {"@234517H4903.50N/07201.75W>", "4903.50N", "07201.75W", "/>", "", true},
            {"!49  .  N/072  .  W-", "4900.00N", "07200.00W", "/-", "", false},
            {"!4903.50n/07201.75wS", "4903.50N", "07201.75W", "/S", "", false},
            {"!4903.50NS07201.75W#overlay", "4903.50N", "07201.75W", "S#", "overlay", false},
            {"@092345x4903.50N/07201.75W>", nullptr},
            {"@092345", nullptr},
            {"/092345z", nullptr},
            {"!4903.50Q/07201.75W-", nullptr},
            {"!4903.50N/07201.75Q-", nullptr},
            {"!4903.50N/07201.75W", nullptr},
            {"!4903.50N", nullptr},
            {"!", nullptr},
        },
        [this](std::string_view line) { Decode(line); });
}

TEST_F(DecoderTest, ShortFieldsAreLeftToTheStore) {
    // Field widths are not checked here: the store refuses the position but keeps the rest.
    Decode("N0CALL>APRS:!493.50N/07201.75W-short");
    const CStation s = Station("N0CALL");
    EXPECT_FALSE(s.hasPosition);
    EXPECT_EQ(s.comment, "short");
    EXPECT_EQ(SymbolOf(s), "/-");
}

TEST_F(DecoderTest, CompressedPositions) {
    CheckPositions(
        stations,
        {
            {"=/5L!!<*e7>7P[", "4930.00N", "07245.00W", "/>", "", false},
            {"!/5L!!<*e7>{?!Range", "4930.00N", "07245.00W", "/>", "Range", false},
            {"!/5L!!<*e7>  !plain", "4930.00N", "07245.00W", "/>", "plain", false},
            {"@092345z/5L!!<*e7>7P[moving", "4930.00N", "07245.00W", "/>", "moving", true},
            {"!a5L!!<*e7#7P[", "4930.00N", "07245.00W", "0#", "", false},
            {"!j5L!!<*e7#7P[", "4930.00N", "07245.00W", "9#", "", false},
            {"!D5L!!<*e7#7P[", "4930.00N", "07245.00W", "D#", "", false},
            // Cut short after c: no course, speed or altitude to read.
            {"!/5L!!<*e7>7", "4930.00N", "07245.00W", "/>", "", false},
            {"!/5L!!<*e7>7P", "4930.00N", "07245.00W", "/>", "", false},
            // Southern and eastern hemispheres.
            {"!/eN!!Q#!!>  !", "4530.00S", "01000.00E", "/>", "", false},
            {"!/5L!!<*e7", nullptr},
            // Digits outside base 91 put the position off the globe.
            {"!/\x01\x01\x01\x01<*e7>7P[", nullptr},
            {"!/5L!!\xff\xff\xff\xff>7P[", nullptr},
        },
        [this](std::string_view line) { Decode(line); });
}

TEST_F(DecoderTest, CompressedCourseSpeedAndAltitude) {
    struct Case {
        const char* information;
        bool moving;
        int course;
        int speed;
        int altitudeDm;
    };
    const Case cases[] = {
        {"=/5L!!<*e7>7P[", true, 88, 36, -1},    // an RMC fix: course and speed
        {"=/5L!!<*e7OS]S", false, 0, 0, 30492},  // a GGA fix: 10004 feet
        {"=/5L!!<*e7O{?!", false, 0, 0, -1},     // radio range
        {"=/5L!!<*e7O!!!", true, 0, 0, -1},
        {"=/5L!!<*e7Oz{!", true, 356, 1017, -1},    // the largest encodable values
        {"=/5L!!<*e7O{{S", false, 0, 0, 46639152},  // the highest altitude
        {"=/5L!!<*e7O\x10P[", false, 0, 0, -1},     // c below "!": nothing read
        {"=/5L!!<*e7O7\xffS", false, 0, 0, -1},     // s beyond base 91
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.information);
        const std::string call = "C" + std::to_string(++n);
        Decode(call + ">APRS:" + c.information);
        const CStation s = Station(call);
        EXPECT_TRUE(s.hasPosition);
        EXPECT_EQ(s.moving, c.moving);
        if (c.moving) {
            EXPECT_EQ(s.course, c.course);
            EXPECT_EQ(s.speed, c.speed);
        }
        EXPECT_EQ(s.position.altitude, c.altitudeDm);
    }
}

TEST_F(DecoderTest, MicEPositions) {
    struct Case {
        const char* destination;
        const char* information;
        const char* latitude = nullptr;  // none: stored as information text only
        const char* longitude = nullptr;
        const char* message = nullptr;
        const char* device = nullptr;
        const char* lastInfo = nullptr;
        int altitudeDm = -1;
        int speed = -1;  // -1: no motion stored
        int course = 0;
    };
    const Case cases[] = {
        {"S32U6T", "'(#fpPO>/", "3325.64N", "01207.74W", "Returning", "Mic-E/Pic-E Device", "", -1,
         45, 251},
        {"S32U6T", "`(#fpPO>/>", "3325.64N", "01207.74W", "Returning", "Kenwood TH-D7", "", -1, 45,
         251},
        {"S32U6T", "`(#fpPO>/]", "3325.64N", "01207.74W", "Returning", "Kenwood TM-D700", "", -1,
         45, 251},
        {"S32U6T", "`(#fpPO>/]#%k}Hello", "3325.64N", "01207.74W", "Returning", "Kenwood TM-D700",
         "Hello", 70000, 45, 251},
        {"S32U6T", "`(#fpPO>\\text", "3325.64N", "01207.74W", "Returning", "Mic-E/Pic-E Device",
         "text", -1, 45, 251},
        // Ambiguity: "L" in place 5 gives east and blanks the last digits.
        {"S32U6L", "'(#fpPO>/", "3325.6 N", "01207.7 E", "Returning", "Mic-E/Pic-E Device", "", -1,
         45, 251},
        {"S32L6T", "'(#fpPO>/", "332 .64S", "0120 .74W", "Returning", "Mic-E/Pic-E Device", "", -1,
         45, 251},
        {"SZZZZZ", "'(#fpPO>/", "3   .  N", "11   .  W", "Off Duty", "Mic-E/Pic-E Device", "", -1,
         45, 251},
        // Longitude offset +100 and the folded degree ranges.
        {"S32UPT", "'v#fpPO>/", "3325.04N", "00007.74W", "Returning", "Mic-E/Pic-E Device", "", -1,
         45, 251},
        {"S32UPT", "'l#fpPO>/", "3325.04N", "10007.74W", "Returning", "Mic-E/Pic-E Device", "", -1,
         45, 251},
        {"S32UPT", "'&#fpPO>/", "3325.04N", "11007.74W", "Returning", "Mic-E/Pic-E Device", "", -1,
         45, 251},
        // Message bits: all set is "Off Duty", none "Emergency!"; "A".."K" are custom.
        {"PPPU6T", "'(#fpPO>/", "0005.64N", "01207.74W", "Off Duty", "Mic-E/Pic-E Device", "", -1,
         45, 251},
        {"000U6T", "'(#fpPO>/", "0005.64N", "01207.74W", "Emergency!", "Mic-E/Pic-E Device", "", -1,
         45, 251},
        {"A32U6T", "'(#fpPO>/", "0325.64N", "01207.74W", "Custom-3", "Mic-E/Pic-E Device", "", -1,
         45, 251},
        // Speed and course wrap at 800 and 400.
        {"S32U6T", "'(#f\x1c\x1c\x1c>/", "3325.64N", "01207.74W", "Returning", "Mic-E/Pic-E Device",
         "", -1, 0, 0},
        // Bytes below 28 encode no motion; the position stands.
        {"S32U6T", "'(#f\x01PO>/", "3325.64N", "01207.74W", "Returning", "Mic-E/Pic-E Device", "",
         -1, -1, 0},
        // "}" after bytes that are no base-91 digits is comment text.
        {"S32U6T", "'(#fpPO>/]\x01%k}Hi", "3325.64N", "01207.74W", "Returning", "Kenwood TM-D700",
         "\x01%k}Hi", -1, 45, 251},
        // Unusable longitude bytes, or too short a destination or information: text only.
        {"S32U6T", "'\x01#fpPO>/", nullptr},
        {"S32U6T",
         "'(\x01"
         "fpPO>/",
         nullptr},
        {"S32U6T", "'(#\x01pPO>/", nullptr},
        {"S32U6T", "'\xff#fpPO>/", nullptr},
        {"S32U6T", "'(#\xffpPO>/", nullptr},
        {"S32U6", "'(#fpPO>/", nullptr},
        {"S32U6T", "'(#fpPO>", nullptr},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.destination) + " " + c.information);
        const std::string call = "M" + std::to_string(++n);
        Decode(call + ">" + c.destination + ",WIDE1-1:" + c.information);
        const CStation s = Station(call);
        if (c.latitude == nullptr) {
            EXPECT_FALSE(s.hasPosition);
            EXPECT_EQ(s.lastInfo, c.information);
            EXPECT_EQ(s.destination, c.destination);
            continue;
        }
        EXPECT_TRUE(s.hasPosition);
        EXPECT_EQ(s.position, (TrackPoint{ParseLatitude(c.latitude), ParseLongitude(c.longitude),
                                          c.altitudeDm}));
        EXPECT_EQ(s.micEMessage, c.message);
        EXPECT_EQ(s.device, c.device);
        EXPECT_EQ(s.lastInfo, c.lastInfo);
        EXPECT_EQ(s.comment, c.lastInfo);
        EXPECT_EQ(s.path, "WIDE1-1");
        EXPECT_EQ(SymbolOf(s), c.information[8] == '/' ? "/>" : "\\>");
        EXPECT_EQ(s.moving, c.speed >= 0);
        if (c.speed >= 0) {
            EXPECT_EQ(s.speed, c.speed);
            EXPECT_EQ(s.course, c.course);
        }
    }
}

TEST_F(DecoderTest, MicESpeedAndCourseFold) {
    struct Case {
        const char* bytes;  // information bytes 4 to 6
        int speed;
        int course;
    };
    const Case cases[] = {
        {"pPO", 45, 251},            // 845 knots fold to 45
        {"l\x1f\x1c", 0, 300},       // exactly 800 knots fold to 0
        {"\xff\xff\xff", 692, 127},  // 2292 knots and 927 degrees fold twice
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const std::string call = "F" + std::to_string(++n);
        Decode(call + ">S32U6T:'(#f" + c.bytes + ">/");
        const CStation s = Station(call);
        EXPECT_TRUE(s.moving);
        EXPECT_EQ(s.speed, c.speed);
        EXPECT_EQ(s.course, c.course);
    }
}

}  // namespace
}  // namespace plovane::testing
