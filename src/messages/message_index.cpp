// Linear probing; equal keys (numberless messages stored twice through AddMessage) sit in
// the same probe run, and removal shifts later entries back instead of leaving tombstones.
#include "messages/message_index.h"

#include <functional>

namespace plovane {
namespace {

size_t Mix(size_t seed, std::string_view part) {
    // boost::hash_combine's step.
    return seed ^ (std::hash<std::string_view>{}(part) + 0x9e3779b97f4a7c15ULL + (seed << 6) +
                   (seed >> 2));
}

bool Matches(const CMessage& m, std::string_view from, std::string_view to, std::string_view number,
             std::string_view text) {
    return m.from == from && m.to == to && m.number == number &&
           (!number.empty() || m.text == text);
}

}  // namespace

size_t MessageIndex::Hash(std::string_view from, std::string_view to, std::string_view number,
                          std::string_view text) {
    size_t hash = Mix(Mix(Mix(0, from), to), number);
    // Numbered messages match on the number alone, so the text stays out of their hash.
    return number.empty() ? Mix(hash, text) : hash;
}

size_t MessageIndex::HashOf(const CMessage& m) {
    return Hash(m.from, m.to, m.number, m.text);
}

CMessage* MessageIndex::Find(std::string_view from, std::string_view to, std::string_view number,
                             std::string_view text) const {
    if (size_ == 0)
        return nullptr;
    const size_t hash = Hash(from, to, number, text);
    const size_t mask = slots_.size() - 1;
    CMessage* first = nullptr;
    for (size_t i = hash & mask; slots_[i].message != nullptr; i = (i + 1) & mask) {
        CMessage* m = slots_[i].message;
        if (slots_[i].hash == hash && (first == nullptr || m->key < first->key) &&
            Matches(*m, from, to, number, text)) {
            first = m;
        }
    }
    return first;
}

void MessageIndex::Grow(size_t capacity) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{});
    for (const Slot& slot : old) {
        if (slot.message == nullptr)
            continue;
        size_t i = slot.hash & (capacity - 1);
        while (slots_[i].message != nullptr)
            i = (i + 1) & (capacity - 1);
        slots_[i] = slot;
    }
}

void MessageIndex::Insert(CMessage* message) {
    if ((size_ + 1) * 2 > slots_.size())
        Grow(slots_.empty() ? 64 : slots_.size() * 2);
    const size_t hash = HashOf(*message);
    const size_t mask = slots_.size() - 1;
    size_t i = hash & mask;
    while (slots_[i].message != nullptr)
        i = (i + 1) & mask;
    slots_[i] = Slot{hash, message};
    ++size_;
}

bool MessageIndex::Erase(const CMessage* message) {
    if (size_ == 0)
        return false;
    const size_t mask = slots_.size() - 1;
    size_t hole = HashOf(*message) & mask;
    while (slots_[hole].message != nullptr && slots_[hole].message != message)
        hole = (hole + 1) & mask;
    if (slots_[hole].message == nullptr)
        return false;
    // Move back every later entry of the run whose home slot does not lie between the hole
    // and itself (cyclically), so no probe sequence is cut by the hole.
    for (size_t j = (hole + 1) & mask; slots_[j].message != nullptr; j = (j + 1) & mask) {
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
