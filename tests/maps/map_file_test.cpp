// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the Win/MacAPRS binary, pocketAPRS and dosAPRS text map formats; broken, inconsistent,
// missing files and folders each fail with a clear text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/latin1.h"
#include "map_bytes.h"
#include "support/scratch_dir.h"

namespace plovane::testing {
namespace {

TEST(MapFile, FoldersAndMissingFilesAreRefusedWithTheirText) {
    const ScratchDir scratch;
    const std::filesystem::path& dir = scratch.path();
    MapProgress silent;
    EXPECT_FALSE(ProbeMapFile(dir).isMap);
    EXPECT_EQ(ReadMapFile(dir, silent).error, kMapUnsupportedText);
    // The same through a stream the caller opened (the buffer throws on reading).
    std::ifstream stream(dir, std::ios::binary);
    EXPECT_EQ(ReadMapFile(stream, dir.string(), silent).error, kMapUnsupportedText);
    EXPECT_EQ(ReadMapFile(dir / "missing.map", silent).error, kMapOpenText);
    EXPECT_EQ(MapFailureText(kMapUnsupportedText, "/tmp"), "Unsupported map format.\nFile: /tmp");
}

// Win/MacAPRS binary maps.
std::string SimpleMap(std::vector<uint8_t> codes) {
    Bytes b = BinaryHeader{.points = static_cast<int32_t>(codes.size())}.Build();
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
        // The magic is kept as stored.
        EXPECT_EQ(
            r.map.formatText + "|" + r.map.versionText + "|" + r.map.name + "|" + r.map.headerText,
            std::string(latin1::Trim(magic)) + "|Beta|Portland Metro|Hdr1");
        EXPECT_EQ(r.map.created, CDateTime(2000, 1, 2, 1, 0, 0));
        EXPECT_EQ(std::pair(r.map.left, r.map.bottom), std::pair(-50, 64800000));
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
    for (const std::string& other : {b.str() + "x", b.str().substr(0, b.str().size() - 1),
                                     h.Build().str() + b.str().substr(256)}) {
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
    std::vector<int> labelCodes;
    for (const MapLabel& label : r.map.labels)
        labelCodes.push_back(label.code);
    EXPECT_EQ(labelCodes, (std::vector<int>{5, 8, 136, 161, 136, 8}));
    EXPECT_EQ(r.map.labels[3].text, std::string(32, 'w'));
    EXPECT_EQ(r.map.labels[5].text, "a");
}

TEST(BinaryMap, FailuresShowTheirTextAndLeaveAnEmptyMap) {
    Bytes labels = BinaryHeader{.points = 1, .labels = 2}.Build();
    AddBinaryPoint(labels, 255, 0, 0, 0);
    AddBinaryLabel(labels, 1, 0, 0, 0, "one");
    labels.Zeros(43);

    struct Case {
        std::string name, file, text;
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

// pocketAPRS maps. Box left 1000, top 3000 (tenths of an arc-second): 10000, 30000 map units.
const std::string kPdbHeader = PdbMapHeader(1000, 900000, 3000, 800000, 100);

PdbFile SampleMap() {
    PdbFile pdb;
    pdb.name = " Seattle Area ";
    pdb.created = 3029529600u;           // 2000-01-01
    pdb.modified = 3029529600u + 86400;  // 2000-01-02
    pdb.records = {
        kPdbHeader,
        PdbRecordHead(0, 5) + PdbLabel(1, 2, 1, "Seattle") + PdbLabel(3, 4, 3, "Tacoma") +
            PdbLabel(5, 6, 9, std::string(20, 'L')) + std::string(2, '\0'),
        PdbRecordHead(2, 7) + PdbPolyline(10, 20, {{128, 127}, {127, 125}}) +
            PdbPolyline(0, 0, {}) + std::string(2, '\0'),
        PdbRecordHead(13, 9) + PdbPolyline(1, 1, {{255, 0}}),  // ends without a 0 length
        PdbRecordHead(16, 1) + PdbPolyline(1, 1, {}) + std::string(2, '\0'),  // unknown type
    };
    return pdb;
}

TEST(PocketMap, ReadsRecordsIntoPointsAndLabels) {
    ReadOutcome r(SampleMap().Build());
    ASSERT_TRUE(r.map.loaded) << r.Error();
    EXPECT_EQ(r.map.name, "Seattle Area");
    EXPECT_EQ(r.map.created, CDateTime(2000, 1, 1, 0, 0, 0));
    EXPECT_EQ(r.map.modified, CDateTime(2000, 1, 2, 0, 0, 0));
    EXPECT_EQ(r.map.right, 9000000);
    EXPECT_EQ(r.map.bottom, 8000000);

    // Type 2: colour 2, heavy; type 13: colour 1, thin. Steps are (byte - 127) x scale.
    const std::vector<MapVectorPoint> points = {
        {255, 1, 7, 10000 + 1000, 30000 + 2000},
        {2, 1, 7, 10000 + 1100, 30000 + 2000},
        {2, 1, 7, 10000 + 1100, 30000 + 1800},
        {255, 1, 7, 10000, 30000},
        {255, 0, 9, 10100, 30100},
        {1, 0, 9, 10100 + 128 * 100, 30100 - 127 * 100},
        kEndMarker,
    };
    EXPECT_EQ(r.map.points, points);
    const std::vector<MapLabel> labels = {
        {7, 0, 5, 10100, 30200, "Seattle"},
        {32, 0, 5, 10300, 30400, "Tacoma"},
        {8, 0, 5, 10500, 30600, std::string(20, 'L')},
    };
    EXPECT_EQ(r.map.labels, labels);

    const MapProbe probe = Probe(SampleMap().Build());
    EXPECT_TRUE(probe.isMap);
    EXPECT_EQ(probe.title, " Seattle Area ");
}

// Offsets of the record list start at byte 78, 8 bytes an entry.
std::string WithRecordOffset(std::string file, size_t record, uint32_t offset) {
    const size_t at = 78 + 8 * record;
    for (int i = 0; i < 4; ++i)
        file[at + i] = static_cast<char>(offset >> (24 - 8 * i));
    return file;
}

TEST(PocketMap, BrokenDatabasesFailWithTheirText) {
    const std::string eof = "Unable to read map due to an unexpected end of file.";
    PdbFile empty;
    const std::string good = SampleMap().Build();
    const PdbFile lengthOne{
        .records = {kPdbHeader, PdbRecordHead(1, 0) + Bytes().U16(1).Zeros(40).str()}};
    const PdbFile shortLabel{
        .records = {kPdbHeader, PdbRecordHead(0, 0) + Bytes().U16(20).Zeros(40).str()}};
    // The entry claims more than its record holds.
    const PdbFile pastRecord{.records = {kPdbHeader,
                                         PdbRecordHead(1, 0) + Bytes().U16(60).Zeros(20).str(),
                                         PdbRecordHead(1, 0) + std::string(60, '\x7f')}};
    const PdbFile shortHeader{.records = {kPdbHeader.substr(0, 64)}};
    const PdbFile cut{
        .records = {kPdbHeader, PdbRecordHead(1, 0) + PdbPolyline(0, 0, {{1, 1}, {2, 2}, {3, 3}})}};
    const std::string cutFile = cut.Build();
    const PdbFile tinyRecord{.records = {kPdbHeader, "\x01\x00"}};

    struct Case {
        std::string name, file, text;
    } cases[] = {
        {"no records", empty.Build(),
         "Unable to read map file.  Number of internal file records is zero."},
        {"database header cut", good.substr(0, 77), eof},
        {"record list cut", good.substr(0, 78 + 8 * 3), eof},
        {"offset beyond the file", WithRecordOffset(good, 2, 0x7fffffff), eof},
        {"offset inside another record", WithRecordOffset(good, 2, 150), eof},
        {"two records at one offset", WithRecordOffset(good, 2, 78 + 8 * 5 + 2 + 65), eof},
        {"offset into the record list", WithRecordOffset(good, 0, 80), eof},
        {"map header cut", shortHeader.Build(), eof},
        {"entry length 1", lengthOne.Build(), eof},
        {"label entry shorter than a label", shortLabel.Build(), eof},
        {"entry past its record", pastRecord.Build(), eof},
        {"record smaller than its head", tinyRecord.Build(), eof},
        {"file cut inside an entry", cutFile.substr(0, cutFile.size() - 3), eof},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectFailedRead(ReadOutcome(c.file), c.text);
    }
}

TEST(PocketMap, PalmDatesCountSecondsFrom1904) {
    struct Case {
        uint32_t seconds;
        int y, mo, d, h, mi, s;
    } cases[] = {
        {0, 1904, 1, 1, 0, 0, 0},
        {59 * 86400, 1904, 2, 29, 0, 0, 0},  // 1904 is a leap year
        {60 * 86400 + 3661, 1904, 3, 1, 1, 1, 1},
        {(366 + 364) * 86400, 1905, 12, 31, 0, 0, 0},
        {3029529600u, 2000, 1, 1, 0, 0, 0},  // across 1904..1999, 1900-style rules
        {3029529600u + 366 * 86400 + 45296, 2001, 1, 1, 12, 34, 56},
        {0xFFFFFFFFu, 2040, 2, 6, 6, 28, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(PalmDateToDateTime(c.seconds), CDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s));
    }
}

// dosAPRS text maps. Box of every map below: top 45.5 N, left 123 W, 100 vector units per degree,
// centre 44.5 N 122 W. So top = 16020000, left = 20520000, one vector unit = 3600 map units.
constexpr int32_t kTop = 16020000;
constexpr int32_t kLeft = 20520000;
constexpr int32_t kUnit = 3600;

std::string TextHeader(const std::string& keyword) {
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
        std::string name, file, variant;     // variant: "" for the plain one
        std::vector<MapVectorPoint> points;  // before the end marker
    } cases[] = {
        {"plain: colour lines, points, end",
         TextHeader("anything") + "0,1\n12,0\n10,20\n30,40\n0,5\n7,0\n1,2\n0,-1\n99,99\n",
         "",
         {At(255, 10, 20), At(12, 30, 40), At(255, 1, 2)}},
        {"plain: first points before any colour line get colour 0",
         TextHeader("plain") + "10,20\n30,40\nno comma\n1,1\n",
         "",
         {At(0, 10, 20), At(0, 30, 40)}},
        {"plain: colour taken as it is",
         TextHeader("plain") + "0,1\n300,0\n5,5\n6,6\n",
         "",
         {At(255, 5, 5), At(300 & 255, 6, 6)}},
        {"compressed: colour lines, breaks, colour 15 becomes 0",
         TextHeader("Compressed") + "12,0\n" + p1 + "\n" + p2 + "\n0,0\n" + p3 + "\n" + p4 +
             "\n15,0\n" + p5 + "\n0,-1\n" + p1 + "\n",
         "Compressed",
         {At(12, 10, 20), At(12, 300, 7), At(255, 0, 0), At(12, 255, 255), At(0, 16, 8)}},
        {"compressed: a comma at the start ends",
         TextHeader("compressed") + p1 + "\n,5\n" + p2 + "\n",
         "Compressed",
         {At(0, 10, 20)}},
        {"lineformat: one polyline a line, colour 15 becomes 8, short group dropped",
         TextHeader("LINEFORMAT") + "9," + p1 + p2 + p3 + "\n15," + p4 + p5 + "\n3," + p1 + p2 +
             "ab\n-1,\n4," + p1 + "\n",
         "LineFormat",
         {At(255, 10, 20), At(9, 300, 7), At(9, 0, 0), At(255, 255, 255), At(8, 16, 8),
          At(255, 10, 20), At(3, 300, 7)}},
        {"lineformat: a line without a comma ends",
         TextHeader("LineFormat") + "2," + p1 + "\nxyz\n",
         "LineFormat",
         {At(255, 10, 20)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadOutcome r(c.file);
        ASSERT_TRUE(r.map.loaded) << r.Error();
        EXPECT_EQ(r.map.formatText, c.variant.empty() ? "DOS" : "DOS:" + c.variant);
        EXPECT_EQ(r.progress.notices.back(),
                  "Reading dosAPRS " + c.variant + (c.variant.empty() ? "" : " ") + "map...");
        std::vector<MapVectorPoint> expected = c.points;
        expected.push_back(kEndMarker);
        EXPECT_EQ(r.map.points, expected);
    }
}

TEST(TextMap, LongLinesAndTablesBeyondTheCustomaryCapacities) {
    std::string groups;
    for (int i = 0; i < 1000; ++i)
        groups += Encode(i, i % 100);
    ReadOutcome wide(TextHeader("LineFormat") + "5," + groups + "\n-1,\n");
    ASSERT_TRUE(wide.map.loaded);
    ASSERT_EQ(wide.map.points.size(), 1001u);
    EXPECT_EQ(wide.map.points[999], At(5, 999, 99));

    // The first 256 characters hold "10," and blanks: y reads as 0; the rest, "20", is
    // the next line, which has no comma and ends the vectors.
    ReadOutcome cut(TextHeader("plain") + "10," + std::string(260, ' ') + "20\n1,1\n");
    EXPECT_EQ(cut.map.points, (std::vector<MapVectorPoint>{At(0, 10, 0), kEndMarker}));

    // Tables grow beyond the customary capacities.
    std::string file = TextHeader("plain") + "0,1\n2,0\n";
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
    ReadOutcome r(TextHeader("plain") + "0,-1\n" + "  Portland  ,45.25,122.5,30\n0,45,122,1\n" +
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
    const std::pair<const char*, std::string> cases[] = {
        {"a number without a comma", "35\n" + good.substr(3) + "x\n"},
        {"a letter before the number", "x35,\n" + good.substr(3) + "x\n"},
        {"only seven lines", good},
        {"empty file", ""},
        {"two decimal points", "1.2.3,\n" + good.substr(3) + "x\n"},
    };
    for (const auto& [name, file] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Probe(file).isMap);
        ExpectFailedRead(ReadOutcome(file), "Unsupported map format.");
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
