// Family detection and the two entry points of the map readers.
#include "maps/map_reader.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <new>
#include <stdexcept>

#include "core/latin1.h"
#include "maps/map_reader_internal.h"

namespace plovane {
namespace map_reader {
namespace {

enum class MapFamily { kBinary, kPocket, kText };

constexpr size_t kBinaryHeaderSize = 256;

bool IsBinaryVersion(std::string_view version) {
    const std::string upper = latin1::ToUpper(version);
    return upper == "BETA" || upper == "1.00";
}

// Maps in circulation carry magics beyond the five known ones (map makers tag their own
// files), so a header whose version is right and whose declared tables fill the file to
// the byte is a binary map too.
bool LooksLikeBinaryMap(MapStream& in) {
    uint8_t head[116];
    if (in.size() < kBinaryHeaderSize || !in.Seek(0) || !in.Read(head, sizeof head)) {
        return false;
    }
    if (!IsBinaryVersion(FieldText(head + 4, 4)))
        return false;
    const int64_t points = BigEndianI32(head + 108);
    const int64_t labels = BigEndianI32(head + 112);
    if (points < 0 || labels < 0)
        return false;
    return static_cast<uint64_t>(kBinaryHeaderSize + 10 * points + 44 * labels) == in.size();
}

MapFamily DetectFamily(MapStream& in) {
    uint8_t magic[4] = {};
    const size_t magicSize = in.size() < 4 ? static_cast<size_t>(in.size()) : 4;
    if (in.Seek(0) && in.Read(magic, magicSize)) {
        const std::string text = latin1::ToUpper(FieldText(magic, magicSize));
        if (text == "APRS" || text == "ZZ9Q" || text == "100K" || text == "DCW " ||
            text == "TGR ") {
            return MapFamily::kBinary;
        }
    }
    // Palm database type "map1" and creator "pAPR".
    uint8_t typeCreator[8];
    if (in.Seek(60) && in.Read(typeCreator, sizeof typeCreator) &&
        std::string_view(reinterpret_cast<const char*>(typeCreator), 8) == "map1pAPR") {
        return MapFamily::kPocket;
    }
    if (LooksLikeBinaryMap(in))
        return MapFamily::kBinary;
    return MapFamily::kText;
}

MapProbe ProbeBinaryMap(MapStream& in) {
    uint8_t head[72] = {};
    if (!in.Seek(0) || !in.Read(head, 8) || !IsBinaryVersion(FieldText(head + 4, 4)))
        return {};
    // The title field may be cut short by the end of the file; take what is there.
    const size_t have = static_cast<size_t>(std::min<uint64_t>(in.Remaining(), 64));
    if (!in.Read(head + 8, have))
        return {};
    return {true, FieldText(head + 40, have > 32 ? have - 32 : 0)};
}

MapProbe ProbePocketMap(MapStream& in) {
    uint8_t name[32];
    if (!in.Seek(0) || !in.Read(name, sizeof name))
        return {};
    return {true, FieldText(name, sizeof name)};
}

}  // namespace
}  // namespace map_reader

MapProbe ProbeMapFile(std::istream& file, std::string_view path) {
    using namespace map_reader;
    MapStream in(file);
    try {
        switch (DetectFamily(in)) {
            case MapFamily::kBinary:
                return ProbeBinaryMap(in);
            case MapFamily::kPocket:
                return ProbePocketMap(in);
            case MapFamily::kText:
                return ProbeTextMap(in, path);
        }
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return {};
}

MapProbe ProbeMapFile(const std::filesystem::path& path) {
    std::array<char, 4096> buffer;
    std::ifstream file;
    file.rdbuf()->pubsetbuf(buffer.data(), buffer.size());
    file.open(path, std::ios::binary);
    if (!file)
        return {};
    return ProbeMapFile(file, path.string());
}

void ReadMap(CMapData& map, std::istream& file, std::string_view path, AppHost& host) {
    using namespace map_reader;
    MapStream in(file);
    ReadContext ctx{map, in, host, path};
    try {
        map.Clear();
        host.ShowNotice("Reading map header information...");
        switch (DetectFamily(in)) {
            case MapFamily::kBinary:
                ReadBinaryMap(ctx);
                break;
            case MapFamily::kPocket:
                ReadPocketMap(ctx);
                break;
            case MapFamily::kText:
                ReadTextMap(ctx);
                break;
        }
    } catch (const std::bad_alloc&) {
        ctx.Fail(kMapMemoryText);
    } catch (const std::length_error&) {
        ctx.Fail(kMapMemoryText);
    }
}

}  // namespace plovane
