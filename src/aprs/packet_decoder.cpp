// SPDX-License-Identifier: GPL-3.0-or-later
// The first stage of decoding: cleans a monitor line, splits the header, sets aside our own
// packets, derives a symbol from the destination call or the SSID, and hands the information
// field to the decoder of its data type.
#include "aprs/packet_decoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "aprs/decoders.h"
#include "core/latin1.h"

namespace plovane {
namespace {

using latin1::IsAlnum;
using latin1::IsDigit;
using latin1::ToUpper;

using latin1::U;

// --- Destination-call symbols ---------------------------------------------------------

// 94 symbol codes per table ("!" to "~"), primary table first, then the alternate table.
constexpr int kCodesPerTable = 94;
constexpr int kSymbolCount = 2 * kCodesPerTable;

// The two-character destination codes in symbol order, as runs of consecutive second
// characters: e.g. "BB".."BP" stand for "!".."/" of the primary table.
struct CodeRun {
    char first;
    char secondFrom;
    int count;
};
constexpr std::array<CodeRun, 14> kPairCodeRuns = {{
    {'B', 'B', 15},
    {'P', '0', 10},
    {'M', 'R', 7},
    {'P', 'A', 26},
    {'H', 'S', 6},
    {'L', 'A', 26},
    {'J', '1', 4},  // primary
    {'O', 'B', 15},
    {'A', '0', 10},
    {'N', 'R', 7},
    {'A', 'A', 26},
    {'D', 'S', 6},
    {'S', 'A', 26},
    {'Q', '1', 4},  // alternate
}};

// The symbol index of a two-character code, or -1.
constexpr int PairCodeIndex(char first, char second) {
    int base = 0;
    for (const CodeRun& run : kPairCodeRuns) {
        if (first == run.first && second >= run.secondFrom && second - run.secondFrom < run.count)
            return base + (second - run.secondFrom);
        base += run.count;
    }
    return -1;
}
static_assert(PairCodeIndex('B', 'B') == 0 && PairCodeIndex('J', '4') == 93);
static_assert(PairCodeIndex('O', 'B') == 94 && PairCodeIndex('Q', '4') == 187);
static_assert(PairCodeIndex('L', 'V') == 85 && PairCodeIndex('B', 'A') == -1);
static_assert(PairCodeIndex('Q', '4') == kSymbolCount - 1);

// Symbol index -> table and code; "|" and "~" of both tables have no symbol.
struct Symbol {
    std::array<char, 2> text{};
    bool valid = false;

    std::string_view view() const { return {text.data(), valid ? text.size() : 0}; }
};

constexpr Symbol SymbolOfIndex(int index) {
    Symbol symbol;
    const char code = static_cast<char>('!' + index % kCodesPerTable);
    if (code == '|' || code == '~')
        return symbol;
    symbol.text = {index < kCodesPerTable ? '/' : '\\', code};
    symbol.valid = true;
    return symbol;
}

constexpr std::array<std::string_view, 16> kSsidSymbols = {
    "", "/a", "/U", "/f", "/b", "/Y", "/X", "/'", "/s", "/>", "/<", "/O", "/j", "/R", "/k", "/v",
};

// The first `c` in a short field (a call, a destination), or npos: a plain loop, cheaper
// than a library search for the few bytes of a header field.
size_t FindInField(std::string_view field, char c) {
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == c)
            return i;
    }
    return std::string_view::npos;
}

// "GPSxyz", "SPCxyz", "SYMxyz" name a symbol: "GPSC12"/"GPSE12" by number (1..94 of the
// primary/alternate table), the others by a two-character code with an optional overlay.
Symbol SymbolOfDestination(std::string_view destination) {
    Symbol none;
    if (latin1::StartsWithNoCase(destination, "GPSC") ||
        latin1::StartsWithNoCase(destination, "GPSE")) {
        // e.g. N0CALL>GPSC12 is symbol 12 of the primary table, "/,"
        if (destination.size() < 6 || !IsDigit(U(destination[4])) || !IsDigit(U(destination[5]))) {
            return none;
        }
        const int number = (destination[4] - '0') * 10 + (destination[5] - '0');
        if (number < 1 || number > kCodesPerTable)
            return none;
        const bool alternate = ToUpper(U(destination[3])) == 'E';
        return SymbolOfIndex(number - 1 + (alternate ? kCodesPerTable : 0));
    }
    const int index = PairCodeIndex(static_cast<char>(ToUpper(U(destination[3]))),
                                    static_cast<char>(ToUpper(U(destination[4]))));
    if (index < 0)
        return none;
    Symbol symbol = SymbolOfIndex(index);
    // e.g. GPSOBA: "\!" with the overlay "A" in the table place
    if (symbol.valid && index >= kCodesPerTable && destination.size() >= 6) {
        const unsigned char overlay = ToUpper(U(destination[5]));
        if (IsAlnum(overlay))
            symbol.text[0] = static_cast<char>(overlay);
    }
    return symbol;
}

// The symbol a packet implies before any position report says otherwise: from the
// destination call when it is a symbol code, else from the SSID of the source: the digits
// after its last "-" (`lastDash`), when its first "-" (`firstDash`) is not its first byte.
Symbol ImpliedSymbol(std::string_view source, size_t firstDash, size_t lastDash,
                     std::string_view destination) {
    if (destination.size() >= 5 && (latin1::StartsWithNoCase(destination, "GPS") ||
                                    latin1::StartsWithNoCase(destination, "SPC") ||
                                    latin1::StartsWithNoCase(destination, "SYM"))) {
        return SymbolOfDestination(destination);
    }
    Symbol none;
    if (firstDash == std::string_view::npos || firstDash == 0)
        return none;
    int ssid = 0;
    for (size_t i = lastDash + 1; i < source.size() && IsDigit(U(source[i])); ++i) {
        ssid = ssid * 10 + (source[i] - '0');
        if (ssid > 15)
            return none;  // also stops long digit runs from overflowing
    }
    const std::string_view text = kSsidSymbols[static_cast<size_t>(ssid)];
    if (text.empty())
        return none;
    none.text = {text[0], text[1]};
    none.valid = true;
    return none;
}

// --- Line cleaning and header ---------------------------------------------------------

// Character classes of the header scan, one table look-up per byte on the hot path.
enum : uint8_t { kOtherBlank = 1, kSourceChar = 2, kHeaderChar = 4, kCallMark = 8 };

constexpr std::array<uint8_t, 256> MakeCharClasses() {
    std::array<uint8_t, 256> classes{};
    for (int i = 0; i < 256; ++i) {
        const auto c = static_cast<unsigned char>(i);
        uint8_t flags = 0;
        // Only ASCII white space: 0x85 and 0xA0 are also the second bytes of UTF-8
        // letters ("Р" is D0 A0), which a blank would break.
        if (c >= 0x09 && c <= 0x0D)
            flags |= kOtherBlank;
        if (IsAlnum(c) || c == '-' || c == '/')
            flags |= kSourceChar;
        if (IsAlnum(c) || c == '-' || c == ',' || c == '/' || c == '*' || c == '>') {
            flags |= kHeaderChar;
        }
        if (c == '-' || c == '/')
            flags |= kCallMark;
        classes[static_cast<size_t>(i)] = flags;
    }
    return classes;
}

constexpr std::array<uint8_t, 256> kCharClasses = MakeCharClasses();

bool Is(char c, uint8_t charClass) {
    return (kCharClasses[U(c)] & charClass) != 0;
}

// The end of the run of `charClass` characters that starts at `i`. Headers are tens of
// characters long, so four bytes are classed per step while all of them belong.
size_t RunEnd(std::string_view text, size_t i, uint8_t charClass) {
    const auto at = [&](size_t k) { return kCharClasses[U(text[k])]; };
    while (i + 4 <= text.size() && (at(i) & at(i + 1) & at(i + 2) & at(i + 3) & charClass) != 0)
        i += 4;
    while (i < text.size() && Is(text[i], charClass))
        ++i;
    return i;
}

// The source call that starts a line, in one pass: where its run of call characters ends,
// how long the call is without a portable suffix ("N0CALL/P" is N0CALL, unless the "/" is the
// first byte), and the first and last "-" of that call.
struct SourceCall {
    size_t end = 0;
    size_t length = 0;
    size_t firstDash = std::string_view::npos;
    size_t lastDash = std::string_view::npos;
};

SourceCall ScanSource(std::string_view line) {
    SourceCall call;
    size_t slash = std::string_view::npos;
    size_t i = 0;
    for (; i < line.size(); ++i) {
        const uint8_t charClass = kCharClasses[U(line[i])];
        if ((charClass & kSourceChar) == 0)
            break;
        if ((charClass & kCallMark) == 0)
            continue;
        if (line[i] == '/') {
            if (slash == std::string_view::npos)
                slash = i;
        } else if (slash == std::string_view::npos || slash == 0) {
            if (call.firstDash == std::string_view::npos)
                call.firstDash = i;
            call.lastDash = i;
        }
    }
    call.end = i;
    call.length = slash != std::string_view::npos && slash > 0 ? slash : i;
    return call;
}

// False when the text surely holds no white space but the blank: all of it is printable
// ASCII, as nearly every line is. Eight bytes at a time, the last word overlapping the one
// before, since every line goes through this; any byte below 0x20 (it borrows) or from 0x80
// up sets a high bit of (x - 0x20..) | x, and such a line is then checked exactly.
bool MayHoldOtherBlank(std::string_view text) {
    constexpr uint64_t kSpaces = 0x2020202020202020;
    constexpr uint64_t kHighs = 0x8080808080808080;
    const auto unusual = [&](size_t at) {
        uint64_t x;
        std::memcpy(&x, text.data() + at, sizeof x);
        return (((x - kSpaces) | x) & kHighs) != 0;
    };
    if (text.size() < 8)
        return std::any_of(text.begin(), text.end(), [](char c) { return Is(c, kOtherBlank); });
    for (size_t i = 0; i + 8 <= text.size(); i += 8) {
        if (unusual(i))
            return true;
    }
    return text.size() % 8 != 0 && unusual(text.size() - 8);
}

// White space becomes a space and both ends are trimmed. Most lines only lose their line
// ends, so the copy is made only when a tab or the like sits inside the line.
std::string_view CleanLine(std::string_view raw, DecodedPacket& packet) {
    const auto blank = [](char c) { return c == ' ' || Is(c, kOtherBlank); };
    size_t begin = 0;
    size_t end = raw.size();
    while (begin < end && blank(raw[begin]))
        ++begin;
    while (end > begin && blank(raw[end - 1]))
        --end;
    const std::string_view trimmed = raw.substr(begin, end - begin);
    const auto isOtherBlank = [](char c) { return Is(c, kOtherBlank); };
    if (!MayHoldOtherBlank(trimmed) || std::none_of(trimmed.begin(), trimmed.end(), isOtherBlank)) {
        return trimmed;
    }
    const std::span<char> room = packet.Room(trimmed.size());
    std::replace_copy_if(trimmed.begin(), trimmed.end(), room.begin(), isOtherBlank, ' ');
    return {room.data(), room.size()};
}

// --- Dispatch -------------------------------------------------------------------------

struct Packet {
    std::string_view header;  // "SOURCE>DESTINATION,PATH"
    std::string_view source;
    std::string_view destination;
    std::string_view path;
    std::string_view information;  // from the data type identifier, never empty
};

// ";LEADER   *092345z4903.50N/07201.75W>": name in 1..9, live "*" or killed "_" at 10.
void DecodeObject(aprs::ReportWriter& out, const Packet& p) {
    const std::string_view info = p.information;
    if (info.size() <= 10 || (info[10] != '*' && info[10] != '_'))
        return;
    const std::string_view name = latin1::Trim(info.substr(1, 9));
    aprs::DecodePosition(out, name, p.destination, p.path, info.substr(10));
    out.SetObjectOwner(name, p.source, info[10] == '_');
}

// ")AID #2!4903.50N/07201.75WA": the name runs up to the first "!" (live) or, when there is
// none, the first "_" (killed), at most 9 characters. An item carries no time stamp, so
// the position follows the mark straight away.
void DecodeItem(aprs::ReportWriter& out, const Packet& p) {
    const std::string_view info = p.information;
    size_t mark = info.find('!', 1);
    if (mark == std::string_view::npos)
        mark = info.find('_', 1);
    if (mark == std::string_view::npos || mark > 10)
        return;
    const std::string_view name = latin1::Trim(info.substr(1, mark - 1));
    aprs::DecodePosition(out, name, p.destination, p.path, info.substr(mark), false);
    out.SetObjectOwner(name, p.source, info[mark] == '_');
}

// Messages ":ADDRESSEE:text" (addressee padded to nine characters) and queries: a query
// written in the message layout is handed like a message, a general "?APRS?" with an empty
// addressee; anything else is dropped.
void DecodeMessageOrQuery(DecodedPacket& out, const Packet& p) {
    const std::string_view info = p.information;
    if (info.size() > 10 && info[10] == ':') {
        out.hasMessage = true;
        out.messageSource = p.source;
        out.messageAddressee = latin1::Trim(info.substr(1, 9));
        out.messageText = info.substr(11);
        out.messageRoute = p.header;
        // Telemetry names, units, equations and bit senses a station sends to itself, e.g.
        // ":N0CALL   :PARM.Vin,Rx1h". They stay messages as well.
        const std::string_view text = out.messageText;
        if (out.messageAddressee == p.source && text.size() >= 5 && text[4] == '.' &&
            (text.starts_with("PARM") || text.starts_with("UNIT") || text.starts_with("EQNS") ||
             text.starts_with("BITS"))) {
            if (StationReport* r = out.ReportFor(p.source))
                r->telemetryDefinition = text;
        }
    } else if (info[0] == '?' && latin1::StartsWithNoCase(info, "?APRS?")) {
        out.hasMessage = true;
        out.messageSource = p.source;
        out.messageAddressee = {};
        out.messageText = info.substr(0, 6);
        out.messageRoute = p.header;
    }
}

// A Maidenhead locator of four or six characters, e.g. "IO91" or "IO91SX".
bool IsLocator(std::string_view text) {
    const auto between = [](char c, char from, char to) {
        const char upper = static_cast<char>(ToUpper(U(c)));
        return upper >= from && upper <= to;
    };
    if (text.size() != 4 && text.size() != 6)
        return false;
    return between(text[0], 'A', 'R') && between(text[1], 'A', 'R') && IsDigit(U(text[2])) &&
           IsDigit(U(text[3])) &&
           (text.size() == 4 || (between(text[4], 'A', 'X') && between(text[5], 'A', 'X')));
}

// Status ">text": the text is the station's information. A time stamp "092345z" before it
// is no part of the text; a locator with a symbol before it ("IO91SX/- text") gives the
// station its symbol.
void DecodeStatus(aprs::ReportWriter& out, const Packet& p) {
    std::string_view text = p.information.substr(1);
    if (text.size() >= 7 && text[6] == 'z' &&
        std::all_of(text.begin(), text.begin() + 6, [](char c) { return IsDigit(U(c)); })) {
        text.remove_prefix(7);
    } else {
        for (const size_t length : {size_t{6}, size_t{4}}) {
            if (text.size() < length + 2 || !IsLocator(text.substr(0, length)) ||
                (text.size() > length + 2 && text[length + 2] != ' ')) {
                continue;
            }
            const char table = text[length];
            if (table != '/' && table != '\\' && !IsAlnum(U(table)))
                continue;
            // It stands before the symbol the destination or SSID implies.
            if (StationReport* r = out.packet().ReportFor(p.source)) {
                r->hasImpliedSymbol = true;
                r->impliedSymbol = {table, text[length + 1]};
            }
            text.remove_prefix(std::min(text.size(), length + 3));
            break;
        }
    }
    out.SetDeviceAndPath(p.source, p.destination, p.path, text);
}

// Types without a decoder of their own: an object written without ";", a position found at
// a "!", or else the information field kept whole as the station's text.
void DecodeOther(aprs::ReportWriter& out, const Packet& p) {
    const std::string_view info = p.information;
    if (info.size() > 9 && info[9] == '*') {
        const std::string_view name = latin1::Trim(info.substr(0, 9));
        aprs::DecodePosition(out, name, p.destination, p.path, info.substr(9));
        out.SetObjectOwner(name, p.source, false);
        return;
    }
    const size_t bang = info.find('!');
    if (bang != std::string_view::npos) {
        aprs::DecodePosition(out, p.source, p.destination, p.path, info.substr(bang));
        return;
    }
    out.SetDeviceAndPath(p.source, p.destination, p.path, info);
}

// Every type but the relayed packet "}", which needs the decoder itself.
void Dispatch(aprs::ReportWriter& out, const Packet& p) {
    const std::string_view info = p.information;
    switch (info[0]) {
        case '!':
        case '/':
        case '=':
        case '@':
            if (info.starts_with("!!")) {  // Peet Bros logging record
                out.SetDeviceAndPath(p.source, p.destination, p.path, "");
                aprs::DecodePeetWeather(out, p.source, p.destination, p.path, info);
            } else {
                aprs::DecodePosition(out, p.source, p.destination, p.path, info);
            }
            break;
        case '#':
        case '*':
            out.SetDeviceAndPath(p.source, p.destination, p.path, "");
            aprs::DecodePeetWeather(out, p.source, p.destination, p.path, info);
            break;
        case '$':
            out.SetDeviceAndPath(p.source, p.destination, p.path, "");
            if (info.starts_with("$ULTW")) {
                aprs::DecodePeetWeather(out, p.source, p.destination, p.path, info);
            } else {
                // A raw NMEA sentence as another station's position report.
                DecodedPacket& packet = out.packet();
                packet.sentence = info;
                packet.sentenceSource = p.source;
                packet.sentenceDestination = p.destination;
                packet.sentencePath = p.path;
            }
            break;
        case '\'':
        case '`':
            aprs::DecodeMicE(out, p.source, p.destination, p.path, info);
            break;
        case ';':
            DecodeObject(out, p);
            break;
        case ')':
            DecodeItem(out, p);
            break;
        case ':':
        case '?':
            DecodeMessageOrQuery(out.packet(), p);
            break;
        case '>':
            DecodeStatus(out, p);
            break;
        case '_':
            out.SetDeviceAndPath(p.source, p.destination, p.path, "");
            aprs::DecodeWeather(out, p.source, p.destination, p.path, info, -1, -1);
            break;
        case 'T':
            // "T#005,199,000,255,073,123,01101111": telemetry; the text stays the
            // station's information as before.
            if (TelemetryValues values; aprs::ParseTelemetryReport(info, values))
                out.StoreTelemetry(p.source, values);
            DecodeOther(out, p);
            break;
        case ',':  // invalid or test data
        case '[':  // Maidenhead locator beacon
            break;
        default:
            DecodeOther(out, p);
            break;
    }
}

// One level of a line; relayed packets nest. outerPath is empty but for a relayed packet.
// e.g. N0CALL-9>APRS,WIDE1-1,WIDE2-2*:!4903.50N/07201.75W-
void DecodeLevel(aprs::ReportWriter& out, std::string_view myCall, std::string_view raw,
                 std::string_view outerPath, int depth) {
    DecodedPacket& packet = out.packet();
    const std::string_view line = CleanLine(raw, packet);
    if (line.empty())
        return;
    packet.AddShownLine(line);

    // A GPS sentence printed by the TNC is no packet; the TNC port hands it to the GPS.
    if (line[0] == '$')
        return;

    // Source: "N0CALL/P" (a portable suffix) is the station N0CALL.
    const SourceCall call = ScanSource(line);
    const size_t i = call.end;
    if (i == line.size() || line[i] != '>')
        return;  // e.g. "cmd:" from the TNC
    const std::string_view source = line.substr(0, call.length);

    const size_t restBegin = i + 1;
    const size_t stop = RunEnd(line, restBegin, kHeaderChar);
    const std::string_view rest = line.substr(restBegin, stop - restBegin);

    std::string_view destination;
    std::string_view path;
    const size_t comma = FindInField(rest, ',');
    size_t lastArrow = std::string_view::npos;
    if (comma != std::string_view::npos && comma > 0) {
        destination = rest.substr(0, comma);
        path = rest.substr(comma + 1);
    } else if ((lastArrow = rest.rfind('>')) != std::string_view::npos) {
        // "N0CALL>DIGI1>DIGI2>APRS": digipeaters first, destination last.
        destination = rest.substr(lastArrow + 1);
        const std::string_view hops = latin1::Trim(rest.substr(0, lastArrow));
        const std::span<char> room = packet.Room(hops.size());
        std::replace_copy(hops.begin(), hops.end(), room.begin(), '>', ',');
        path = {room.data(), room.size()};
    } else {
        destination = rest;
    }

    // The inner packet of a relayed packet travelled the outer path after its own.
    const std::string_view outer = latin1::Trim(outerPath);
    if (!outer.empty()) {
        const std::string_view own = path.substr(0, path.find('*'));
        const bool marked = outer.find('*') != std::string_view::npos;
        path = packet.Join({own, own.empty() ? "" : ",", outer, marked ? "" : "*"});
    }

    if (!source.empty() && source == myCall) {
        packet.isOwn = true;
        packet.ownPacket = raw;
        return;
    }

    const Symbol implied = ImpliedSymbol(source, call.firstDash, call.lastDash, destination);
    if (implied.valid)
        out.SetImpliedSymbol(source, implied.view());

    if (stop == line.size() || line[stop] != ':') {
        // No information field: keep what follows the header, e.g. a frame-type marker.
        out.SetDeviceAndPath(source, destination, path, line.substr(stop));
        return;
    }
    if (stop + 1 == line.size()) {
        out.SetDeviceAndPath(source, destination, path, "");
        return;
    }

    const Packet p{line.substr(0, stop), source, destination, path, line.substr(stop + 1)};
    if (p.information[0] == '}') {
        // Third-party packet: the inner line is decoded again, and its path continues with
        // the relaying station and the outer path. Nesting is bounded so a line of
        // thousands of "}" headers cannot exhaust the stack.
        if (depth >= DecodedPacket::kMaxRelayDepth)
            return;
        const std::string_view outerCut = path.substr(0, path.find('*'));
        const std::string_view prefix =
            packet.Join({source, !source.empty() && !outerCut.empty() ? "," : "", outerCut});
        DecodeLevel(out, myCall, p.information.substr(1), prefix, depth + 1);
        return;
    }
    Dispatch(out, p);
}

}  // namespace

DecodedPacket::DecodedPacket(std::string_view line, const CDateTime& localNow, int biasMinutes,
                             std::string_view myCall) {
    aprs::ReportWriter out(*this, localNow, biasMinutes);
    DecodeLevel(out, myCall, line, {}, 0);
}

}  // namespace plovane
