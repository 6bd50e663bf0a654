// SPDX-License-Identifier: GPL-3.0-or-later
// dosAPRS text maps: an 8-line header, vector lines in one of three variants (plain,
// Compressed, LineFormat), then label lines "text,latitude,longitude,level".
//
// Header, one number per line (a comment may follow the comma):
//   45.5,      top edge, degrees north
//   123.0,     left edge, degrees west positive
//   100,       vector units per degree (S)
//   44.5,      centre latitude
//   122.0,     centre longitude, west positive
//   0, 0,      unused
//   Compressed variant keyword ("LineFormat", "Compressed", anything else: plain)
#include "maps/text_map_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

#include "core/latin1.h"
#include "core/regular_expression.h"
#include "maps/map_read_support.h"

namespace plovane {
namespace {

using map_reader::ReadContext;
using map_reader::SaturateToInt32;
using map_reader::TruncateToInt32;

constexpr size_t kLineLimit = 256;
constexpr size_t kLineFormatLimit = 9050;
constexpr size_t kPointCapacity = 3000;
constexpr size_t kLabelCapacity = 200;
constexpr std::string_view kNumberLinePattern = "^\\-?[0-9]*\\.?[0-9]* *,";

enum class Variant { kPlain, kCompressed, kLineFormat };

struct TextHeader {
    float values[7] = {};
    std::string keyword;  // line 8, trimmed
};

size_t SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && latin1::IsSpace(static_cast<unsigned char>(text[i])))
        ++i;
    return i;
}

// Skips the blanks and the sign before a number; true when the sign is '-'.
bool TakeSign(std::string_view& text) {
    text.remove_prefix(SkipBlanks(text));
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    return negative;
}

// The leading number of a text, as "%f" reads it; 0 when there is none.
float LeadingFloat(std::string_view text) {
    const bool negative = TakeSign(text);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc())
        return 0;
    // Beyond the float range a number reads as infinity, as the C library does.
    const float single = value > std::numeric_limits<float>::max()
                             ? std::numeric_limits<float>::infinity()
                             : static_cast<float>(value);
    return negative ? -single : single;
}

// The leading whole number of a text, as "%ld" reads it; 0 when there is none, clamped.
long LeadingLong(std::string_view text) {
    const bool negative = TakeSign(text);
    long value = 0;
    for (char c : text) {
        if (!latin1::IsDigit(static_cast<unsigned char>(c)))
            break;
        value = value > 100000000000L ? value : value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

Variant VariantOf(std::string_view keyword) {
    const std::string lower = latin1::ToLower(keyword);
    if (lower == "lineformat")
        return Variant::kLineFormat;
    if (lower == "compressed")
        return Variant::kCompressed;
    return Variant::kPlain;
}

// Reads the 8 header lines; false when one is missing or a number line is malformed.
bool ReadHeader(MapStream& in, TextHeader& header) {
    CRegularExpression matcher;
    std::string line;
    for (int i = 0; i < 8; ++i) {
        if (!in.ReadLine(line, kLineLimit))
            return false;
        const std::string_view trimmed = latin1::Trim(line);
        if (i == 7) {
            header.keyword = std::string(trimmed);
            break;
        }
        matcher = std::string(trimmed);
        if (!matcher.Match(kNumberLinePattern))
            return false;
        header.values[i] = LeadingFloat(trimmed);
    }
    return true;
}

// Builds map positions from header degrees and vector units, in single precision as the
// files were made, saturating whatever a file claims.
class Grid {
  public:
    explicit Grid(const TextHeader& h) {
        const float a = h.values[0], b = h.values[1], s = h.values[2];
        const float c = h.values[3], d = h.values[4];
        const float top = std::clamp(90.0f - a, 0.0f, 180.0f) * 360000.0f;
        const float left = std::clamp(180.0f - b, 0.0f, 360.0f) * 360000.0f;
        top_ = TruncateToInt32(top);
        left_ = TruncateToInt32(left);
        right_ = TruncateToInt32(left + (b - d) * 720000.0f);
        bottom_ = TruncateToInt32(top + (a - c) * 720000.0f);
        unit_ = 360000.0f / s;
    }
    int32_t left() const { return left_; }
    int32_t right() const { return right_; }
    int32_t top() const { return top_; }
    int32_t bottom() const { return bottom_; }

    MapVectorPoint Point(uint8_t code, float xUnits, float yUnits) const {
        return {code, 0, 0, SaturateToInt32(int64_t{left_} + TruncateToInt32(xUnits * unit_)),
                SaturateToInt32(int64_t{top_} + TruncateToInt32(yUnits * unit_))};
    }
    // Three characters c0 c1 c2 carry one point's offsets from the top-left corner.
    MapVectorPoint CompressedPoint(uint8_t code, std::string_view group) const {
        const int c0 = static_cast<unsigned char>(group[0]);
        const int c1 = static_cast<unsigned char>(group[1]);
        const int c2 = static_cast<unsigned char>(group[2]);
        const int x = (c0 - 27) * 16 + (((c2 - 27) >> 3) & 15);
        const int y = (c1 - 27) * 8 + ((c2 - 3) & 7);
        return Point(code, static_cast<float>(x), static_cast<float>(y));
    }

  private:
    int32_t left_, right_, top_, bottom_;
    float unit_;  // map units per vector unit
};

// One polyline per line: "colour,<groups of three characters>"; colour -1 ends.
void ReadLineFormatVectors(ReadContext& ctx, const Grid& grid) {
    std::string line;
    while (ctx.in.ReadLine(line, kLineFormatLimit)) {
        const size_t comma = line.find(',');
        if (comma == std::string::npos)
            return;
        long colour = LeadingLong(std::string_view(line).substr(0, comma));
        if (colour == -1)
            return;
        if (colour < 0 || colour > 14)
            colour = 8;
        const std::string_view groups = std::string_view(line).substr(comma + 1);
        // An incomplete last group carries no point.
        for (size_t i = 0; i + 3 <= groups.size(); i += 3) {
            const uint8_t code = i == 0 ? kMoveCode : static_cast<uint8_t>(colour);
            ctx.map.points.push_back(grid.CompressedPoint(code, groups.substr(i, 3)));
        }
    }
}

// Points are three-character lines; "colour,0" lines set the colour, "0,n" breaks the
// polyline and "0,-1" ends the vectors.
void ReadCompressedVectors(ReadContext& ctx, const Grid& grid) {
    uint8_t colour = 0;
    bool newPolyline = false;
    std::string line;
    while (ctx.in.ReadLine(line, kLineLimit)) {
        if (line.size() == 3 && line != "0,0") {
            ctx.map.points.push_back(grid.CompressedPoint(newPolyline ? kMoveCode : colour, line));
            newPolyline = false;
            continue;
        }
        const size_t comma = line.find(',');
        if (comma == std::string::npos || comma == 0)
            return;
        const long n = LeadingLong(std::string_view(line).substr(0, comma));
        if (n == 0) {
            if (LeadingLong(std::string_view(line).substr(comma + 1)) == -1)
                return;
            newPolyline = true;
        } else {
            colour = n < 0 || n > 14 ? 0 : static_cast<uint8_t>(n);
        }
    }
}

// "x,y" point lines in vector units; "0,n" announces a colour line, "0,-1" ends.
void ReadPlainVectors(ReadContext& ctx, const Grid& grid) {
    uint8_t colour = 0;
    bool newPolyline = false;
    bool colourLine = false;
    std::string line;
    while (ctx.in.ReadLine(line, kLineLimit)) {
        const size_t comma = line.find(',');
        if (comma == std::string::npos)
            return;
        const long n = LeadingLong(std::string_view(line).substr(0, comma));
        const long after = LeadingLong(std::string_view(line).substr(comma + 1));
        if (n == 0) {
            if (after == -1)
                return;
            colourLine = true;
        } else if (colourLine) {
            colour = static_cast<uint8_t>(n);  // taken as it is: the low eight bits
            colourLine = false;
            newPolyline = true;
        } else {
            ctx.map.points.push_back(grid.Point(newPolyline ? kMoveCode : colour,
                                                static_cast<float>(n), static_cast<float>(after)));
            newPolyline = false;
        }
    }
}

// "text,latitude,longitude,level" until a line is missing or short of a comma.
void ReadLabels(ReadContext& ctx) {
    std::string line;
    while (ctx.in.ReadLine(line, kLineLimit)) {
        const std::string_view view(line);
        const size_t c1 = view.find(',');
        const size_t c2 = c1 == std::string_view::npos ? c1 : view.find(',', c1 + 1);
        const size_t c3 = c2 == std::string_view::npos ? c2 : view.find(',', c2 + 1);
        if (c3 == std::string_view::npos)
            return;
        const std::string_view text = latin1::Trim(view.substr(0, c1));
        if (text == "0")
            continue;
        const float latitude = LeadingFloat(view.substr(c1 + 1));
        const float longitude = LeadingFloat(view.substr(c2 + 1));
        MapLabel label;
        label.level = static_cast<uint16_t>(LeadingLong(view.substr(c3 + 1)));
        label.x = TruncateToInt32((180.0f - longitude) * 360000.0f);
        label.y = TruncateToInt32((90.0f - latitude) * 360000.0f);
        label.text = std::string(text.substr(0, kMaxLabelText));
        ctx.map.labels.push_back(std::move(label));
    }
}

}  // namespace

std::string TextMapTitle(std::string_view path, std::string_view keyword) {
    const size_t slash = path.find_last_of("/\\");
    std::string_view base =
        latin1::Trim(slash == std::string_view::npos ? path : path.substr(slash + 1));
    if (base.size() >= 4 && latin1::ToUpper(base.substr(base.size() - 4)) == ".MAP") {
        base.remove_suffix(4);
    }
    std::string title(base);
    title += " (D";
    switch (VariantOf(keyword)) {
        case Variant::kLineFormat:
            title += 'L';
            break;
        case Variant::kCompressed:
            title += 'C';
            break;
        case Variant::kPlain:
            break;
    }
    title += ')';
    return title;
}

MapProbe TextMapReader::Probe(MapStream& in, std::string_view path) const {
    TextHeader header;
    if (!in.Seek(0) || !ReadHeader(in, header))
        return {};
    return {true, TextMapTitle(path, header.keyword)};
}

MapReadResult TextMapReader::Read(MapStream& in, std::string_view path,
                                  MapProgress& progress) const {
    ReadContext ctx{in, path, progress};
    CMapData& map = ctx.map;
    TextHeader header;
    if (!ctx.in.Seek(0) || !ReadHeader(ctx.in, header))
        return ctx.Fail(kMapUnsupportedText);

    // Tables start at the customary 3000 points and 200 labels and grow beyond them.
    map.points.reserve(kPointCapacity);
    map.labels.reserve(kLabelCapacity);

    const Grid grid(header);
    map.left = grid.left();
    map.right = grid.right();
    map.top = grid.top();
    map.bottom = grid.bottom();

    const Variant variant = VariantOf(header.keyword);
    switch (variant) {
        case Variant::kLineFormat:
            progress.Notice("Reading dosAPRS LineFormat map...");
            ReadLineFormatVectors(ctx, grid);
            break;
        case Variant::kCompressed:
            progress.Notice("Reading dosAPRS Compressed map...");
            ReadCompressedVectors(ctx, grid);
            break;
        case Variant::kPlain:
            progress.Notice("Reading dosAPRS map...");
            ReadPlainVectors(ctx, grid);
            break;
    }
    map.points.push_back(kEndMarker);
    ReadLabels(ctx);

    map.points.shrink_to_fit();
    map.labels.shrink_to_fit();
    map.name = TextMapTitle(ctx.path, header.keyword);
    map.formatText = variant == Variant::kLineFormat   ? "DOS:LineFormat"
                     : variant == Variant::kCompressed ? "DOS:Compressed"
                                                       : "DOS";
    map.versionText = "N/A";
    map.headerText = "N/A";
    map.created = CDateTime(1980, 1, 1, 0, 0, 0);
    map.modified = map.created;
    return ctx.Finish();
}

}  // namespace plovane
