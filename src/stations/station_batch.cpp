// Recording the operations; CStationList::Apply carries them out.
#include "stations/station_batch.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

#include "core/geo.h"
#include "stations/position_text.h"
#include "stations/station_list.h"

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

// "DDMM.mmN" and "DDDMM.mmW" as nearly every report writes them are converted here at once,
// as ParseLatitude and ParseLongitude would; any other text (blanks of an ambiguous
// position, missing digits) goes to them. The texts hold at least 8 and 9 characters.
int32_t LatitudeOf(std::string_view text) {
    const char* p = text.data();
    if (p[4] != '.' || !AreDigits(p, 0x00FFFF00FFFFFFFF))  // DDMM.mm
        return ParseLatitude(text);
    const int32_t a = DigitsValue(p, 4) * 100 + DigitsValue(p + 5, 2);  // DDMMmm
    const int32_t degrees = a / 10000;
    switch (p[7]) {
        case 'N':
        case 'n':
            return ((degrees + 135) * 4000 - a) * 60;
        case 'S':
        case 's':
            return ((135 - degrees) * 4000 + a) * 60;
        default:
            return -1;
    }
}

int32_t LongitudeOf(std::string_view text) {
    const char* p = text.data();
    if (p[5] != '.' || !AreDigits(p, 0xFFFF00FFFFFFFFFF))  // DDDMM.mm
        return ParseLongitude(text);
    const int32_t a = DigitsValue(p, 5) * 100 + DigitsValue(p + 6, 2);  // DDDMMmm
    const int32_t degrees = a / 10000;
    switch (p[8]) {
        case 'W':
        case 'w':
            return ((degrees + 270) * 4000 - a) * 60;
        case 'E':
        case 'e':
            return ((270 - degrees) * 4000 + a) * 60;
        default:
            return -1;
    }
}

}  // namespace
StationBatch::~StationBatch() {
    Apply();
}

void StationBatch::Apply() {
    if (count_ != 0)
        stations_.Apply(*this);
}

const Clock& StationBatch::clock() const {
    return stations_.clock();
}

// Symbols are copied: decoders often build them in a local array.
void StationBatch::SetSymbol(Op& op, std::string_view symbol) {
    op.hasSymbol = symbol.size() >= 2;
    if (op.hasSymbol)
        op.symbol = {symbol[0], symbol[1]};
}

StationBatch::Op* StationBatch::Add(Kind kind, std::string_view call) {
    if (call.empty())
        return nullptr;
    if (count_ == kCapacity)
        Apply();
    Op& op = *::new (static_cast<void*>(&ops_[count_++].op)) Op;
    op.kind = kind;
    op.hasSymbol = false;
    op.hasPoint = false;
    op.hasTime = false;
    op.call = call;
    return &op;
}

void StationBatch::UpdatePosition(std::string_view call, std::string_view symbol,
                                  std::string_view latitude, std::string_view longitude,
                                  std::string_view time, std::string_view comment,
                                  int32_t altitudeDm) {
    Op* op = Add(Kind::kPosition, call);
    if (op == nullptr)
        return;
    SetSymbol(*op, symbol);
    // A comment "/A=001234..." gives the altitude when none is known.
    int32_t altitude = altitudeDm;
    TakeCommentAltitude(comment, altitude);
    op->text[0] = comment;

    // A report without both position texts, or with a position that is no position (the
    // equator, Greenwich, a missing hemisphere, or beyond the poles or the date line), still
    // stores its symbol and comment.
    if (latitude.size() >= 8 && longitude.size() >= 9) {
        const int32_t colatitude = LatitudeOf(latitude);
        const int32_t lon = LongitudeOf(longitude);
        op->hasPoint =
            !IsNoPosition(colatitude, lon) && colatitude <= kMaxColatitude && lon <= kMaxLongitude;
        op->number = {altitude, colatitude, lon, 0};
        // The time is read when the batch is applied, against the clock of that moment.
        if (op->hasPoint && time.size() == op->time.size()) {
            std::copy(time.begin(), time.end(), op->time.begin());
            op->hasTime = true;
        }
    }
}

void StationBatch::SetCourseSpeed(std::string_view call, int speedKnots, int courseDegrees) {
    if (Op* op = Add(Kind::kCourseSpeed, call))
        op->number = {speedKnots, courseDegrees, 0, 0};
}

void StationBatch::SetPhg(std::string_view call, int powerWatts, int heightFeet, int gainDb,
                          int directivityDegrees) {
    if (Op* op = Add(Kind::kPhg, call))
        op->number = {powerWatts, heightFeet, gainDb, directivityDegrees};
}

void StationBatch::SetDfs(std::string_view call, int strength, int heightFeet, int gainDb,
                          int directivityDegrees) {
    if (Op* op = Add(Kind::kDfs, call))
        op->number = {strength, heightFeet, gainDb, directivityDegrees};
}

void StationBatch::SetSymbolIfUnset(std::string_view call, std::string_view symbol) {
    if (Op* op = Add(Kind::kSymbolIfUnset, call))
        SetSymbol(*op, symbol);
}

void StationBatch::SetObjectOwner(std::string_view name, std::string_view senderCall) {
    if (Op* op = Add(Kind::kObjectOwner, name))
        op->text[0] = senderCall;
}

void StationBatch::MarkObjectKilled(std::string_view name) {
    Add(Kind::kObjectKilled, name);
}

void StationBatch::SetDeviceAndPath(std::string_view call, std::string_view destination,
                                    std::string_view path, std::string_view information) {
    if (Op* op = Add(Kind::kDeviceAndPath, call))
        op->text = {destination, path, information};
}

void StationBatch::StoreWeather(std::string_view call, std::string_view /*destination*/,
                                std::string_view /*path*/, std::string_view comment,
                                const WeatherValues& values) {
    if (call.empty())
        return;
    if (hasWeather_)
        Apply();
    if (Op* op = Add(Kind::kWeather, call)) {
        op->text[0] = comment;
        std::construct_at(&weather_.values, values);
        hasWeather_ = true;
    }
}

}  // namespace plovane
