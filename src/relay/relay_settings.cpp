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

}  // namespace

IGateSettings::IGateSettings() {
    ApplyDefaults(*this, kIGateRows);
}

void IGateSettings::Load(const Profile& profile) {
    LoadRows(*this, kIGateRows, profile, kSection);
}

void IGateSettings::Save(Profile& profile) const {
    SaveRows(*this, kIGateRows, profile, kSection);
}

DigipeaterSettings::DigipeaterSettings() {
    ApplyDefaults(*this, kDigipeaterRows);
}

void DigipeaterSettings::Load(const Profile& profile) {
    LoadRows(*this, kDigipeaterRows, profile, kSection);
}

void DigipeaterSettings::Save(Profile& profile) const {
    SaveRows(*this, kDigipeaterRows, profile, kSection);
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
