// The message store's look-up of a message by sender, addressee and number (or text, for a
// message without a number): an open-addressing hash table of record pointers beside the
// list, so matching a received message or an ack costs the same with 10 or 1 000 messages.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "messages/message.h"

namespace plovane {

// Thread-compatible: the message store uses it under its lock. A record's from, to, number
// and text must not change while it is indexed, and it must stay at one address (list nodes).
class MessageIndex {
  public:
    // The match rule: equal sender, addressee and number, and, when the number is empty,
    // equal text. Of several matches the one with the smallest key (the oldest) is returned.
    CMessage* Find(std::string_view from, std::string_view to, std::string_view number,
                   std::string_view text) const;
    void Insert(CMessage* message);
    // False when the record was not indexed.
    bool Erase(const CMessage* message);
    size_t size() const { return size_; }

  private:
    struct Slot {
        size_t hash = 0;
        CMessage* message = nullptr;  // null: empty
    };

    static size_t Hash(std::string_view from, std::string_view to, std::string_view number,
                       std::string_view text);
    static size_t HashOf(const CMessage& message);
    void Grow(size_t capacity);

    std::vector<Slot> slots_;  // a power of two in size, at most half full
    size_t size_ = 0;
};

}  // namespace plovane
