// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the IGate and digipeater settings.
#include "relay/relay_settings.h"

#include "relay/monitor_line.h"

namespace plovane {
namespace {

// Comma-separated entries, trimmed of blanks, upper case, empty ones left out.
std::vector<std::string> SplitCalls(const std::string& text) {
    std::vector<std::string> calls;
    std::string entry;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ',';
        if (c == ',') {
            if (!entry.empty())
                calls.push_back(entry);
            entry.clear();
        } else if (c != ' ' && c != '\t') {
            entry += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    return calls;
}

using Gate = IGateSettings;
constexpr SettingField<Gate> kIGateFields[] = {
    {"Enabled", "&Run an IGate", CheckEdit<Gate>{&Gate::Enabled}, FieldPlace::kTop},
    {"RfToIs", "Gate radio packets &to APRS-IS", CheckEdit<Gate>{&Gate::RfToIs}, FieldPlace::kTop},
    {"IsToRf", "Gate &messages for local stations to the radio", CheckEdit<Gate>{&Gate::IsToRf},
     FieldPlace::kTop},
    {"IsToRfPath", "Radio &path of gated packets:", TextEdit<Gate>{&Gate::IsToRfPath}},
    {"MaxPerMinute",
     "Packets to the radio per mi&nute:", NumberEdit<Gate>{&Gate::MaxPerMinute, 1, 60}},
};

using Digi = DigipeaterSettings;
constexpr SettingField<Digi> kDigipeaterFields[] = {
    {"Enabled", "Run a &digipeater", CheckEdit<Digi>{&Digi::Enabled}, FieldPlace::kTop},
    {"FillIn", "&Fill-in only (WIDE1-1 as the first hop)", CheckEdit<Digi>{&Digi::FillIn},
     FieldPlace::kTop},
    {"Aliases", "&Aliases:", TextEdit<Digi>{&Digi::Aliases}},
};

}  // namespace

const std::span<const SettingField<IGateSettings>> IGateSettings::kFields = kIGateFields;
const std::span<const SettingField<DigipeaterSettings>> DigipeaterSettings::kFields =
    kDigipeaterFields;

void IGateSettings::Load(const Profile& profile) {
    LoadFields(profile, kSection, kFields, *this);
}

void IGateSettings::Save(Profile& profile) const {
    SaveFields(profile, kSection, kFields, *this);
}

void DigipeaterSettings::Load(const Profile& profile) {
    LoadFields(profile, kSection, kFields, *this);
}

void DigipeaterSettings::Save(Profile& profile) const {
    SaveFields(profile, kSection, kFields, *this);
}

std::vector<std::string> DigipeaterSettings::AliasList() const {
    return SplitCalls(Aliases);
}

bool ParseRelayPath(const std::string& text, std::vector<std::string>& hops) {
    hops = SplitCalls(text);
    if (hops.size() > 8)
        return false;
    for (const std::string& hop : hops) {
        if (!IsAx25Call(hop))
            return false;
    }
    return true;
}

}  // namespace plovane
