// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic APRS traffic: TNC monitor lines "SRC>DEST,PATH:info" from a population of
// moving, fixed, weather and object-owning stations in one region, plus the encoders they
// need (uncompressed, base-91 compressed and Mic-E positions). The same options always give
// the same lines on every machine: the engine is std::mt19937, whose sequence the standard
// fixes, and every distribution is drawn by hand from its raw output.
#pragma once

#include <cstdint>
#include <optional>
#include <queue>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace plovane::traffic {

struct Region {
    double lat = 47.6;  // decimal degrees, north positive
    double lon = -122.4;
    double radiusKm = 60.0;
};

struct Options {
    long lines = 3000;
    int stations = 100;
    uint32_t seed = 1;
    Region region;
};

// Draws with a fixed meaning on every platform (unlike the <random> distributions, whose
// output the standard leaves to the library).
class Random {
  public:
    explicit Random(uint32_t seed) : engine_(seed) {}
    uint32_t Next() { return static_cast<uint32_t>(engine_()); }
    // 0 <= result < n (n > 0).
    uint32_t Below(uint32_t n) {
        return static_cast<uint32_t>((static_cast<uint64_t>(Next()) * n) >> 32);
    }
    // lo <= result <= hi.
    int Between(int lo, int hi) { return lo + static_cast<int>(Below(hi - lo + 1)); }
    // 0 <= result < 1.
    double Unit() { return Next() * (1.0 / 4294967296.0); }
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    bool Chance(double p) { return Unit() < p; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[Below(static_cast<uint32_t>(items.size()))];
    }

  private:
    std::mt19937 engine_;
};

// --- Encoders ---

// "DDMM.mmN" / "DDDMM.mmW", rounded to hundredths of a minute; ambiguity 1 to 4 blanks that
// many digits from the right (hundredths first).
std::string FormatLatitude(double lat, int ambiguity = 0);
std::string FormatLongitude(double lon, int ambiguity = 0);

// Base-91 digits (each value + 33), most significant first.
std::string Base91(uint32_t value, int digits);

// The 13 characters of a compressed position: table, 4 latitude and 4 longitude digits,
// symbol code, then the three "c s T" bytes.
std::string CompressedPosition(double lat, double lon, char table, char code, std::string_view cst);
// "c s T" for course and speed (an RMC fix).
std::string CompressedCourseSpeed(int courseDegrees, int speedKnots);
// "c s T" for an altitude (a GGA fix).
std::string CompressedAltitude(int altitudeFeet);
// "c s T" with neither.
inline std::string CompressedNone() {
    return " sT";
}

enum class MicEDevice { kPlain, kThD7, kTmD700 };

struct MicE {
    std::string destination;  // six characters: latitude digits and the flags
    std::string information;  // from the data type character
};

// messageIndex 0 ("Off Duty") to 7 ("Emergency!"); custom picks the "Custom-n" names
// (index 7 has no custom form and is sent as the standard one). Without an altitude none
// is sent.
// Course and the hundredths of the longitude minute are nudged by at most a few units when
// their byte would be a control character.
MicE EncodeMicE(double lat, double lon, int speedKnots, int courseDegrees, int messageIndex,
                bool custom, char table, char code, MicEDevice device, std::optional<int> altitudeM,
                std::string_view comment, char type = '`');

// --- The generator ---

enum class StationKind {
    kCar,
    kWalker,
    kBike,
    kBoat,
    kNetCar,  // reports through the Internet; heard relayed by an iGate
    kHome,
    kDigi,
    kIgate,
    kWeather,
    kEoc,  // owns objects and items
};

bool IsMoving(StationKind kind);

// What the generator last sent for a station (for checking a decoder against it).
struct StationTruth {
    std::string call;
    StationKind kind = StationKind::kHome;
    bool reported = false;        // a position went out
    double lat = 0.0, lon = 0.0;  // the position last sent, before encoding
    double toleranceDeg = 0.0;    // encoding loss: rounding, ambiguity
};

struct ObjectTruth {
    std::string name;
    std::string owner;
    bool reported = false;
    bool killed = false;
    bool item = false;
    double lat = 0.0, lon = 0.0;
};

class Generator {
  public:
    explicit Generator(const Options& options);

    // The next monitor line, without a line end.
    std::string NextLine();

    const std::vector<StationTruth>& Stations() const { return truth_; }
    const std::vector<ObjectTruth>& Objects() const { return objects_; }

  private:
    enum class EventKind { kBeacon, kStatus, kMessage, kAck, kObject, kBulletin, kTelemetry };
    enum class Encoding { kUncompressed, kCompressed, kMicE };
    enum class WeatherFormat { kPositional, kPositionless, kUltimeter, kLogging, kU2Kmh, kU2Mph };

    struct Event {
        int64_t time = 0;  // seconds since the start
        uint64_t order = 0;
        EventKind kind = EventKind::kBeacon;
        int station = 0;
        int other = 0;   // message partner or object index
        int number = 0;  // message number
        bool operator>(const Event& o) const {
            return time != o.time ? time > o.time : order > o.order;
        }
    };

    struct Weather {
        double tempF = 55, humidity = 70, pressureMb = 1015, windMph = 5, windDir = 200;
        double rainToday = 0;  // hundredths of an inch
        double rainLongTerm = 0;
        double rainHour = 0;
    };

    struct Station {
        std::string call;
        StationKind kind = StationKind::kHome;
        Encoding encoding = Encoding::kUncompressed;
        WeatherFormat weatherFormat = WeatherFormat::kPositional;
        MicEDevice device = MicEDevice::kPlain;
        std::string destination;
        std::string path;  // as sent, before digipeaters mark it
        char table = '/', code = '-';
        double lat = 0, lon = 0, heading = 0, speedKnots = 0;
        int altitudeM = -1;
        int ambiguity = 0;
        char timestamp = 0;  // 0, 'z' or 'h'
        bool messaging = false;
        bool altitudeInComment = false;
        int micEMessage = 1;
        bool micECustom = false;
        std::string phg;
        std::string comment;
        std::string status;
        int intervalS = 600;
        int64_t lastMove = 0;
        int beacons = 0;
        int nextMessage = 1;
        Weather weather;
    };

    void CreateStations();
    std::string MakeCall(bool european);
    std::string RandomPhg(int powerLo, int powerHi, int heightLo, int heightHi, int gainLo,
                          int gainHi, bool directional);
    void Schedule(int64_t time, EventKind kind, int station, int other = 0, int number = 0);
    void Move(Station& s, int64_t now);
    void Report(int index, double lat, double lon, double toleranceDeg);

    std::string Header(const Station& s, bool heardDirect);
    std::string DigipeatedPath(const std::string& path);
    std::string Timestamp(char kind, int64_t now) const;
    std::string PositionBeacon(int index, int64_t now);
    std::string WeatherBeacon(int index, int64_t now);
    std::string ObjectReport(int objectIndex, int64_t now);
    std::string Relay(const Station& inner, const std::string& info);
    int RandomIgate();
    int RandomDigi();
    int RandomChatter(int except);

    Options options_;
    Random random_;
    std::vector<Station> stations_;
    std::vector<StationTruth> truth_;
    std::vector<ObjectTruth> objects_;
    std::vector<int> objectKillTime_;
    std::vector<int> igates_, digis_, chatters_;
    std::priority_queue<Event, std::vector<Event>, std::greater<Event>> events_;
    uint64_t order_ = 0;
    int64_t now_ = 0;
    int64_t startUnix_ = 0;
    int bulletinNumber_ = 1;
    int telemetrySequence_ = 0;
    bool european_ = false;
};

}  // namespace plovane::traffic
