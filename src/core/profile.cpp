// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory profile.
#include "core/profile.h"

#include <charconv>

namespace plovane {

std::optional<int32_t> ParseInt32(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    int32_t value = 0;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end || begin == end) return std::nullopt;
    return value;
}

std::optional<std::string> MemoryProfile::Find(const std::string& section,
                                               const std::string& key) const {
    std::lock_guard lock(mutex_);
    const auto it = values_.find({section, key});
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

int32_t MemoryProfile::GetInt(const std::string& section, const std::string& key,
                              int32_t defaultValue) const {
    const auto text = Find(section, key);
    if (!text) return defaultValue;
    return ParseInt32(*text).value_or(defaultValue);
}

std::string MemoryProfile::GetString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
    return Find(section, key).value_or(defaultValue);
}

bool MemoryProfile::GetBinary(const std::string& section, const std::string& key,
                              std::vector<uint8_t>& value) const {
    value.clear();
    const auto text = Find(section, key);
    if (!text) return false;
    value.assign(text->begin(), text->end());
    return true;
}

bool MemoryProfile::WriteInt(const std::string& section, const std::string& key, int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

bool MemoryProfile::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
    std::lock_guard lock(mutex_);
    values_[{section, key}] = value;
    return true;
}

bool MemoryProfile::WriteBinary(const std::string& section, const std::string& key,
                                const std::vector<uint8_t>& value) {
    return WriteString(section, key, std::string(value.begin(), value.end()));
}

bool MemoryProfile::Contains(const std::string& section, const std::string& key) const {
    return Find(section, key).has_value();
}

}  // namespace plovane
