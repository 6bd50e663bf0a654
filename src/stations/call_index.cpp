// Open addressing with linear probing; removal shifts the following entries back instead of
// leaving tombstones, so probe sequences stay short however many records come and go.
#include "stations/call_index.h"

#include <functional>

namespace plovane {

size_t CallIndex::Hash(std::string_view call) {
    return std::hash<std::string_view>{}(call);
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
