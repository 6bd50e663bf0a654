// SPDX-License-Identifier: GPL-3.0-or-later
// Filling in a station report from the texts of a position report.
#include "core/station_report.h"

#include <bit>
#include <cstring>

#include "core/geo.h"
#include "core/latin1.h"
#include "core/report_time.h"

namespace plovane {
namespace {

// Whether the bytes of `p` that `lanes` marks (0xFF per byte, first byte lowest) are all
// digits, eight bytes at a time: a digit is 0x30..0x39, so its high nibble is 3 both before
// and after adding 6.
bool AreDigits(const char* p, uint64_t lanes) {
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        constexpr uint64_t kHigh = 0xF0F0F0F0F0F0F0F0;
        constexpr uint64_t kThrees = 0x3030303030303030;
        constexpr uint64_t kSixes = 0x0606060606060606;
        const uint64_t high = kHigh & lanes;
        return (word & high) == (kThrees & lanes) && ((word + kSixes) & high) == (kThrees & lanes);
    } else {
        for (int i = 0; i < 8; ++i) {
            if (((lanes >> (8 * i)) & 0xFF) != 0 && (p[i] < '0' || p[i] > '9'))
                return false;
        }
        return true;
    }
}

int32_t DigitsValue(const char* p, size_t count) {
    int32_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value = value * 10 + (p[i] - '0');
    return value;
}

// "DDMM.mmN" (two degree digits, N or S) and "DDDMM.mmW" (three, W or E) as nearly every
// report writes them are converted here at once, as ParseLatitude and ParseLongitude would;
// any other text (blanks of an ambiguous position, missing digits) goes to them. The texts
// hold at least 8 and 9 characters. `back` and `on` are the hemisphere letters in lower case.
template <size_t kDegreeDigits>
int32_t AngleOf(std::string_view text, char back, char on) {
    constexpr bool kLatitude = kDegreeDigits == 2;
    constexpr size_t kDot = kDegreeDigits + 2;
    // The digit bytes of the first eight: all but the dot (and a latitude's hemisphere).
    constexpr uint64_t kLanes = kLatitude ? 0x00FFFF00FFFFFFFF : 0xFFFF00FFFFFFFFFF;
    const char* p = text.data();
    if (p[kDot] != '.' || !AreDigits(p, kLanes))
        return kLatitude ? ParseLatitude(text) : ParseLongitude(text);
    const int32_t digits = DigitsValue(p, kDot) * 100 + DigitsValue(p + kDot + 1, 2);
    const char hemisphere = static_cast<char>(p[kDot + 3] | 0x20);
    if (hemisphere != back && hemisphere != on)
        return -1;
    return AngleFromDigits(digits, kLatitude ? kColatitudeBaseDegrees : kLongitudeBaseDegrees,
                           hemisphere == back);
}

int32_t LatitudeOf(std::string_view text) {
    return AngleOf<2>(text, 'n', 's');
}

int32_t LongitudeOf(std::string_view text) {
    return AngleOf<3>(text, 'w', 'e');
}

// A comment that starts "/A=" and six digits carries the altitude in feet. When the
// altitude is still unknown (-1) this takes it out: the altitude becomes decimetres and the
// comment loses its first nine characters.
// e.g. "/A=001234 hello" -> 3761 dm, " hello"
void TakeCommentAltitude(std::string_view& comment, int32_t& altitudeDm) {
    if (altitudeDm != -1 || comment.size() < 9 || !comment.starts_with("/A="))
        return;
    // Below sea level the first digit is a minus sign: "/A=-00079".
    const bool below = comment[3] == '-';
    int32_t feet = 0;
    for (size_t i = below ? 4 : 3; i < 9; ++i) {
        const auto c = static_cast<unsigned char>(comment[i]);
        if (!latin1::IsDigit(c))
            return;
        feet = feet * 10 + (c - '0');
    }
    altitudeDm = static_cast<int32_t>((below ? -feet : feet) * 3.04801);
    comment.remove_prefix(9);
}

}  // namespace

void FillPositionReport(StationReport& r, std::string_view symbol, std::string_view latitude,
                        std::string_view longitude, std::string_view time, std::string_view comment,
                        int32_t altitudeDm, const CDateTime& localNow, int biasMinutes) {
    r.hasPositionReport = true;
    r.hasSymbol = symbol.size() >= 2;
    if (r.hasSymbol)
        r.symbol = {symbol[0], symbol[1]};
    int32_t altitude = altitudeDm;
    TakeCommentAltitude(comment, altitude);
    r.comment = comment;
    r.hasPoint = false;
    r.hasReportTime = false;

    // A report without both position texts, or with texts that are no position (a missing
    // hemisphere, a foreign character, beyond the poles or the date line), still stores its
    // symbol and comment.
    if (latitude.size() < 8 || longitude.size() < 9)
        return;
    const int32_t colatitude = LatitudeOf(latitude);
    const int32_t lon = LongitudeOf(longitude);
    r.hasPoint = IsOnGlobe(colatitude, lon);
    r.colatitude = colatitude;
    r.longitude = lon;
    r.altitudeDm = altitude;
    if (r.hasPoint && time.size() == 7)
        r.hasReportTime = ParseReportTime(time, localNow, biasMinutes, r.reportTime);
}

}  // namespace plovane
