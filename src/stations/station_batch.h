// The station-store updates of one packet, gathered so the store applies them together:
// one lock, one look-up per call, one StationChanged per call touched, instead of a lock, a
// look-up and a notification for each of the three to five updates a packet makes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/date_time.h"
#include "stations/station.h"

namespace plovane {

class CStationList;
class Clock;

// Thread-compatible: one batch belongs to one decoding call on one thread. The operations
// have the names, arguments and effects of CStationList's and are applied in the order they
// were recorded. Symbols, position texts and time stamps are read or copied when recorded;
// the other texts are kept as views, not copied: they must stay valid until the batch is
// applied (by Apply, when it fills up, or when it is destroyed).
class StationBatch {
  public:
    // A full batch is applied before it takes more; so is a batch that holds a weather report
    // when a second one comes (a packet makes one at most).
    static constexpr size_t kCapacity = 8;

    explicit StationBatch(CStationList& stations) : stations_(stations) {}
    ~StationBatch();
    StationBatch(const StationBatch&) = delete;
    StationBatch& operator=(const StationBatch&) = delete;

    void UpdatePosition(std::string_view call, std::string_view symbol, std::string_view latitude,
                        std::string_view longitude, std::string_view time, std::string_view comment,
                        int32_t altitudeDm);
    void SetCourseSpeed(std::string_view call, int speedKnots, int courseDegrees);
    void SetPhg(std::string_view call, int powerWatts, int heightFeet, int gainDb,
                int directivityDegrees);
    void SetDfs(std::string_view call, int strength, int heightFeet, int gainDb,
                int directivityDegrees);
    void SetSymbolIfUnset(std::string_view call, std::string_view symbol);
    void SetObjectOwner(std::string_view name, std::string_view senderCall);
    void MarkObjectKilled(std::string_view name);
    void SetDeviceAndPath(std::string_view call, std::string_view destination,
                          std::string_view path, std::string_view information);
    void StoreWeather(std::string_view call, std::string_view destination, std::string_view path,
                      std::string_view comment, const WeatherValues& values);

    // The store's clock (decoders that need the current year read it).
    const Clock& clock() const;

    // Applies the recorded operations to the store and forgets them; nothing happens when
    // there are none. Call it before anything else updates the store on this thread, so the
    // updates keep their order.
    void Apply();
    bool empty() const { return count_ == 0; }
    size_t size() const { return count_; }

  private:
    friend class CStationList;

    enum class Kind : uint8_t {
        kPosition,       // text[0]: comment; number: altitude, colatitude, longitude
        kCourseSpeed,    // number: speed, course
        kPhg,            // number: power, height, gain, directivity
        kDfs,            // number: strength, height, gain, directivity
        kSymbolIfUnset,  // symbol
        kObjectOwner,    // text[0]: sender
        kObjectKilled,
        kDeviceAndPath,  // text: destination, path, information
        kWeather,        // text[0]: comment; the values in weather_ (one per batch)
    };
    struct Op {
        Kind kind;
        bool hasSymbol;  // a symbol of two characters was given
        bool hasPoint;   // kPosition: the texts gave a usable position
        bool hasTime;    // kPosition: a time stamp was given; when applied, a usable one
        std::array<char, 2> symbol;
        std::array<char, 7> time;
        CDateTime reportTime;  // kPosition: the time stamp read when the batch is applied
        std::string_view call;
        std::array<std::string_view, 3> text;
        std::array<int32_t, 4> number;
    };

    // A new operation at the end, after applying the batch when it is full. Null for an
    // empty call, which no operation acts on.
    Op* Add(Kind kind, std::string_view call);
    static void SetSymbol(Op& op, std::string_view symbol);
    Op& op(size_t i) { return ops_[i].op; }
    void Clear() {
        count_ = 0;
        hasWeather_ = false;
    }

    // Room for the operations, left unset until one is recorded: a packet makes two or three
    // of the eight, and every packet makes a batch.
    union OpSlot {
        OpSlot() {}
        Op op;
    };
    union WeatherSlot {
        WeatherSlot() {}
        WeatherValues values;
    };

    CStationList& stations_;
    size_t count_ = 0;
    bool hasWeather_ = false;  // weather_ holds the values of a kWeather operation
    std::array<OpSlot, kCapacity> ops_;
    WeatherSlot weather_;
};

}  // namespace plovane
