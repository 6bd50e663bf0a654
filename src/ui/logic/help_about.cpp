// SPDX-License-Identifier: GPL-3.0-or-later
// Help topics and About box text.
#include "ui/logic/help_about.h"

#include <array>
#include <utility>

#include "core/device_ids.h"
#include "ui/logic/frame_model.h"

namespace plovane {

std::string HelpTopicFor(std::string_view className) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kTopics{{
        {"CStationListWindow", "stations"},
        {"CStationInfo", "stations"},
        {"FindStationDialog", "stations"},
        {"CMessageListWindow", "messages"},
        {"CSendMessageDialog", "messages"},
        {"CSetupStation", "station"},
        {"CSetupComm", "tnc"},
        {"CAlertsDialog", "sounds"},
        {"MapOptionsDialog", "maps"},
        {"CMainFrame", "window"},
    }};
    const size_t colons = className.rfind("::");
    const std::string_view bare =
        colons == std::string_view::npos ? className : className.substr(colons + 2);
    for (const auto& [name, topic] : kTopics) {
        if (bare == name)
            return std::string(topic);
    }
    return "window";
}

std::string AboutDetails(bool tilesShown) {
    std::string text =
        std::string(kNavigationWarning) +
        "\n\nCopyright 2026 Drennic. Plovane is free software under the GNU General Public "
        "License, version 3 or later (GPL-3.0-or-later), and comes with no warranty."
        "\n\nMap data: Made with Natural Earth (naturalearthdata.com), public domain.";
    text += "\n";
    text += device_ids::kCredit;
    if (tilesShown)
        text += "\nMap tiles: \u00a9 OpenStreetMap contributors (openstreetmap.org/copyright).";
    return text;
}

}  // namespace plovane
