// SPDX-License-Identifier: GPL-3.0-or-later
// One declaration per setting: a row of key, default and member (and the setup page's label)
// drives loading, saving and the setup page of a settings record. The row kinds pair a member
// with a default of its own type, so a row cannot load text into a number.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <variant>

#include "core/profile.h"

namespace plovane {

template <class Record>
struct BoolSetting {
    bool Record::*member;
    bool initial;
};

template <class Record>
struct IntSetting {
    int32_t Record::*member;
    int32_t initial;
    int32_t min;  // a stored value outside min..max is brought inside
    int32_t max;
};

template <class Record>
struct TextSetting {
    std::string Record::*member;
    const char* initial;
};

template <class Record>
struct SettingRow {
    const char* key;
    const char* label;  // the setup page's text, with its mnemonic
    std::variant<BoolSetting<Record>, IntSetting<Record>, TextSetting<Record>> field;
};

template <class Record, class Rows>
void ApplyDefaults(Record& record, const Rows& rows) {
    for (const SettingRow<Record>& row : rows) {
        std::visit([&](const auto& f) { record.*f.member = f.initial; }, row.field);
    }
}

// A key the file does not have takes its default; booleans are any non-zero integer.
template <class Record, class Rows>
void LoadRows(Record& record, const Rows& rows, const Profile& profile, const char* section) {
    for (const SettingRow<Record>& row : rows) {
        if (const auto* b = std::get_if<BoolSetting<Record>>(&row.field)) {
            record.*b->member = profile.GetInt(section, row.key, b->initial ? 1 : 0) != 0;
        } else if (const auto* i = std::get_if<IntSetting<Record>>(&row.field)) {
            record.*i->member =
                std::clamp(profile.GetInt(section, row.key, i->initial), i->min, i->max);
        } else if (const auto* t = std::get_if<TextSetting<Record>>(&row.field)) {
            record.*t->member = profile.GetString(section, row.key, t->initial);
        }
    }
}

template <class Record, class Rows>
void SaveRows(const Record& record, const Rows& rows, Profile& profile, const char* section) {
    for (const SettingRow<Record>& row : rows) {
        if (const auto* b = std::get_if<BoolSetting<Record>>(&row.field)) {
            profile.WriteInt(section, row.key, record.*b->member ? 1 : 0);
        } else if (const auto* i = std::get_if<IntSetting<Record>>(&row.field)) {
            profile.WriteInt(section, row.key, record.*i->member);
        } else if (const auto* t = std::get_if<TextSetting<Record>>(&row.field)) {
            profile.WriteString(section, row.key, record.*t->member);
        }
    }
}

}  // namespace plovane
