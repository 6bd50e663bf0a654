// SPDX-License-Identifier: GPL-3.0-or-later
// Lookups over the generated device table.
#include "core/device_ids.h"

#include <algorithm>
#include <array>
#include <span>
#include <type_traits>

namespace plovane::device_ids {
namespace {

struct MicERow {
    std::string_view key;  // suffix bytes, or type byte and suffix byte
    Device device;
};
struct TocallRow {
    std::string_view prefix;   // the pattern up to its first wildcard
    std::string_view pattern;  // "?" any character, "n" a digit, "*" any rest
    Device device;
};
// The table is read once per kind of row: each pass turns the other kinds into nothing.
#define DEVICE_CLASS(key, shown)
#define LEGACY_DEVICE(key, tag, name, cls)
#define TOCALL_DEVICE(prefix, pattern, name, cls)
#define MICE_DEVICE(key, tag, name, cls) MicERow{key, Device{tag, name, cls}},
constexpr MicERow kMicE[] = {
#include "../../data/device-ids/device_ids.inc"
};
#undef MICE_DEVICE
#undef LEGACY_DEVICE
#define MICE_DEVICE(key, tag, name, cls)
#define LEGACY_DEVICE(key, tag, name, cls) MicERow{key, Device{tag, name, cls}},
constexpr MicERow kMicELegacy[] = {
#include "../../data/device-ids/device_ids.inc"
};
#undef LEGACY_DEVICE
#undef TOCALL_DEVICE
#define LEGACY_DEVICE(key, tag, name, cls)
#define TOCALL_DEVICE(prefix, pattern, name, cls) TocallRow{prefix, pattern, Device{"", name, cls}},
constexpr TocallRow kTocalls[] = {
#include "../../data/device-ids/device_ids.inc"
};
#undef DEVICE_CLASS
#undef MICE_DEVICE
#undef LEGACY_DEVICE
#undef TOCALL_DEVICE

constexpr bool SortedByPrefix() {
    for (size_t i = 1; i < std::size(kTocalls); ++i) {
        if (kTocalls[i].prefix < kTocalls[i - 1].prefix)
            return false;
    }
    return true;
}
static_assert(SortedByPrefix(), "the device table must be sorted by prefix");

bool Matches(std::string_view pattern, std::string_view call) {
    size_t i = 0;
    for (; i < pattern.size(); ++i) {
        const char p = pattern[i];
        if (p == '*')
            return true;
        if (i >= call.size())
            return pattern.find_first_not_of('?', i) == std::string_view::npos;
        const char c = call[i];
        if (p == '?' || (p == 'n' && c >= '0' && c <= '9') || p == c)
            continue;
        return false;
    }
    return i == call.size();
}

const Device* FindKey(std::span<const MicERow> rows, std::string_view key) {
    for (const MicERow& row : rows) {
        if (row.key == key)
            return &row.device;
    }
    return nullptr;
}

}  // namespace

const Device* FindTocall(std::string_view destination) {
    destination = destination.substr(0, destination.find('-'));
    // Longest fixed beginning first: every prefix of the call, longest first.
    for (size_t length = destination.size() + 1; length-- > 0;) {
        const std::string_view prefix = destination.substr(0, length);
        const auto [first, last] = std::equal_range(
            std::begin(kTocalls), std::end(kTocalls), prefix, [](const auto& a, const auto& b) {
                if constexpr (std::is_same_v<std::decay_t<decltype(a)>, TocallRow>)
                    return a.prefix < b;
                else
                    return a < b.prefix;
            });
        for (auto row = first; row != last; ++row) {
            if (Matches(row->pattern, destination))
                return &row->device;
        }
    }
    return nullptr;
}

const Device* FindMicESuffix(std::string_view suffix) {
    return suffix.size() == 2 ? FindKey(kMicE, suffix) : nullptr;
}

const Device* FindMicELegacy(char type, std::string_view suffix) {
    if (suffix.size() > 1)
        return nullptr;
    const std::array<char, 2> key = {type, suffix.empty() ? '\0' : suffix[0]};
    return FindKey(kMicELegacy, std::string_view(key.data(), suffix.empty() ? 1 : 2));
}

const Device* FindMicETag(std::string_view tag) {
    for (const MicERow& row : kMicE) {
        if (row.device.tag == tag)
            return &row.device;
    }
    for (const MicERow& row : kMicELegacy) {
        if (row.device.tag == tag)
            return &row.device;
    }
    return nullptr;
}

}  // namespace plovane::device_ids
