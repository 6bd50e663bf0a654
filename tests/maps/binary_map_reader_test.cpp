// Win/MacAPRS binary maps: fields, colour rules, end marker, failures, and files whose
// declared counts do not fit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/latin1.h"
#include "map_bytes.h"

namespace plovane::testing {
namespace {

std::string SimpleMap(std::vector<uint8_t> codes, const BinaryHeader& base = {}) {
    BinaryHeader h = base;
    h.points = static_cast<int32_t>(codes.size());
    Bytes b = h.Build();
    int32_t i = 0;
    for (uint8_t code : codes)
        AddBinaryPoint(b, code, 0, 1000 + i, 3000 + i), ++i;
    return b.str();
}

TEST(BinaryMap, ReadsHeaderFieldsAndRecognisesTheKnownMagicsInAnyCase) {
    for (std::string magic : {"APRS", "ZZ9Q", "100K", "DCW ", "TGR ", "aprs"}) {
        SCOPED_TRACE(magic);
        const BinaryHeader h{.magic = magic,
                             .version = "Beta",
                             .name = "  Portland Metro  ",
                             .header = " Hdr1 ",
                             .date = 3029529600u + 86400 + 3600,
                             .left = -5,
                             .right = 12960000,
                             .top = 100,
                             .bottom = 6480000};
        const std::string file = h.Build().str() + "trailing bytes";  // sizes need not match
        EXPECT_TRUE(Probe(file).isMap);
        ReadOutcome r(file);
        ASSERT_TRUE(r.map.loaded) << r.Error();
        EXPECT_EQ(r.map.formatText, std::string(latin1::Trim(magic)));  // kept as stored
        EXPECT_EQ(r.map.versionText, "Beta");
        EXPECT_EQ(r.map.name, "Portland Metro");
        EXPECT_EQ(r.map.headerText, "Hdr1");
        EXPECT_EQ(r.map.created, CDateTime(2000, 1, 2, 1, 0, 0));
        EXPECT_EQ(r.map.left, -50);
        EXPECT_EQ(r.map.bottom, 64800000);
    }
    // The probe takes the name only for the known versions.
    BinaryHeader h{.name = std::string(32, 'N')};
    EXPECT_EQ(Probe(h.Build().str()).title, std::string(32, 'N'));
    h.version = "2.00";
    EXPECT_FALSE(Probe(h.Build().str()).isMap);
}

TEST(BinaryMap, OtherMagicsAreBinaryWhenVersionAndSizeAgree) {
    BinaryHeader h{.magic = "MKR1", .points = 1, .labels = 1};
    Bytes b = h.Build();
    AddBinaryPoint(b, 3, 0, 1, 2);
    AddBinaryLabel(b, 1, 3, 4, 0, "x");
    const MapProbe probe = Probe(b.str());
    EXPECT_TRUE(probe.isMap);
    EXPECT_EQ(probe.title, "Test Map");
    ReadOutcome r(b.str());
    ASSERT_TRUE(r.map.loaded) << r.Error();
    EXPECT_EQ(r.map.formatText, "MKR1");
    EXPECT_EQ(r.map.points.size(), 2u);

    // One byte more or less, or another version, and it is no binary map (nor a text map).
    h.version = "2.00";
    for (const std::string& other :
         {b.str() + "x", b.str().substr(0, b.size() - 1), h.Build().str() + b.str().substr(256)}) {
        EXPECT_FALSE(Probe(other).isMap);
        EXPECT_EQ(ReadOutcome(other).Error(), "Unsupported map format.");
    }
}

// Point codes outside the palette become colour 8; an end marker follows a last point that
// is not a move. Labels are trimmed, end at a NUL, and take colour 8 likewise.
TEST(BinaryMap, ReadsPointsAndLabels) {
    Bytes b = BinaryHeader{.points = 7, .labels = 6}.Build();
    const uint8_t codes[] = {255, 0, 1, 33, 34, 254, 12};
    for (int i = 0; i < 7; ++i)
        AddBinaryPoint(b, codes[i], static_cast<uint8_t>(i * 40), i, -i);
    AddBinaryLabel(b, 5, 10, 20, 300, "Salem  \t ");
    AddBinaryLabel(b, 0, 1, 2, 0, "zero");
    AddBinaryLabel(b, 128, 1, 2, 0, "right, colour 0");
    AddBinaryLabel(b, 128 | 33, 1, 2, 0, std::string(32, 'w'));
    AddBinaryLabel(b, 200, 1, 2, 0, "#rotated");
    AddBinaryLabel(b, 34, 1, 2, 0, std::string("a\0b", 3));
    ReadOutcome r(b.str());
    ASSERT_TRUE(r.map.loaded) << r.Error();
    const uint8_t expected[] = {255, 8, 1, 33, 8, 8, 12};
    ASSERT_EQ(r.map.points.size(), 8u);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.map.points[i],
                  (MapVectorPoint{expected[i], static_cast<uint8_t>(i * 40), 0, i * 10, -i * 10}));
    }
    EXPECT_EQ(r.map.points.back(), kEndMarker);
    EXPECT_EQ(ReadOutcome(SimpleMap({255, 3, 255})).map.points.size(), 3u);
    EXPECT_EQ(ReadOutcome(SimpleMap({})).map.points, std::vector<MapVectorPoint>{kEndMarker});

    ASSERT_EQ(r.map.labels.size(), 6u);
    EXPECT_EQ(r.map.labels[0], (MapLabel{5, 0, 300, 100, 200, "Salem"}));
    const uint8_t labelCodes[] = {5, 8, 136, 161, 136, 8};
    for (int i = 1; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.map.labels[i].code, labelCodes[i]);
    }
    EXPECT_EQ(r.map.labels[3].text, std::string(32, 'w'));
    EXPECT_EQ(r.map.labels[5].text, "a");
}

TEST(BinaryMap, FailuresShowTheirTextAndLeaveAnEmptyMap) {
    Bytes labels = BinaryHeader{.points = 1, .labels = 2}.Build();
    AddBinaryPoint(labels, 255, 0, 0, 0);
    AddBinaryLabel(labels, 1, 0, 0, 0, "one");
    labels.Zeros(43);

    struct Case {
        std::string name;
        std::string file;
        std::string text;
    } cases[] = {
        {"version", BinaryHeader{.version = "1.01"}.Build().str(),
         "Unable to read map file.  Map appears to be in Mac/WinAPRS format, but map version is "
         "not 'Beta' or '1.00'."},
        {"header cut short", BinaryHeader().Build().str().substr(0, 255),
         "Unable to read map due to an unexpected end of file."},
        {"no version at all", "APRS", "Unable to read map due to an unexpected end of file."},
        {"empty box", BinaryHeader{.left = 2000, .right = 2000}.Build().str(),
         "Unable to read map file.  Map boundaries are invalid or out of order."},
        {"reversed box", BinaryHeader{.top = 5000}.Build().str(),
         "Unable to read map file.  Map boundaries are invalid or out of order."},
        {"negative count", BinaryHeader{.labels = -1}.Build().str(),
         "Unable to read map file.  Map vector point count and/or label count is negative."},
        {"points missing", BinaryHeader{.points = 3}.Build().str() + std::string(25, '\0'),
         "Unable to read map due to an unexpected end of file."},
        {"label cut short", labels.str(), "Unable to read map due to an unexpected end of file."},
        // Counts far beyond the file are never allocated for.
        {"huge counts", BinaryHeader{.points = 500000000, .labels = 2000000000}.Build().str(),
         "Unable to read map due to an unexpected end of file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadOutcome r(c.file);
        ExpectFailedRead(r, c.text);
        EXPECT_EQ(r.map.name, "");
        EXPECT_EQ(r.map.right, 129600000);
    }
}

}  // namespace
}  // namespace plovane::testing
