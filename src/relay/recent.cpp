// SPDX-License-Identifier: GPL-3.0-or-later
// The relay logic's memories.
#include "relay/recent.h"

#include <algorithm>
#include <vector>

namespace plovane {
namespace {

// FNV-1a over the three fields with separators that cannot occur in a header.
uint64_t PacketKey(std::string_view source, std::string_view destination, std::string_view info) {
    uint64_t hash = 14695981039346656037ull;
    const auto add = [&](std::string_view bytes) {
        for (const char c : bytes) {
            hash ^= static_cast<uint8_t>(c);
            hash *= 1099511628211ull;
        }
        hash ^= 0x100;  // a field end no byte can make
        hash *= 1099511628211ull;
    };
    add(source);
    add(destination);
    add(info);
    return hash;
}

std::string CallKey(std::string_view call) {
    if (call.size() > 2 && call.substr(call.size() - 2) == "-0")
        call.remove_suffix(2);
    return std::string(call);
}

}  // namespace

bool RecentPackets::SeenElseRecord(std::string_view source, std::string_view destination,
                                   std::string_view info, RelayTime now) {
    while (!entries_.empty() && now - entries_.front().at >= window_)
        entries_.pop_front();
    const uint64_t key = PacketKey(source, destination, info);
    for (const Entry& entry : entries_) {
        if (entry.key == key)
            return true;
    }
    if (entries_.size() >= capacity_)
        entries_.pop_front();
    entries_.push_back({now, key});
    return false;
}

void HeardCalls::Note(std::string_view call, int port, RelayTime now) {
    if (now - lastSweep_ >= std::chrono::minutes(1) || calls_.size() >= capacity_)
        Sweep(now);
    calls_[CallKey(call)] = {now, port};
}

std::optional<int> HeardCalls::Find(std::string_view call, RelayTime now) const {
    const auto found = calls_.find(CallKey(call));
    if (found == calls_.end() || now - found->second.at >= window_)
        return std::nullopt;
    return found->second.port;
}

void HeardCalls::Forget(std::string_view call) {
    calls_.erase(CallKey(call));
}

// Drops the stations heard longer ago than the window; when that leaves the table full,
// the older half goes too.
void HeardCalls::Sweep(RelayTime now) {
    lastSweep_ = now;
    std::erase_if(calls_, [&](const auto& entry) { return now - entry.second.at >= window_; });
    if (calls_.size() < capacity_)
        return;
    std::vector<RelayTime> times;
    times.reserve(calls_.size());
    for (const auto& entry : calls_)
        times.push_back(entry.second.at);
    const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    const RelayTime cut = *middle;
    std::erase_if(calls_, [&](const auto& entry) { return entry.second.at <= cut; });
}

bool RateLimit::Take(int port, RelayTime now) {
    std::deque<RelayTime>& sent = sent_[port];
    while (!sent.empty() && now - sent.front() >= std::chrono::minutes(1))
        sent.pop_front();
    if (sent.size() >= perMinute_)
        return false;
    sent.push_back(now);
    return true;
}

size_t RateLimit::size() const {
    size_t total = 0;
    for (const auto& [port, sent] : sent_)
        total += sent.size();
    return total;
}

}  // namespace plovane
