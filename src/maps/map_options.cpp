// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the map preferences.
#include "maps/map_options.h"

#include <string_view>

namespace plovane {

void CMapOptions::Load(const Profile& profile) {
    const CMapOptions initial;
    for (const MapOptionCheck& check : kMapOptionChecks)
        this->*check.member = profile.GetInt(kSection, check.key, initial.*check.member) != 0;
    RedrawScreenEvery = profile.GetInt(kSection, "RedrawScreenEvery", 5);
    LastMapPath = profile.GetString(kSection, "LastMapPath", "");
    SearchFolders = profile.GetString(kSection, "SearchFolders", "");
    TileSource = profile.GetString(kSection, "TileSource", "");
    TileCacheMB = profile.GetInt(kSection, "TileCacheMB", 256);
    TileAttribution = profile.GetString(kSection, "TileAttribution", "");
}

void CMapOptions::Save(Profile& profile) const {
    for (const MapOptionCheck& check : kMapOptionChecks)
        profile.WriteInt(kSection, check.key, this->*check.member ? 1 : 0);
    profile.WriteInt(kSection, "RedrawScreenEvery", RedrawScreenEvery);
    profile.WriteString(kSection, "LastMapPath", LastMapPath);
    profile.WriteString(kSection, "SearchFolders", SearchFolders);
    profile.WriteString(kSection, "TileSource", TileSource);
    profile.WriteInt(kSection, "TileCacheMB", TileCacheMB);
    profile.WriteString(kSection, "TileAttribution", TileAttribution);
}

std::vector<std::string> CMapOptions::SearchFolderList() const {
    std::vector<std::string> folders;
    std::string_view rest = SearchFolders;
    while (true) {
        const size_t end = rest.find(';');
        std::string_view entry = rest.substr(0, end);
        const size_t first = entry.find_first_not_of(" \t");
        if (first != std::string_view::npos) {
            const size_t last = entry.find_last_not_of(" \t");
            folders.emplace_back(entry.substr(first, last - first + 1));
        }
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return folders;
}

int RedrawPeriodIndex(int32_t minutes) {
    for (size_t i = 0; i < kRedrawPeriods.size(); ++i) {
        if (kRedrawPeriods[i].minutes == minutes)
            return static_cast<int>(i);
    }
    return 0;
}

int32_t RedrawPeriodMinutes(int index) {
    if (index < 0 || static_cast<size_t>(index) >= kRedrawPeriods.size())
        return 0;
    return kRedrawPeriods[index].minutes;
}

}  // namespace plovane
