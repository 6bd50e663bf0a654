// pocketAPRS Palm database maps: records, styles, coordinates, and databases whose
// offsets and lengths do not hold together.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "map_bytes.h"

namespace plovane::testing {
namespace {

// Box left 1000, top 3000 (tenths of an arc-second) -> 10000 and 30000 map units.
std::string Header(int16_t scale = 100) {
    return PdbMapHeader(1000, 900000, 3000, 800000, scale);
}

PdbFile SampleMap() {
    PdbFile pdb;
    pdb.name = " Seattle Area ";
    pdb.created = 3029529600u;           // 2000-01-01
    pdb.modified = 3029529600u + 86400;  // 2000-01-02
    pdb.records = {
        Header(),
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
        .records = {Header(), PdbRecordHead(1, 0) + Bytes().U16(1).Zeros(40).str()}};
    const PdbFile shortLabel{
        .records = {Header(), PdbRecordHead(0, 0) + Bytes().U16(20).Zeros(40).str()}};
    // The entry claims more than its record holds.
    const PdbFile pastRecord{.records = {Header(),
                                         PdbRecordHead(1, 0) + Bytes().U16(60).Zeros(20).str(),
                                         PdbRecordHead(1, 0) + std::string(60, '\x7f')}};
    const PdbFile shortHeader{.records = {Header().substr(0, 64)}};
    const PdbFile cut{
        .records = {Header(), PdbRecordHead(1, 0) + PdbPolyline(0, 0, {{1, 1}, {2, 2}, {3, 3}})}};
    const std::string cutFile = cut.Build();
    const PdbFile tinyRecord{.records = {Header(), "\x01\x00"}};

    struct Case {
        std::string name;
        std::string file;
        std::string text;
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

}  // namespace
}  // namespace plovane::testing
