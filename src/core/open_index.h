// SPDX-License-Identifier: GPL-3.0-or-later
// A look-up of records by a key read from the records themselves: an open-addressing hash
// table of record pointers with linear probing. Each slot keeps the key's hash beside the
// pointer, so a probe reads a record only on a likely match; removal shifts later entries
// back instead of leaving tombstones, so probe runs stay short however many records come
// and go. The station list finds records by call with it, the message store by match key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace plovane {

// Thread-compatible: the owning store uses it under its lock. A record's key (and so its
// hash) must not change while it is indexed, and the record must stay at one address.
template <typename T>
class OpenIndex {
  public:
    // The first record in probe order stored with `hash` for which match(record) holds.
    template <typename Match>
    T* Find(size_t hash, Match&& match) const {
        if (size_ == 0)
            return nullptr;
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask; slots_[i].record != nullptr; i = (i + 1) & mask) {
            if (slots_[i].hash == hash && match(*slots_[i].record))
                return slots_[i].record;
        }
        return nullptr;
    }

    // Calls visit(record) for every record stored with `hash`, in probe order.
    template <typename Visit>
    void ForEach(size_t hash, Visit&& visit) const {
        if (size_ == 0)
            return;
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask; slots_[i].record != nullptr; i = (i + 1) & mask) {
            if (slots_[i].hash == hash)
                visit(*slots_[i].record);
        }
    }

    // Records with equal keys may be inserted; each is a slot of its own.
    void Insert(T* record, size_t hash) {
        if ((size_ + 1) * 2 > slots_.size())
            Grow(slots_.empty() ? 16 : slots_.size() * 2);
        const size_t mask = slots_.size() - 1;
        size_t i = hash & mask;
        while (slots_[i].record != nullptr)
            i = (i + 1) & mask;
        slots_[i] = Slot{hash, record};
        ++size_;
    }

    // False when the record was not indexed (under this hash).
    bool Erase(const T* record, size_t hash) {
        if (size_ == 0)
            return false;
        const size_t mask = slots_.size() - 1;
        size_t hole = hash & mask;
        while (slots_[hole].record != nullptr && slots_[hole].record != record)
            hole = (hole + 1) & mask;
        if (slots_[hole].record == nullptr)
            return false;
        // Move back every later entry of the run whose home slot does not lie between the
        // hole and itself (cyclically), so no probe sequence is cut by the hole.
        for (size_t j = (hole + 1) & mask; slots_[j].record != nullptr; j = (j + 1) & mask) {
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

    size_t size() const { return size_; }

    // Room for `count` records without growing.
    void Reserve(size_t count) {
        size_t capacity = 16;
        while (capacity < count * 2)
            capacity *= 2;
        if (capacity > slots_.size())
            Grow(capacity);
    }

  private:
    struct Slot {
        size_t hash = 0;
        T* record = nullptr;  // null: empty
    };

    void Grow(size_t capacity) {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(capacity, Slot{});
        for (const Slot& slot : old) {
            if (slot.record == nullptr)
                continue;
            size_t i = slot.hash & (capacity - 1);
            while (slots_[i].record != nullptr)
                i = (i + 1) & (capacity - 1);
            slots_[i] = slot;
        }
    }

    std::vector<Slot> slots_;  // a power of two in size, at most half full
    size_t size_ = 0;
};

// A hash of a short text such as a call, its low bits (which choose the slot) as well mixed
// as its high ones. The bytes are read a word at a time, the last word (or, below eight
// bytes, two overlapping half words) ending at the last byte; the length is mixed in so
// texts that differ only by trailing zero bytes differ.
inline size_t HashText(std::string_view text) {
    const auto load64 = [](const char* p) {
        uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    const auto load32 = [](const char* p) {
        uint32_t v;
        std::memcpy(&v, p, sizeof v);
        return uint64_t{v};
    };
    // The splitmix64 finaliser: every input bit reaches every output bit.
    const auto fold = [](uint64_t x) {
        x ^= x >> 30;
        x *= 0xbf58476d1ce4e5b9ULL;
        x ^= x >> 27;
        x *= 0x94d049bb133111ebULL;
        return x ^ (x >> 31);
    };
    const char* p = text.data();
    const size_t n = text.size();
    uint64_t h = n * 0x9e3779b97f4a7c15ULL;
    for (size_t i = 0; i + 8 < n; i += 8)
        h = fold(h ^ load64(p + i));
    uint64_t last = 0;
    if (n >= 8) {
        last = load64(p + n - 8);
    } else if (n >= 4) {
        last = (load32(p) << 32) | load32(p + n - 4);
    } else if (n > 0) {
        const auto byte = [&](size_t i) { return uint64_t{static_cast<unsigned char>(p[i])}; };
        last = (byte(0) << 16) | (byte(n / 2) << 8) | byte(n - 1);
    }
    return static_cast<size_t>(fold(h ^ last));
}

}  // namespace plovane
