// The station list's look-up by call: an open-addressing hash table of record pointers.
// Each slot keeps the call's hash beside the pointer, so a probe reads the record only on a
// likely match, and a look-up usually costs one cache line of the table plus the record
// that the update touches anyway.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "stations/station.h"

namespace plovane {

// Thread-compatible: the station list uses it under its lock. The key of a record is its
// call, read from the record: a record's call must not change while it is indexed.
class CallIndex {
  public:
    CStation* Find(std::string_view call) const;
    // The record's call must not be in the index yet.
    void Insert(CStation* station);
    // False when the call was not indexed.
    bool Erase(std::string_view call);
    size_t size() const { return size_; }
    // Room for `count` records without growing.
    void Reserve(size_t count);

    static size_t Hash(std::string_view call);

  private:
    struct Slot {
        size_t hash = 0;
        CStation* station = nullptr;  // null: empty
    };

    // The slot holding `call`, or the empty slot that ends its probe sequence.
    size_t Probe(std::string_view call, size_t hash) const;
    void Grow(size_t capacity);

    std::vector<Slot> slots_;  // a power of two in size, at most half full
    size_t size_ = 0;
};

}  // namespace plovane
