// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic APRS traffic: the encoders and the station population (see traffic.h).
#include "traffic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <utility>

namespace plovane::traffic {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegree = 111320.0;
constexpr double kMetresPerSecondPerKnot = 0.514444;

std::string Printf(const char* format, auto... args) {
    char buffer[256];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return std::string(buffer, n < 0 ? 0 : std::min<size_t>(static_cast<size_t>(n), 255));
}

// Degrees and hundredths of a minute of |value|, rounded to the nearest hundredth.
std::pair<int, int> DegreesAndHundredths(double value) {
    const long total = std::lround(std::fabs(value) * 6000.0);
    return {static_cast<int>(total / 6000), static_cast<int>(total % 6000)};
}

void Blank(std::string& text, int ambiguity) {
    // Digits from the right: hundredths, tenths, minute units, minute tens; the "." and the
    // hemisphere stay.
    static constexpr int kFromRight[] = {2, 3, 5, 6};
    const int n = std::clamp(ambiguity, 0, 4);
    for (int i = 0; i < n; ++i)
        text[text.size() - kFromRight[i]] = ' ';
}

// --- Civil time (proleptic Gregorian, days since 1970-01-01) ---

int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = static_cast<int>(y - era * 400);
    const int doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    int year, month, day, hour, minute, second, dayOfYear;
};

Civil CivilFromUnix(int64_t seconds) {
    int64_t z = seconds / 86400;
    const int64_t secondOfDay = seconds % 86400;
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = static_cast<int>(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    Civil c{};
    c.day = doy - (153 * mp + 2) / 5 + 1;
    c.month = mp < 10 ? mp + 3 : mp - 9;
    c.year = static_cast<int>(yoe + era * 400 + (c.month <= 2));
    c.hour = static_cast<int>(secondOfDay / 3600);
    c.minute = static_cast<int>(secondOfDay / 60 % 60);
    c.second = static_cast<int>(secondOfDay % 60);
    c.dayOfYear =
        static_cast<int>(DaysFromCivil(c.year, c.month, c.day) - DaysFromCivil(c.year, 1, 1)) + 1;
    return c;
}

std::string Hex4(long value) {
    return Printf("%04X", static_cast<unsigned>(value & 0xFFFF));
}

// A weather field: letter and a value of `width` digits ("t-05" for negative values).
std::string Field(char letter, long value, int width) {
    if (value < 0)
        return Printf("%c-%0*ld", letter, width - 1, -value);
    return Printf("%c%0*ld", letter, width, value);
}

const std::vector<std::string> kMoverComments = {
    "",
    "",
    "On the road",
    "Mobile 146.520",
    "QRV 2m/70cm",
    "Commuting",
    "73 de mobile",
    "Heading home",
    "Tracker",
    "Monitoring 146.52",
};
const std::vector<std::string> kWalkerComments = {"", "Hiking", "On foot", "HT on 2m",
                                                  "Trail walk"};
const std::vector<std::string> kBoatComments = {"", "Under way", "Ferry crossing", "Sailing",
                                                "Monitoring ch 16"};
const std::vector<std::string> kHomeComments = {
    "",
    "Home station",
    "Monitoring 146.520",
    "QRV HF/VHF",
    "Shack",
    "Net control 146.96",
    "Winlink RMS",
    "Ask me about APRS",
    "Ham since 1985",
};
const std::vector<std::string> kStatusTexts = {
    "Monitoring 146.520",  "On the way home",
    "QRV 2m/70cm",         "Net tonight 1900",
    "Testing new antenna", "Portable",
    "Back on Friday",      "Email me via APRS",
    "ARES drill Saturday", "Listening on the repeater",
};
const std::vector<std::string> kMessageTexts = {
    "Hi, are you on the repeater?",
    "QSY 146.58?",
    "Thanks for the contact, 73",
    "See you at the meeting",
    "Copy, on my way",
    "Net starts in 10 minutes",
    "Signal report?",
    "Good morning!",
    "Can you relay to the EOC?",
    "Roger that",
};
const std::vector<std::string> kBulletinTexts = {
    "Net tonight 1900 local on the repeater",
    "Club meeting Saturday 10:00",
    "ARES drill this weekend, all welcome",
    "Hamfest at the fairgrounds Sunday",
};
const std::vector<std::string> kWeatherSuffixes = {"wRSW",  "dDvs", "xDVS",  "wU2K",
                                                   "wU2KR", "UDAV", "eMB51", "xU5"};

}  // namespace

// --- Encoders ---

namespace {

// "DDMM.mmN" (two degree digits) or "DDDMM.mmW" (three): `negative` is the hemisphere letter
// of a value below zero.
std::string FormatAngle(double value, int ambiguity, int degreeDigits, char positive,
                        char negative) {
    const auto [degrees, hundredths] = DegreesAndHundredths(value);
    const int maxDegrees = degreeDigits == 2 ? 90 : 180;
    std::string text = Printf("%0*d%02d.%02d%c", degreeDigits, std::min(degrees, maxDegrees),
                              hundredths / 100, hundredths % 100, value < 0 ? negative : positive);
    Blank(text, ambiguity);
    return text;
}

}  // namespace

std::string FormatLatitude(double lat, int ambiguity) {
    return FormatAngle(lat, ambiguity, 2, 'N', 'S');
}

std::string FormatLongitude(double lon, int ambiguity) {
    return FormatAngle(lon, ambiguity, 3, 'E', 'W');
}

std::string Base91(uint32_t value, int digits) {
    std::string text(static_cast<size_t>(digits), '!');
    for (int i = digits - 1; i >= 0; --i) {
        text[static_cast<size_t>(i)] = static_cast<char>(33 + value % 91);
        value /= 91;
    }
    return text;
}

std::string CompressedPosition(double lat, double lon, char table, char code,
                               std::string_view cst) {
    const double y = std::floor(380926.0 * (90.0 - std::clamp(lat, -90.0, 90.0)));
    const double x = std::floor(190463.0 * (180.0 + std::clamp(lon, -180.0, 180.0)));
    std::string text(1, table);
    text += Base91(static_cast<uint32_t>(y), 4);
    text += Base91(static_cast<uint32_t>(x), 4);
    text += code;
    text += cst;
    return text;
}

std::string CompressedCourseSpeed(int courseDegrees, int speedKnots) {
    // Course in 4-degree steps; speed as a power of 1.08. The "T" byte: a current RMC fix.
    const int c = (((courseDegrees % 360) + 360) % 360) / 4;
    const int s = std::clamp(
        static_cast<int>(std::lround(std::log(std::max(speedKnots, 0) + 1.0) / std::log(1.08))), 0,
        89);
    std::string text;
    text += static_cast<char>(33 + c);
    text += static_cast<char>(33 + s);
    text += static_cast<char>(33 + 0x3A);
    return text;
}

std::string CompressedAltitude(int altitudeFeet) {
    // Altitude as a power of 1.002 in two base-91 digits. The "T" byte: a current GGA fix.
    const long cs = std::clamp(std::lround(std::log(std::max(altitudeFeet, 1)) / std::log(1.002)),
                               0L, 89L * 91 + 90);
    std::string text = Base91(static_cast<uint32_t>(cs), 2);
    text += static_cast<char>(33 + 0x32);
    return text;
}

MicE EncodeMicE(double lat, double lon, int speedKnots, int courseDegrees, int messageIndex,
                bool custom, char table, char code, MicEDevice device, std::optional<int> altitudeM,
                std::string_view comment, char type) {
    MicE out;
    const auto [latDegrees, latHundredths] = DegreesAndHundredths(lat);
    auto [lonDegrees, lonHundredths] = DegreesAndHundredths(lon);
    const int latDigits[6] = {latDegrees / 10 % 10,    latDegrees % 10,
                              latHundredths / 1000,    latHundredths / 100 % 10,
                              latHundredths / 10 % 10, latHundredths % 10};
    const int bits = 7 - std::clamp(messageIndex, 0, 7);
    const bool offset = lonDegrees < 10 || lonDegrees >= 100;
    const bool flags[6] = {(bits & 4) != 0, (bits & 2) != 0, (bits & 1) != 0,
                           lat >= 0,        offset,          lon < 0};
    for (int i = 0; i < 6; ++i) {
        char base = '0';
        if (flags[i])
            base = (i < 3 && custom) ? 'A' : 'P';
        out.destination += static_cast<char>(base + latDigits[i]);
    }

    // Longitude: degrees with the +100 offset folded in, minutes (+60 below 4 so the byte
    // stays printable), hundredths of a minute.
    int minutes = lonHundredths / 100;
    int hundredths = lonHundredths % 100;
    if (hundredths < 4)
        hundredths = 4;
    if (hundredths > 98)
        hundredths = 98;
    int d;
    if (lonDegrees < 10) {
        d = lonDegrees + 90;
    } else if (lonDegrees < 100) {
        d = lonDegrees;
    } else if (lonDegrees < 110) {
        d = lonDegrees - 20;
    } else {
        d = lonDegrees - 100;
    }
    out.information += type;
    out.information += static_cast<char>(d + 28);
    out.information += static_cast<char>((minutes < 4 ? minutes + 60 : minutes) + 28);
    out.information += static_cast<char>(hundredths + 28);

    // Speed and course share three bytes; the +800 knots and +400 degrees aliases keep
    // them printable.
    const int speed = std::clamp(speedKnots, 0, 799);
    int course = std::clamp(courseDegrees, 0, 360);
    if (course % 100 < 4)
        course += 4 - course % 100;
    if (course % 100 == 99)
        course -= 1;
    const int tens = speed / 10;
    out.information += static_cast<char>(tens <= 18 ? tens + 108 : tens + 28);
    int dc = (speed % 10) * 10 + course / 100;
    if (dc < 4)
        dc += 4;
    out.information += static_cast<char>(dc + 28);
    out.information += static_cast<char>(course % 100 + 28);
    out.information += code;
    out.information += table;

    if (device == MicEDevice::kThD7)
        out.information += '>';
    if (device == MicEDevice::kTmD700)
        out.information += ']';
    if (altitudeM) {
        // Metres above 10 km below sea level.
        const int above = std::clamp(*altitudeM + 10000, 0, 91 * 91 * 91 - 1);
        out.information += Base91(static_cast<uint32_t>(above), 3);
        out.information += '}';
    }
    out.information += comment;
    return out;
}

bool IsMoving(StationKind kind) {
    switch (kind) {
        case StationKind::kCar:
        case StationKind::kWalker:
        case StationKind::kBike:
        case StationKind::kBoat:
        case StationKind::kNetCar:
            return true;
        default:
            return false;
    }
}

// --- Generator ---

Generator::Generator(const Options& options) : options_(options), random_(options.seed) {
    options_.stations = std::max(options_.stations, 1);
    options_.region.radiusKm = std::max(options_.region.radiusKm, 0.5);
    european_ = options_.region.lat > 34 && options_.region.lat < 72 && options_.region.lon > -25 &&
                options_.region.lon < 45;
    startUnix_ = DaysFromCivil(2024, 6, 15) * 86400 + 12 * 3600;
    CreateStations();
}

std::string Generator::RandomPhg(int powerLo, int powerHi, int heightLo, int heightHi, int gainLo,
                                 int gainHi, bool directional) {
    const int power = random_.Between(powerLo, powerHi);
    const int height = random_.Between(heightLo, heightHi);
    const int gain = random_.Between(gainLo, gainHi);
    const int directivity = directional && random_.Chance(0.3) ? 2 : 0;
    return Printf("PHG%d%d%d%d", power, height, gain, directivity);
}

std::string Generator::MakeCall(bool european) {
    static const std::vector<std::string> kUsPrefixes = {
        "K",  "W",  "N",  "KA", "KB", "KC", "KD", "KE", "KF", "KG", "KI", "KJ", "KK",
        "WA", "WB", "WD", "AA", "AB", "AC", "AD", "AE", "AF", "AG", "AI", "NA", "NB"};
    static const std::vector<std::string> kEuPrefixes = {"PA", "PD", "PE", "PH", "PB", "ON",
                                                         "DL", "DK", "DJ", "DO", "DB"};
    std::string call;
    if (european) {
        call = random_.Pick(kEuPrefixes);
        call += static_cast<char>('0' + random_.Between(0, 9));
    } else {
        call = random_.Pick(kUsPrefixes);
        // West of the Rockies the 6 and 7 districts dominate.
        const char digit = options_.region.lon < -114
                               ? (options_.region.lat > 42 ? '7' : '6')
                               : static_cast<char>('0' + random_.Between(0, 9));
        call += random_.Chance(0.85) ? digit : static_cast<char>('0' + random_.Between(0, 9));
    }
    // One-letter prefixes get three letters (K7ABC), two-letter ones two or three.
    const int letters = call.size() == 2 ? 3 : random_.Between(2, 3);
    for (int i = 0; i < letters; ++i)
        call += static_cast<char>('A' + random_.Between(0, 25));
    return call;
}

void Generator::Schedule(int64_t time, EventKind kind, int station, int other, int number) {
    Event e;
    e.time = time;
    e.order = order_++;
    e.kind = kind;
    e.station = station;
    e.other = other;
    e.number = number;
    events_.push(e);
}

void Generator::CreateStations() {
    // Shares of the population, in order.
    static constexpr std::pair<StationKind, double> kShares[] = {
        {StationKind::kCar, 0.25},  {StationKind::kWalker, 0.06}, {StationKind::kBike, 0.04},
        {StationKind::kBoat, 0.07}, {StationKind::kNetCar, 0.05}, {StationKind::kHome, 0.25},
        {StationKind::kDigi, 0.05}, {StationKind::kIgate, 0.04},  {StationKind::kWeather, 0.13},
        {StationKind::kEoc, 0.06},
    };
    const int n = options_.stations;
    std::set<std::string> used;
    const Region& r = options_.region;
    const double cosLat = std::max(std::cos(r.lat * kPi / 180.0), 0.05);
    size_t weatherStations = 0;

    for (int i = 0; i < n; ++i) {
        const double at = (i + 0.5) / n;
        double sum = 0;
        StationKind kind = StationKind::kHome;
        for (const auto& [k, share] : kShares) {
            sum += share;
            kind = k;
            if (at < sum)
                break;
        }
        Station s;
        s.kind = kind;

        static const char* const kSsids[] = {"-9", "-7", "-12", "-8",  "-9",
                                             "",   "-3", "-10", "-13", "-1"};
        std::string call;
        do {
            call = MakeCall(european_);
            const char* ssid = kSsids[static_cast<int>(kind)];
            if (kind == StationKind::kCar && random_.Chance(0.3))
                ssid = "-5";
            if (kind == StationKind::kHome && random_.Chance(0.3))
                ssid = "-1";
            call += ssid;
        } while (!used.insert(call).second);
        s.call = call;

        // Somewhere in the region, evenly over the disc.
        const double radiusM = r.radiusKm * 1000.0 * std::sqrt(random_.Unit());
        const double bearing = random_.Range(0, 2 * kPi);
        s.lat = r.lat + radiusM * std::cos(bearing) / kMetresPerDegree;
        s.lon = r.lon + radiusM * std::sin(bearing) / (kMetresPerDegree * cosLat);
        s.heading = random_.Range(0, 360);

        const double roll = random_.Unit();
        switch (kind) {
            case StationKind::kCar: {
                s.speedKnots = random_.Range(15, 60);
                s.intervalS = random_.Between(60, 180);
                s.encoding = roll < 0.4    ? Encoding::kUncompressed
                             : roll < 0.75 ? Encoding::kMicE
                                           : Encoding::kCompressed;
                static const std::vector<char> kCodes = {'>', '>', '>', 'j', 'k', 'v', '<', 'u'};
                s.code = random_.Pick(kCodes);
                s.comment = random_.Pick(kMoverComments);
                s.path = random_.Chance(0.8) ? "WIDE1-1,WIDE2-1" : "WIDE1-1,WIDE2-2";
                s.altitudeM = random_.Between(0, 250);
                s.altitudeInComment = random_.Chance(0.35);
                if (s.encoding == Encoding::kUncompressed) {
                    static const std::vector<std::string> kDest = {
                        "APOT30", "APTT4", "APK102", "APDR16", "GPSLV", "GPSLJ", "APY300", "APRS"};
                    s.destination = random_.Pick(kDest);
                    s.timestamp = random_.Chance(0.4) ? 'z' : (random_.Chance(0.15) ? 'h' : 0);
                } else if (s.encoding == Encoding::kCompressed) {
                    static const std::vector<std::string> kDest = {"APOT30", "APX209", "APDW16",
                                                                   "APMI06"};
                    s.destination = random_.Pick(kDest);
                    s.timestamp = random_.Chance(0.3) ? 'z' : 0;
                } else {
                    s.device = static_cast<MicEDevice>(random_.Between(0, 2));
                    s.micEMessage = random_.Between(0, 6);
                    s.micECustom = random_.Chance(0.1);
                }
                s.messaging = random_.Chance(0.3);
                break;
            }
            case StationKind::kWalker:
                s.speedKnots = random_.Range(1.5, 4);
                s.intervalS = random_.Between(120, 300);
                s.code = '[';
                s.encoding = roll < 0.6 ? Encoding::kMicE : Encoding::kUncompressed;
                s.device = MicEDevice::kThD7;
                s.micEMessage = random_.Between(0, 3);
                s.destination = "APK003";
                s.comment = random_.Pick(kWalkerComments);
                s.path = "WIDE1-1,WIDE2-1";
                s.altitudeM = random_.Between(0, 600);
                s.altitudeInComment = random_.Chance(0.5);
                s.messaging = true;
                break;
            case StationKind::kBike:
                s.speedKnots = random_.Range(7, 16);
                s.intervalS = random_.Between(90, 180);
                s.code = 'b';
                s.encoding = roll < 0.5 ? Encoding::kCompressed : Encoding::kUncompressed;
                s.destination = roll < 0.5 ? "APOT30" : "APTT4";
                s.path = "WIDE1-1,WIDE2-1";
                s.timestamp = random_.Chance(0.5) ? 'h' : 0;
                break;
            case StationKind::kBoat:
                s.speedKnots = random_.Range(6, 18);
                s.intervalS = random_.Between(120, 240);
                s.code = 's';
                s.encoding = roll < 0.6 ? Encoding::kUncompressed : Encoding::kMicE;
                s.device = MicEDevice::kTmD700;
                s.micEMessage = 1;
                s.destination = "APOT30";
                s.comment = random_.Pick(kBoatComments);
                s.path = "WIDE2-2";
                s.timestamp = 'z';
                break;
            case StationKind::kNetCar:
                s.speedKnots = random_.Range(20, 55);
                s.intervalS = random_.Between(60, 180);
                s.code = roll < 0.7 ? '>' : '$';
                s.destination = "APDR16";
                s.comment = "APRSdroid";
                s.path = "TCPIP*";
                s.messaging = true;
                break;
            case StationKind::kHome: {
                s.intervalS = random_.Between(600, 1800);
                s.code = roll < 0.8 ? '-' : 'y';
                s.encoding = random_.Chance(0.1) ? Encoding::kCompressed : Encoding::kUncompressed;
                if (s.encoding == Encoding::kUncompressed && random_.Chance(0.3)) {
                    s.ambiguity = random_.Chance(0.7) ? 2 : random_.Between(1, 3);
                }
                if (random_.Chance(0.5))
                    s.phg = RandomPhg(2, 7, 1, 5, 0, 6, true);
                static const std::vector<std::string> kDest = {
                    "APU25N", "APX209", "APWW11", "APRS", "APAGW", "APMI06", "APK102", "APDW16"};
                s.destination = random_.Pick(kDest);
                s.comment = random_.Pick(kHomeComments);
                s.path =
                    random_.Chance(0.15) ? "TCPIP*" : (random_.Chance(0.5) ? "WIDE2-2" : "WIDE2-1");
                s.messaging = random_.Chance(0.6);
                break;
            }
            case StationKind::kDigi:
                s.intervalS = random_.Between(900, 1800);
                s.table = random_.Chance(0.5) ? 'S' : '/';
                s.code = '#';
                s.phg = RandomPhg(3, 7, 3, 7, 3, 6, false);
                s.destination = random_.Chance(0.5) ? "APN383" : "APDW16";
                s.comment = european_ ? "/ WIDEn-N digi" : "/W2, WAn-N digi";
                s.path = "WIDE2-1";
                s.altitudeM = random_.Between(100, 1200);
                break;
            case StationKind::kIgate:
                s.intervalS = random_.Between(900, 1800);
                s.table = 'I';
                s.code = '&';
                s.phg = RandomPhg(2, 5, 2, 5, 0, 4, false);
                s.destination = random_.Chance(0.5) ? "APDW16" : "APX209";
                s.comment = "RX iGate";
                s.path = "WIDE1-1";
                break;
            case StationKind::kWeather: {
                s.intervalS = random_.Between(300, 900);
                s.table = '/';
                s.code = '_';
                // In turn, so that even a small population has every format.
                static constexpr WeatherFormat kTurns[] = {
                    WeatherFormat::kPositional,   WeatherFormat::kPositionless,
                    WeatherFormat::kUltimeter,    WeatherFormat::kU2Kmh,
                    WeatherFormat::kPositional,   WeatherFormat::kLogging,
                    WeatherFormat::kU2Mph,        WeatherFormat::kPositional,
                    WeatherFormat::kPositionless, WeatherFormat::kPositional,
                };
                s.weatherFormat = kTurns[weatherStations++ % std::size(kTurns)];
                static const std::vector<std::string> kDest = {"APU25N", "APX209", "APWW11",
                                                               "APRS"};
                s.destination = s.weatherFormat == WeatherFormat::kPositional ||
                                        s.weatherFormat == WeatherFormat::kPositionless
                                    ? random_.Pick(kDest)
                                    : (random_.Chance(0.5) ? "APN391" : "APRS");
                s.comment = random_.Pick(kWeatherSuffixes);
                s.path = "WIDE2-1";
                s.timestamp = random_.Chance(0.7) ? 'z' : 0;
                Weather& w = s.weather;
                w.tempF = 75 - std::fabs(r.lat) * 0.45 + random_.Range(-6, 6);
                w.humidity = random_.Range(40, 95);
                w.pressureMb = random_.Range(1000, 1030);
                w.windMph = random_.Range(0, 15);
                w.windDir = random_.Range(0, 360);
                w.rainLongTerm = random_.Between(500, 4000);
                break;
            }
            case StationKind::kEoc:
                s.intervalS = random_.Between(900, 1800);
                s.code = 'o';
                s.destination = random_.Chance(0.5) ? "APU25N" : "APWW11";
                s.comment = "Emergency Operations";
                s.path = "WIDE2-2";
                s.messaging = true;
                break;
        }
        if (kind == StationKind::kCar || kind == StationKind::kWalker ||
            kind == StationKind::kBike || kind == StationKind::kBoat) {
            if (s.encoding == Encoding::kMicE)
                s.destination.clear();  // carries the latitude
        }
        if (random_.Chance(0.35))
            s.status = random_.Pick(kStatusTexts);

        const int index = static_cast<int>(stations_.size());
        StationTruth t;
        t.call = s.call;
        t.kind = kind;
        truth_.push_back(t);

        Schedule(random_.Between(0, std::min(s.intervalS, 600)), EventKind::kBeacon, index);
        if (!s.status.empty()) {
            Schedule(random_.Between(30, 1800), EventKind::kStatus, index);
        }
        if (s.messaging)
            chatters_.push_back(index);
        if (kind == StationKind::kIgate)
            igates_.push_back(index);
        if (kind == StationKind::kDigi)
            digis_.push_back(index);
        if (kind == StationKind::kIgate || kind == StationKind::kDigi) {
            Schedule(random_.Between(60, 1200), EventKind::kTelemetry, index);
        }
        if (kind == StationKind::kEoc) {
            Schedule(random_.Between(300, 1800), EventKind::kBulletin, index);
            static const std::vector<std::string> kObjectNames = {"EOC",  "SHLTR", "AID",   "HOSP",
                                                                  "FDAY", "RPTR",  "WATER", "NET"};
            const int count = random_.Between(2, 4);
            for (int k = 0; k < count; ++k) {
                ObjectTruth o;
                // Unique within the run and at most nine characters ("SHLTR-123").
                o.name = random_.Pick(kObjectNames) + "-" + std::to_string(objects_.size() % 1000);
                o.owner = s.call;
                o.item = random_.Chance(0.35);
                o.lat = s.lat + random_.Range(-0.08, 0.08);
                o.lon = s.lon + random_.Range(-0.12, 0.12);
                const int objectIndex = static_cast<int>(objects_.size());
                objects_.push_back(o);
                // A third of them are taken down during the run.
                objectKillTime_.push_back(random_.Chance(0.35) ? random_.Between(600, 5400) : -1);
                Schedule(random_.Between(0, 600), EventKind::kObject, index, objectIndex);
            }
        }
        stations_.push_back(std::move(s));
    }
    // Conversations start once the population is known.
    for (int index : chatters_) {
        if (random_.Chance(0.5)) {
            Schedule(random_.Between(60, 1800), EventKind::kMessage, index, -1, 0);
        }
    }
}

void Generator::Move(Station& s, int64_t now) {
    const double dt = static_cast<double>(now - s.lastMove);
    s.lastMove = now;
    if (dt <= 0)
        return;
    const Region& r = options_.region;
    const double cosLat = std::max(std::cos(s.lat * kPi / 180.0), 0.05);
    const double northM = (s.lat - r.lat) * kMetresPerDegree;
    const double eastM = (s.lon - r.lon) * kMetresPerDegree * cosLat;
    if (std::sqrt(northM * northM + eastM * eastM) > r.radiusKm * 1000.0) {
        // Outside the region: turn towards its centre.
        s.heading = std::fmod(std::atan2(-eastM, -northM) * 180.0 / kPi + 360.0, 360.0);
    } else {
        s.heading = std::fmod(s.heading + random_.Range(-25, 25) + 360.0, 360.0);
    }
    const double metres = s.speedKnots * kMetresPerSecondPerKnot * dt;
    const double h = s.heading * kPi / 180.0;
    s.lat += metres * std::cos(h) / kMetresPerDegree;
    s.lon += metres * std::sin(h) / (kMetresPerDegree * cosLat);
}

void Generator::Report(int index, double lat, double lon, double toleranceDeg) {
    StationTruth& t = truth_[static_cast<size_t>(index)];
    t.reported = true;
    t.lat = lat;
    t.lon = lon;
    t.toleranceDeg = toleranceDeg;
}

int Generator::RandomIgate() {
    return igates_.empty() ? -1 : igates_[random_.Below(static_cast<uint32_t>(igates_.size()))];
}

int Generator::RandomDigi() {
    return digis_.empty() ? -1 : digis_[random_.Below(static_cast<uint32_t>(digis_.size()))];
}

int Generator::RandomChatter(int except) {
    if (chatters_.size() < 2)
        return -1;
    for (int tries = 0; tries < 8; ++tries) {
        const int pick = chatters_[random_.Below(static_cast<uint32_t>(chatters_.size()))];
        if (pick != except)
            return pick;
    }
    return -1;
}

std::string Generator::DigipeatedPath(const std::string& path) {
    if (path.empty() || path.starts_with("TCPIP"))
        return path;
    const int hops = random_.Between(0, 2);
    if (hops == 0)
        return path;
    if (digis_.empty())
        return path;
    // The second hop is another digipeater than the first, when there is one.
    const std::string first = stations_[static_cast<size_t>(RandomDigi())].call;
    auto digi = [&]() {
        std::string call = first;
        for (int tries = 0; tries < 4 && call == first; ++tries) {
            call = stations_[static_cast<size_t>(RandomDigi())].call;
        }
        return call;
    };
    if (path == "WIDE1-1,WIDE2-1") {
        return hops == 1 ? first + ",WIDE1*,WIDE2-1" : first + ",WIDE1," + digi() + ",WIDE2*";
    }
    if (path == "WIDE1-1,WIDE2-2") {
        return hops == 1 ? first + ",WIDE1*,WIDE2-2" : first + ",WIDE1," + digi() + "*,WIDE2-1";
    }
    if (path == "WIDE2-2") {
        return hops == 1 ? first + "*,WIDE2-1" : first + "," + digi() + ",WIDE2*";
    }
    if (path == "WIDE2-1")
        return first + ",WIDE2*";
    if (path == "WIDE1-1")
        return first + ",WIDE1*";
    return path;
}

std::string Generator::Header(const Station& s, bool heardDirect) {
    std::string header = s.call + ">" + s.destination;
    std::string path = heardDirect ? s.path : DigipeatedPath(s.path);
    if (path == "TCPIP*")
        path += european_ ? ",qAC,T2NL" : ",qAC,T2USANW";
    if (!path.empty())
        header += "," + path;
    header += ":";
    return header;
}

std::string Generator::Timestamp(char kind, int64_t now) const {
    const Civil c = CivilFromUnix(startUnix_ + now);
    if (kind == 'h')
        return Printf("%02d%02d%02dh", c.hour, c.minute, c.second);
    return Printf("%02d%02d%02dz", c.day, c.hour, c.minute);
}

std::string Generator::Relay(const Station& inner, const std::string& info) {
    const int gate = RandomIgate();
    if (gate < 0)
        return Header(inner, true) + info;
    const Station& g = stations_[static_cast<size_t>(gate)];
    std::string line = g.call + ">" + g.destination;
    const std::string outerPath = DigipeatedPath("WIDE2-1");
    line += "," + outerPath + ":}";
    line += inner.call + ">" + inner.destination + ",TCPIP," + g.call + "*:" + info;
    return line;
}

std::string Generator::PositionBeacon(int index, int64_t now) {
    Station& s = stations_[static_cast<size_t>(index)];
    const bool moving = IsMoving(s.kind);
    if (moving) {
        Move(s, now);
        s.speedKnots = std::max(0.0, s.speedKnots + random_.Range(-3, 3));
    }
    ++s.beacons;
    const int course = moving ? static_cast<int>(std::lround(s.heading)) % 360 : 0;
    const int speed = moving ? static_cast<int>(std::lround(s.speedKnots)) : 0;
    const int altitudeFt =
        s.altitudeM < 0 ? -1 : static_cast<int>(std::lround(s.altitudeM / 0.3048));

    if (s.encoding == Encoding::kMicE) {
        const MicE m =
            EncodeMicE(s.lat, s.lon, speed, course, s.micEMessage, s.micECustom, '/', s.code,
                       s.device, s.altitudeInComment ? std::optional(s.altitudeM) : std::nullopt,
                       s.comment, random_.Chance(0.8) ? '`' : '\'');
        Report(index, s.lat, s.lon, 0.001);
        std::string line = s.call + ">" + m.destination;
        const std::string path = DigipeatedPath(s.path);
        if (!path.empty())
            line += "," + path;
        return line + ":" + m.information;
    }

    std::string info;
    const bool stamped = s.timestamp != 0;
    info += stamped ? (s.messaging ? '@' : '/') : (s.messaging ? '=' : '!');
    if (stamped)
        info += Timestamp(s.timestamp, now);

    if (s.encoding == Encoding::kCompressed) {
        std::string cst;
        if (moving && s.altitudeInComment && s.altitudeM >= 0 && s.beacons % 2 == 0) {
            cst = CompressedAltitude(altitudeFt);
        } else if (moving) {
            cst = CompressedCourseSpeed(course, speed);
        } else {
            cst = CompressedNone();
        }
        info += CompressedPosition(s.lat, s.lon, s.table == '\\' ? '\\' : '/', s.code, cst);
        Report(index, s.lat, s.lon, 0.0003);
        info += s.comment;
    } else {
        info += FormatLatitude(s.lat, s.ambiguity);
        info += s.table;
        info += FormatLongitude(s.lon, s.ambiguity);
        info += s.code;
        // Blanked digits count as zeros on reception: the error grows tenfold per digit.
        static constexpr double kAmbiguityDeg[] = {0.0003, 0.002, 0.02, 0.17, 1.01};
        Report(index, s.lat, s.lon, kAmbiguityDeg[std::clamp(s.ambiguity, 0, 4)]);
        if (moving) {
            info += Printf("%03d/%03d", course == 0 ? 360 : course, std::min(speed, 999));
        } else if (!s.phg.empty()) {
            info += s.phg;
        }
        if (s.altitudeInComment && s.altitudeM >= 0) {
            info += Printf("/A=%06d", std::min(altitudeFt, 999999));
            if (!s.comment.empty())
                info += ' ';
        }
        info += s.comment;
    }
    if (s.kind == StationKind::kNetCar) {
        return random_.Chance(0.7) ? Relay(s, info) : Header(s, true) + info;
    }
    return Header(s, false) + info;
}

std::string Generator::WeatherBeacon(int index, int64_t now) {
    Station& s = stations_[static_cast<size_t>(index)];
    Weather& w = s.weather;
    w.tempF = std::clamp(w.tempF + random_.Range(-0.8, 0.8), -40.0, 120.0);
    w.humidity = std::clamp(w.humidity + random_.Range(-2, 2), 5.0, 100.0);
    w.pressureMb = std::clamp(w.pressureMb + random_.Range(-0.4, 0.4), 960.0, 1050.0);
    w.windMph = std::clamp(w.windMph + random_.Range(-2, 2), 0.0, 60.0);
    w.windDir = std::fmod(w.windDir + random_.Range(-20, 20) + 360.0, 360.0);
    if (random_.Chance(0.15)) {
        const double rain = random_.Between(1, 6);
        w.rainHour += rain;
        w.rainToday += rain;
        w.rainLongTerm += rain;
    } else {
        w.rainHour = std::max(0.0, w.rainHour - 1);
    }
    ++s.beacons;
    const long temp = std::lround(w.tempF);
    const long wind = std::lround(w.windMph);
    const long gust = std::lround(w.windMph * random_.Range(1.1, 1.6));
    const long dir = std::lround(w.windDir);
    const long humidity = std::lround(w.humidity) % 100;  // 100 % is sent as "00"
    const long pressure = std::lround(w.pressureMb * 10);
    const Civil c = CivilFromUnix(startUnix_ + now);

    // APRS fields after the wind: gust, temperature, rain (hour, 24 hours, since midnight),
    // humidity, pressure; now and then a sensor reports nothing ("...").
    auto fields = [&]() {
        std::string f = random_.Chance(0.1) ? std::string("g...") : Field('g', gust, 3);
        f += Field('t', temp, 3);
        f += Field('r', std::lround(w.rainHour), 3);
        f += Field('p', std::lround(w.rainToday), 3);
        f += Field('P', std::lround(w.rainToday), 3);
        if (random_.Chance(0.9))
            f += Field('h', humidity, 2);
        f += Field('b', pressure, 5);
        return f;
    };

    const bool beaconTurn = s.beacons % 4 == 1;
    switch (s.weatherFormat) {
        case WeatherFormat::kPositional: {
            std::string info = s.timestamp ? "@" + Timestamp('z', now) : std::string("!");
            info += FormatLatitude(s.lat) + "/" + FormatLongitude(s.lon) + "_";
            info += Printf("%03ld/%03ld", dir, wind) + fields() + s.comment;
            Report(index, s.lat, s.lon, 0.0003);
            return Header(s, false) + info;
        }
        case WeatherFormat::kPositionless: {
            if (beaconTurn)
                break;
            std::string info = Printf("_%02d%02d%02d%02d", c.month, c.day, c.hour, c.minute);
            info += Field('c', dir, 3) + Field('s', wind, 3) + fields() + s.comment;
            return Header(s, false) + info;
        }
        case WeatherFormat::kUltimeter: {
            if (beaconTurn)
                break;
            const long tenthsF = std::lround(w.tempF * 10);
            const long kmh10 = std::lround(w.windMph * 16.09347);
            std::string info = "$ULTW";
            info += Hex4(std::lround(kmh10 * 1.3)) + Hex4(std::lround(w.windDir * 255 / 360));
            info += Hex4(tenthsF) + Hex4(std::lround(w.rainLongTerm)) + Hex4(pressure);
            info += Hex4(random_.Between(-20, 20)) + "0001" + "03E8";
            info += Hex4(std::lround(w.humidity * 10)) + Hex4(c.dayOfYear);
            info += Hex4(c.hour * 60 + c.minute) + Hex4(std::lround(w.rainToday)) + Hex4(kmh10);
            return Header(s, false) + info;
        }
        case WeatherFormat::kLogging: {
            if (beaconTurn)
                break;
            const long kmh10 = std::lround(w.windMph * 16.09347);
            std::string info = "!!";
            info += Hex4(kmh10) + Hex4(std::lround(w.windDir * 255 / 360));
            info += Hex4(std::lround(w.tempF * 10)) + Hex4(std::lround(w.rainLongTerm));
            info += Hex4(pressure) + Hex4(random_.Between(-20, 20)) + "0001" + "03E8";
            info += random_.Chance(0.3) ? "----" : Hex4(std::lround(w.humidity * 10));
            info += Hex4(c.dayOfYear) + Hex4(c.hour * 60 + c.minute);
            info += Hex4(std::lround(w.rainToday)) + Hex4(kmh10);
            return Header(s, false) + info;
        }
        case WeatherFormat::kU2Kmh:
        case WeatherFormat::kU2Mph: {
            if (beaconTurn)
                break;
            const bool kmh = s.weatherFormat == WeatherFormat::kU2Kmh;
            const long speed = std::clamp(kmh ? std::lround(w.windMph * 1.609347) : wind, 0L, 255L);
            std::string info(1, kmh ? '#' : '*');
            info += Printf("%X%02lX%02lX", static_cast<unsigned>(w.windDir / 22.5) & 15U, speed,
                           std::clamp(temp + 24, 0L, 255L));
            info += Hex4(std::lround(w.rainLongTerm));
            return Header(s, false) + info;
        }
    }
    // The stations that send no position of their own in their weather records announce it
    // now and then.
    std::string info = "=" + FormatLatitude(s.lat) + "/" + FormatLongitude(s.lon) + "_";
    info +=
        s.weatherFormat == WeatherFormat::kPositionless ? "Weather station" : "Ultimeter weather";
    Report(index, s.lat, s.lon, 0.0003);
    return Header(s, false) + info;
}

std::string Generator::ObjectReport(int objectIndex, int64_t now) {
    ObjectTruth& o = objects_[static_cast<size_t>(objectIndex)];
    const int killAt = objectKillTime_[static_cast<size_t>(objectIndex)];
    const bool kill = killAt >= 0 && now >= killAt;
    o.killed = kill;
    o.reported = true;
    // The symbol goes with the kind of object its name tells.
    static constexpr std::pair<std::string_view, std::string_view> kSymbols[] = {
        {"EOC", "/o"},  {"SHLTR", "\\z"}, {"AID", "/+"},   {"HOSP", "/h"},
        {"FDAY", "/;"}, {"RPTR", "/r"},   {"WATER", "/w"}, {"NET", "/n"},
    };
    std::string_view symbol = "/o";
    for (const auto& [prefix, s] : kSymbols) {
        if (o.name.starts_with(prefix))
            symbol = s;
    }
    const char table = symbol[0];
    const char code = symbol[1];
    std::string info;
    if (o.item) {
        info = ")" + o.name + (kill ? "_" : "!");
    } else {
        std::string padded = o.name;
        padded.resize(9, ' ');
        info = ";" + padded + (kill ? "_" : "*") + Timestamp('z', now);
    }
    info += FormatLatitude(o.lat);
    info += table;
    info += FormatLongitude(o.lon);
    info += code;
    info += kill ? "Closed" : "Open, staffed";
    return info;
}

std::string Generator::NextLine() {
    for (;;) {
        const Event e = events_.top();
        events_.pop();
        now_ = e.time;
        Station& s = stations_[static_cast<size_t>(e.station)];
        switch (e.kind) {
            case EventKind::kBeacon: {
                Schedule(now_ + s.intervalS + random_.Between(-s.intervalS / 10, s.intervalS / 10),
                         EventKind::kBeacon, e.station);
                if (s.kind == StationKind::kWeather)
                    return WeatherBeacon(e.station, now_);
                return PositionBeacon(e.station, now_);
            }
            case EventKind::kStatus: {
                Schedule(now_ + random_.Between(1200, 3600), EventKind::kStatus, e.station);
                std::string text = s.status;
                if (random_.Chance(0.2))
                    text = Timestamp('z', now_) + text;
                if (s.kind == StationKind::kNetCar)
                    return Relay(s, ">" + text);
                if (s.encoding == Encoding::kMicE) {
                    // Mic-E stations send status under a plain destination.
                    Station plain = s;
                    plain.destination = s.device == MicEDevice::kPlain ? "APRS" : "APK101";
                    return Header(plain, false) + ">" + text;
                }
                return Header(s, false) + ">" + text;
            }
            case EventKind::kMessage: {
                // A new message (number 0 asks for one) or a retry of an unacknowledged one.
                int to = e.other;
                int number = e.number;
                if (number == 0) {
                    Schedule(now_ + random_.Between(600, 2400), EventKind::kMessage, e.station, -1,
                             0);
                    to = RandomChatter(e.station);
                    if (to < 0)
                        continue;
                    number = s.nextMessage++;
                    const double fate = random_.Unit();
                    if (fate < 0.8) {
                        Schedule(now_ + random_.Between(5, 60), EventKind::kAck, to, e.station,
                                 number);
                    } else if (fate < 0.95) {
                        Schedule(now_ + random_.Between(30, 90), EventKind::kMessage, e.station, to,
                                 number);
                    }
                } else {
                    Schedule(now_ + random_.Between(5, 40), EventKind::kAck, to, e.station, number);
                }
                std::string addressee = stations_[static_cast<size_t>(to)].call;
                addressee.resize(9, ' ');
                const std::string& text =
                    kMessageTexts[static_cast<size_t>(number * 7 + e.station) %
                                  kMessageTexts.size()];
                Station plain = s;
                if (plain.destination.empty())
                    plain.destination = "APK101";
                return Header(plain, false) + ":" + addressee + ":" + text + "{" +
                       std::to_string(number);
            }
            case EventKind::kAck: {
                std::string addressee = stations_[static_cast<size_t>(e.other)].call;
                addressee.resize(9, ' ');
                Station plain = s;
                if (plain.destination.empty())
                    plain.destination = "APK101";
                return Header(plain, false) + ":" + addressee + ":ack" + std::to_string(e.number);
            }
            case EventKind::kObject: {
                const int killAt = objectKillTime_[static_cast<size_t>(e.other)];
                const bool killed = objects_[static_cast<size_t>(e.other)].killed;
                // A killed object is sent twice more, then no longer.
                if (killed && e.number >= 2)
                    continue;
                const int next = random_.Between(600, 1200);
                const bool killNow = killAt >= 0 && now_ + next >= killAt;
                Schedule(killNow && !killed ? std::max<int64_t>(killAt, now_ + 1) : now_ + next,
                         EventKind::kObject, e.station, e.other, killed ? e.number + 1 : 0);
                return Header(s, false) + ObjectReport(e.other, now_);
            }
            case EventKind::kBulletin: {
                Schedule(now_ + random_.Between(1800, 3600), EventKind::kBulletin, e.station);
                const std::string id = "BLN" + std::to_string(bulletinNumber_++ % 4 + 1);
                std::string addressee = id;
                addressee.resize(9, ' ');
                const std::string& text = random_.Pick(kBulletinTexts);
                return Header(s, false) + ":" + addressee + ":" + text;
            }
            case EventKind::kTelemetry: {
                Schedule(now_ + random_.Between(1200, 2400), EventKind::kTelemetry, e.station);
                // Draws are taken one statement at a time: the order in which function
                // arguments are evaluated differs between compilers.
                if (s.kind == StationKind::kIgate && random_.Chance(0.5)) {
                    const int messages = random_.Between(0, 40);
                    const int locals = random_.Between(5, 120);
                    return Header(s, false) +
                           Printf("<IGATE,MSG_CNT=%d,LOC_CNT=%d", messages, locals);
                }
                telemetrySequence_ = (telemetrySequence_ + 1) % 1000;
                std::string info = Printf("T#%03d", telemetrySequence_);
                static constexpr int kChannelRange[5][2] = {
                    {120, 140}, {0, 20}, {30, 90}, {0, 255}, {0, 255}};
                for (const auto& range : kChannelRange) {
                    info += Printf(",%03d", random_.Between(range[0], range[1]));
                }
                info += ',';
                for (int bit = 0; bit < 8; ++bit)
                    info += random_.Chance(0.5) ? '1' : '0';
                return Header(s, false) + info;
            }
        }
    }
}

}  // namespace plovane::traffic
