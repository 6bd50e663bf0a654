// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_settings.h"

#include <algorithm>

namespace plovane {

void CHistorySettings::Load(const Profile& profile) {
    for (const HistorySetting& s : kHistorySettings) {
        this->*s.member =
            std::clamp(profile.GetInt(kHistorySection, s.key, s.defaultValue), s.min, s.max);
    }
}

void CHistorySettings::Save(Profile& profile) const {
    for (const HistorySetting& s : kHistorySettings)
        profile.WriteInt(kHistorySection, s.key, this->*s.member);
}

}  // namespace plovane
