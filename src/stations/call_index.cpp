// Open addressing with linear probing; removal shifts the following entries back instead of
// leaving tombstones, so probe sequences stay short however many records come and go.
#include "stations/call_index.h"

#include <cstdint>
#include <cstring>

namespace plovane {

namespace {

uint64_t Load64(const char* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

uint64_t Load32(const char* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The splitmix64 finaliser: every input bit reaches every output bit, the low ones (which
// choose the slot) included.
uint64_t Fold(uint64_t x) {
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

}  // namespace

// Calls are short, so the bytes are read a word at a time, the last word (or, below eight
// bytes, two overlapping half words) ending at the last byte; the length is mixed in so keys
// that differ only by trailing zero bytes differ.
size_t CallIndex::Hash(std::string_view call) {
    const char* p = call.data();
    const size_t n = call.size();
    uint64_t h = n * 0x9e3779b97f4a7c15ULL;
    for (size_t i = 0; i + 8 < n; i += 8)
        h = Fold(h ^ Load64(p + i));
    uint64_t last = 0;
    if (n >= 8) {
        last = Load64(p + n - 8);
    } else if (n >= 4) {
        last = (Load32(p) << 32) | Load32(p + n - 4);
    } else if (n > 0) {
        const auto byte = [&](size_t i) { return uint64_t{static_cast<unsigned char>(p[i])}; };
        last = (byte(0) << 16) | (byte(n / 2) << 8) | byte(n - 1);
    }
    return static_cast<size_t>(Fold(h ^ last));
}

size_t CallIndex::Probe(std::string_view call, size_t hash) const {
    const size_t mask = slots_.size() - 1;
    size_t i = hash & mask;
    while (slots_[i].station != nullptr &&
           (slots_[i].hash != hash || slots_[i].station->call != call)) {
        i = (i + 1) & mask;
    }
    return i;
}

CStation* CallIndex::Find(std::string_view call) const {
    if (size_ == 0)
        return nullptr;
    return slots_[Probe(call, Hash(call))].station;
}

void CallIndex::Reserve(size_t count) {
    size_t capacity = 16;
    while (capacity < count * 2)
        capacity *= 2;
    if (capacity > slots_.size())
        Grow(capacity);
}

void CallIndex::Grow(size_t capacity) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{});
    for (const Slot& slot : old) {
        if (slot.station == nullptr)
            continue;
        size_t i = slot.hash & (capacity - 1);
        while (slots_[i].station != nullptr)
            i = (i + 1) & (capacity - 1);
        slots_[i] = slot;
    }
}

void CallIndex::Insert(CStation* station) {
    if ((size_ + 1) * 2 > slots_.size())
        Grow(slots_.empty() ? 16 : slots_.size() * 2);
    const size_t hash = Hash(station->call);
    slots_[Probe(station->call, hash)] = Slot{hash, station};
    ++size_;
}

bool CallIndex::Erase(std::string_view call) {
    if (size_ == 0)
        return false;
    const size_t mask = slots_.size() - 1;
    size_t hole = Probe(call, Hash(call));
    if (slots_[hole].station == nullptr)
        return false;
    // Move back every later entry of the run whose home slot does not lie between the hole
    // and itself (cyclically), so no probe sequence is cut by the hole.
    for (size_t j = (hole + 1) & mask; slots_[j].station != nullptr; j = (j + 1) & mask) {
        const size_t home = slots_[j].hash & mask;
        const bool stays = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (!stays) {
            slots_[hole] = slots_[j];
            hole = j;
        }
    }
    slots_[hole] = Slot{};
    --size_;
    return true;
}

}  // namespace plovane
