// SPDX-License-Identifier: GPL-3.0-or-later
// Settings declared once: a record lists each stored value as its key and its member, and the
// member's initializer is the default. The one table loads, saves and lists the record.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "core/profile.h"

namespace plovane {

template <typename Record>
struct SettingKey {
    const char* key;
    std::variant<bool Record::*, int32_t Record::*, std::string Record::*> member;
};

// Reads every key of the table from `section`; a missing key takes the member's default.
template <typename Record>
void LoadKeys(const Profile& profile, const std::string& section,
              std::span<const SettingKey<Record>> keys, Record& record) {
    static const Record defaults{};
    for (const SettingKey<Record>& k : keys) {
        std::visit(
            [&](auto member) {
                using Value = std::remove_reference_t<decltype(record.*member)>;
                if constexpr (std::is_same_v<Value, bool>)
                    record.*member = profile.GetInt(section, k.key, defaults.*member ? 1 : 0) != 0;
                else if constexpr (std::is_same_v<Value, int32_t>)
                    record.*member = profile.GetInt(section, k.key, defaults.*member);
                else
                    record.*member = profile.GetString(section, k.key, defaults.*member);
            },
            k.member);
    }
}

// Writes every key of the table to `section`.
template <typename Record>
void SaveKeys(Profile& profile, const std::string& section,
              std::span<const SettingKey<Record>> keys, const Record& record) {
    for (const SettingKey<Record>& k : keys) {
        std::visit(
            [&](auto member) {
                using Value = std::remove_cvref_t<decltype(record.*member)>;
                if constexpr (std::is_same_v<Value, bool>)
                    profile.WriteInt(section, k.key, record.*member ? 1 : 0);
                else if constexpr (std::is_same_v<Value, int32_t>)
                    profile.WriteInt(section, k.key, record.*member);
                else
                    profile.WriteString(section, k.key, record.*member);
            },
            k.member);
    }
}

}  // namespace plovane
