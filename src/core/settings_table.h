// SPDX-License-Identifier: GPL-3.0-or-later
// Settings declared once: a record lists each stored value as its key and its member, and the
// member's initializer is the default. The one table loads, saves and lists the record. A
// record the user edits on a setup page lists SettingFields instead: each also says how the
// page shows and edits its value, so the same row loads, saves and builds the page.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
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

// How a setup page edits one value. Each kind holds the member it edits, of the one type it
// can edit, so a row cannot put text into a number.
template <typename Record>
struct CheckEdit {  // a check box
    bool Record::*member;
};
template <typename Record>
struct FlagEdit {  // a check box for a device flag: 1 when checked, -1 (left to the device) clear
    int32_t Record::*member;
};
template <typename Record>
struct TextEdit {  // an edit field; bytes not typed over are stored back unchanged
    std::string Record::*member;
    // The value of a missing key when it depends on other settings; null: the initializer.
    std::string (*missing)(const Profile&) = nullptr;
};
template <typename Record>
struct OptionalByteEdit {  // an edit field for a whole number 0-255; blank stores -1
    int32_t Record::*member;
    const char* blank;  // what a blank field stands for
};
template <typename Record>
struct NumberEdit {  // a spin box
    int32_t Record::*member;
    int32_t min;
    int32_t max;
};
template <typename Record>
struct ChoiceEdit {  // a list, or a column of option buttons; the value is the position
    int32_t Record::*member;
    std::span<const char* const> texts;
    bool buttons = false;
};
template <typename Record>
struct NumberListEdit {  // a list of numbers; the value is the number chosen
    int32_t Record::*member;
    std::span<const int32_t> values;
};
template <typename Record>
struct NameListEdit {  // a list of names; the value is the name chosen
    std::string Record::*member;
    std::span<const char* const> names;
    // A stored value equal to no name shows the name with its first letter ("N" as "None").
    bool byFirstLetter = false;
};
template <typename Record>
struct DeviceEdit {  // a serial device: chosen from those found, or a path typed in
    std::string Record::*member;
};
template <typename Record>
struct CommandFileEdit {  // a TNC command file chosen by name; the value is its path
    std::string Record::*member;
};

// One of the edit kinds. It has no empty state: a row without one does not compile.
template <typename Record>
struct FieldEdit
    : std::variant<CheckEdit<Record>, FlagEdit<Record>, TextEdit<Record>, OptionalByteEdit<Record>,
                   NumberEdit<Record>, ChoiceEdit<Record>, NumberListEdit<Record>,
                   NameListEdit<Record>, DeviceEdit<Record>, CommandFileEdit<Record>> {
    // Implicit, so that a row names its edit kind directly.
    template <typename Edit>
    constexpr FieldEdit(Edit edit) : FieldEdit::variant(edit) {}
};

// Where the page puts a field: on a line of its own above the labelled fields, among them, or
// in the row of check boxes below them.
enum class FieldPlace : uint8_t { kTop, kForm, kStrip };
// When a field can be edited: always, while the record is switched on, or while it is on and
// its connection is a serial line, a TCP link, KISS framing, or gpsd.
enum class FieldGate : uint8_t { kAlways, kOn, kSerial, kTcp, kKiss, kGpsd };

template <typename Record>
struct SettingField {
    const char* key;
    const char* label;  // the page's text, with its mnemonic
    FieldEdit<Record> edit;
    FieldPlace place = FieldPlace::kForm;
    FieldGate gate = FieldGate::kOn;
};

// Calls `f(record.*member)` with the row's member, whatever its edit kind.
template <typename Record, typename Shown, typename F>
void VisitMember(const SettingField<Record>& field, Shown&& record, F&& f) {
    std::visit([&](const auto& edit) { f(record.*edit.member); },
               static_cast<const typename FieldEdit<Record>::variant&>(field.edit));
}

// Reads every field from `section`; a missing key takes its value in `defaults`.
template <typename Record>
void LoadFields(const Profile& profile, const std::string& section,
                std::span<const SettingField<Record>> fields, Record& record,
                const Record& defaults = Record{}) {
    for (const SettingField<Record>& field : fields) {
        std::visit(
            [&](const auto& edit) {
                auto& value = record.*edit.member;
                const auto& initial = defaults.*edit.member;
                using Value = std::remove_reference_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, bool>) {
                    value = profile.GetInt(section, field.key, initial ? 1 : 0) != 0;
                } else if constexpr (std::is_same_v<Value, int32_t>) {
                    value = profile.GetInt(section, field.key, initial);
                    // A stored number outside a spin box's limits is brought inside.
                    if constexpr (std::is_same_v<std::decay_t<decltype(edit)>, NumberEdit<Record>>)
                        value = std::clamp(value, edit.min, edit.max);
                } else if constexpr (std::is_same_v<std::decay_t<decltype(edit)>,
                                                    TextEdit<Record>>) {
                    // A value no text file can hold tells a missing key from an empty one.
                    constexpr const char* kMissing = "\x01";
                    value =
                        profile.GetString(section, field.key, edit.missing ? kMissing : initial);
                    if (edit.missing && value == kMissing)
                        value = edit.missing(profile);
                } else {
                    value = profile.GetString(section, field.key, initial);
                }
            },
            static_cast<const typename FieldEdit<Record>::variant&>(field.edit));
    }
}

// Writes every field to `section`.
template <typename Record>
void SaveFields(Profile& profile, const std::string& section,
                std::span<const SettingField<Record>> fields, const Record& record) {
    for (const SettingField<Record>& field : fields) {
        VisitMember(field, record, [&](const auto& value) {
            using Value = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, bool>)
                profile.WriteInt(section, field.key, value ? 1 : 0);
            else if constexpr (std::is_same_v<Value, int32_t>)
                profile.WriteInt(section, field.key, value);
            else
                profile.WriteString(section, field.key, value);
        });
    }
}

}  // namespace plovane
