// dosAPRS text maps: the three variants, labels, titles and the header check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "map_bytes.h"

namespace plovane::testing {
namespace {

// Box of every map below: top 45.5 N, left 123 W, 100 vector units per degree, centre
// 44.5 N 122 W. So top = 16020000, left = 20520000, one vector unit = 3600 map units.
constexpr int32_t kTop = 16020000;
constexpr int32_t kLeft = 20520000;
constexpr int32_t kUnit = 3600;

std::string Header(const std::string& keyword) {
    return "45.5, top\r\n123.0,left\r\n100 ,\r\n44.5,\r\n122.0,\r\n\r\n0,\r\n0,\r\n" + keyword +
           "\r\n";
}

// Inverse of the compressed point encoding: three characters for offsets (x, y).
std::string Encode(int x, int y) {
    return {static_cast<char>(27 + x / 16), static_cast<char>(27 + y / 8),
            static_cast<char>(27 + 8 * (x % 16) + y % 8)};
}

MapVectorPoint At(uint8_t code, int x, int y) {
    return {code, 0, 0, kLeft + x * kUnit, kTop + y * kUnit};
}

TEST(TextMap, ReadsTheVectorsOfEachVariant) {
    const std::string p1 = Encode(10, 20), p2 = Encode(300, 7), p3 = Encode(0, 0);
    const std::string p4 = Encode(255, 255), p5 = Encode(16, 8);
    EXPECT_EQ(Encode(609, 312), "AB#");  // x = 38 * 16 + 1, y = 39 * 8 + 0
    struct Case {
        std::string name;
        std::string file;
        std::string format;
        std::string notice;
        std::vector<MapVectorPoint> points;  // before the end marker
    } cases[] = {
        {"plain: colour lines, points, end",
         Header("anything") + "0,1\n12,0\n10,20\n30,40\n0,5\n7,0\n1,2\n0,-1\n99,99\n",
         "DOS",
         "Reading dosAPRS map...",
         {At(255, 10, 20), At(12, 30, 40), At(255, 1, 2)}},
        {"plain: first points before any colour line get colour 0",
         Header("plain") + "10,20\n30,40\nno comma\n1,1\n",
         "DOS",
         "Reading dosAPRS map...",
         {At(0, 10, 20), At(0, 30, 40)}},
        {"plain: colour taken as it is",
         Header("plain") + "0,1\n300,0\n5,5\n6,6\n",
         "DOS",
         "Reading dosAPRS map...",
         {At(255, 5, 5), At(300 & 255, 6, 6)}},
        {"compressed: colour lines, breaks, colour 15 becomes 0",
         Header("Compressed") + "12,0\n" + p1 + "\n" + p2 + "\n0,0\n" + p3 + "\n" + p4 +
             "\n15,0\n" + p5 + "\n0,-1\n" + p1 + "\n",
         "DOS:Compressed",
         "Reading dosAPRS Compressed map...",
         {At(12, 10, 20), At(12, 300, 7), At(255, 0, 0), At(12, 255, 255), At(0, 16, 8)}},
        {"compressed: a comma at the start ends",
         Header("compressed") + p1 + "\n,5\n" + p2 + "\n",
         "DOS:Compressed",
         "Reading dosAPRS Compressed map...",
         {At(0, 10, 20)}},
        {"lineformat: one polyline a line, colour 15 becomes 8, short group dropped",
         Header("LINEFORMAT") + "9," + p1 + p2 + p3 + "\n15," + p4 + p5 + "\n3," + p1 + p2 +
             "ab\n-1,\n4," + p1 + "\n",
         "DOS:LineFormat",
         "Reading dosAPRS LineFormat map...",
         {At(255, 10, 20), At(9, 300, 7), At(9, 0, 0), At(255, 255, 255), At(8, 16, 8),
          At(255, 10, 20), At(3, 300, 7)}},
        {"lineformat: a line without a comma ends",
         Header("LineFormat") + "2," + p1 + "\nxyz\n",
         "DOS:LineFormat",
         "Reading dosAPRS LineFormat map...",
         {At(255, 10, 20)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadOutcome r(c.file);
        ASSERT_TRUE(r.map.loaded) << r.Error();
        EXPECT_EQ(r.map.formatText, c.format);
        EXPECT_EQ(r.progress.notices.back(), c.notice);
        std::vector<MapVectorPoint> expected = c.points;
        expected.push_back(kEndMarker);
        EXPECT_EQ(r.map.points, expected);
    }
}

TEST(TextMap, LongLinesAndTablesBeyondTheCustomaryCapacities) {
    std::string groups;
    for (int i = 0; i < 1000; ++i)
        groups += Encode(i, i % 100);
    ReadOutcome wide(Header("LineFormat") + "5," + groups + "\n-1,\n");
    ASSERT_TRUE(wide.map.loaded);
    ASSERT_EQ(wide.map.points.size(), 1001u);
    EXPECT_EQ(wide.map.points[999], At(5, 999, 99));

    // The first 256 characters hold "10," and blanks: y reads as 0; the rest, "20", is
    // the next line, which has no comma and ends the vectors.
    ReadOutcome cut(Header("plain") + "10," + std::string(260, ' ') + "20\n1,1\n");
    EXPECT_EQ(cut.map.points, (std::vector<MapVectorPoint>{At(0, 10, 0), kEndMarker}));

    // Tables grow beyond the customary capacities.
    std::string file = Header("plain") + "0,1\n2,0\n";
    for (int i = 0; i < 3500; ++i)
        file += std::to_string(i + 1) + "," + std::to_string(i) + "\n";
    file += "0,-1\n";
    for (int i = 0; i < 250; ++i)
        file += "L" + std::to_string(i) + ",45,122,0\n";
    ReadOutcome r(file);
    ASSERT_TRUE(r.map.loaded);
    ASSERT_EQ(r.map.points.size(), 3501u);
    EXPECT_EQ(r.map.points[3499], At(2, 3500, 3499));
    EXPECT_EQ(r.map.points.back(), kEndMarker);
    ASSERT_EQ(r.map.labels.size(), 250u);
    EXPECT_EQ(r.map.labels.back().text, "L249");
}

TEST(TextMap, ReadsLabelsSkippingZeroTextAndCuttingLongTexts) {
    const std::string longText(40, 'x');
    ReadOutcome r(Header("plain") + "0,-1\n" + "  Portland  ,45.25,122.5,30\n0,45,122,1\n" +
                  longText + ",-10.5,-20.25,0\n" + std::string(33, 'y') +
                  ",0,0,-1\nshort,1,2\nlast,1,2,3\n");
    ASSERT_TRUE(r.map.loaded) << r.Error();
    ASSERT_EQ(r.map.labels.size(), 3u);
    EXPECT_EQ(r.map.labels[0], (MapLabel{0, 0, 30, 20700000, 16110000, "Portland"}));
    // 20.25 E, 10.5 S.
    EXPECT_EQ(r.map.labels[1], (MapLabel{0, 0, 0, 72090000, 36180000, std::string(33, 'x')}));
    EXPECT_EQ(r.map.labels[2].text, std::string(33, 'y'));
    EXPECT_EQ(r.map.labels[2].level, 65535);
}

TEST(TextMap, BadHeadersAreNotMaps) {
    const std::string good = "1,\n2,\n3,\n4,\n5,\n6,\n7,\n";
    struct Case {
        std::string name;
        std::string file;
    } cases[] = {
        {"a number without a comma", "35\n" + good.substr(3) + "x\n"},
        {"a letter before the number", "x35,\n" + good.substr(3) + "x\n"},
        {"only seven lines", good},
        {"empty file", ""},
        {"two decimal points", "1.2.3,\n" + good.substr(3) + "x\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Probe(c.file).isMap);
        ExpectFailedRead(ReadOutcome(c.file), "Unsupported map format.");
    }
    EXPECT_TRUE(Probe(" -1.5 , comment\n.5,\n3.,\n4,\n5,\n6,\n7,\n\n\nkeyword").isMap);
}

TEST(TextMap, HugeOrMalformedNumbersSaturateInsteadOfOverflowing) {
    const std::string header =
        "99999999999999999999999999999999999999999999,\n-100000,\n0,\n-9999999999,\n1,\n0,\n0,"
        "\nplain\n";
    ReadOutcome r(header + "0,1\n7,0\n99999999999,-99999999999\n0,-1\nnan,inf,-inf,9\n");
    ASSERT_TRUE(r.map.loaded) << r.Error();
    EXPECT_EQ(r.map.top, 0);
    EXPECT_EQ(r.map.left, 129600000);
    EXPECT_EQ(r.map.bottom, 2147483647);
    ASSERT_EQ(r.map.labels.size(), 1u);
}

}  // namespace
}  // namespace plovane::testing
