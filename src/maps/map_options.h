// SPDX-License-Identifier: GPL-3.0-or-later
// The map preferences, kept in the "Maps" section: what the map draws, the periodic complete
// redraw, the map reopened at start-up and the extra folders searched for maps.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/profile.h"

namespace plovane {

// Thread-compatible: one object owned by the application, read and written on the
// user-interface thread.
struct CMapOptions {
    static constexpr const char* kSection = "Maps";

    // A new installation shows the station labels, tracks, course/speed and weather marks;
    // a stored choice is kept.
    bool IconLabels = true;            // station calls beside the icons
    bool MapLabels = false;            // map labels drawn
    bool OpaqueLabels = false;         // station calls on a white box
    bool TrackMe = false;              // keep the own station in view
    bool ShowTracks = true;            // track histories
    bool ShowCourseSpeed = true;       // course/speed marks
    bool ShowWX = true;                // wind marks of weather stations
    bool ShowRangeCircles = false;     // the radio range (given, or from PHG) round stations
    bool GroupStations = true;         // overlapping stations shown as one count bubble
    bool bRedrawScreenEvery = false;   // periodic complete redraw on
    int32_t RedrawScreenEvery = 5;     // minutes between complete redraws
    bool ReloadLastMap = false;        // open LastMapPath at start-up
    bool UseOffScreenBitmaps = false;  // draw through off-screen bitmaps
    std::string LastMapPath;           // the map opened last
    std::string SearchFolders;         // extra folders searched for maps, ';'-separated
    // The tile background: "" (none), "osm", a URL template, an MBTiles file or a folder.
    std::string TileSource;
    int32_t TileCacheMB = 256;    // disk cache limit for tiles fetched online, MiB
    std::string TileAttribution;  // the credit drawn for sources other than OpenStreetMap
    bool NightMap = false;        // the dark map style and window colours

    // Reads every value, a missing one as the member's initial value above (booleans: any
    // non-zero integer is on).
    void Load(const Profile& profile);
    // Writes every value, booleans as 1 or 0.
    void Save(Profile& profile) const;

    // The folders of SearchFolders, each trimmed of blanks, empty entries left out.
    std::vector<std::string> SearchFolderList() const;

    bool operator==(const CMapOptions&) const = default;
};

// One check box of the Map Options dialog and the preference it shows.
struct MapOptionCheck {
    const char* key;   // value name in "Maps"
    const char* text;  // check box text
    bool CMapOptions::*member;
};

inline constexpr std::array<MapOptionCheck, 13> kMapOptionChecks{{
    {"IconLabels", "Show &Station Labels", &CMapOptions::IconLabels},
    {"MapLabels", "Show &Map Labels", &CMapOptions::MapLabels},
    {"OpaqueLabels", "Labels Are &Opaque", &CMapOptions::OpaqueLabels},
    {"TrackMe", "Keep Map &Tracking Me", &CMapOptions::TrackMe},
    {"ShowTracks", "Show Station Track &History", &CMapOptions::ShowTracks},
    {"ShowCourseSpeed", "Show Station &Course/Speed", &CMapOptions::ShowCourseSpeed},
    {"ShowWX", "Show &Weather Information", &CMapOptions::ShowWX},
    {"ShowRangeCircles", "Show Ran&ge Circles", &CMapOptions::ShowRangeCircles},
    {"GroupStations", "Group &Dense Stations", &CMapOptions::GroupStations},
    {"bRedrawScreenEvery", "Redraw Map Every", &CMapOptions::bRedrawScreenEvery},
    {"ReloadLastMap", "Reload &Last Map Displayed", &CMapOptions::ReloadLastMap},
    {"UseOffScreenBitmaps", "Use Off-screen &Bitmaps", &CMapOptions::UseOffScreenBitmaps},
    {"NightMap", "&Night Map", &CMapOptions::NightMap},
}};

// The redraw periods the dialog offers.
struct RedrawPeriod {
    int32_t minutes;
    const char* text;
};

inline constexpr std::array<RedrawPeriod, 9> kRedrawPeriods{{
    {1, "1 min."},
    {2, "2 mins."},
    {3, "3 mins."},
    {5, "5 mins."},
    {10, "10 mins."},
    {15, "15 mins."},
    {20, "20 mins."},
    {30, "30 mins."},
    {60, "60 mins."},
}};

// The list entry to select for a stored period; a period not in the list selects the first.
int RedrawPeriodIndex(int32_t minutes);
// The period stored for the selected entry; 0 when nothing (or no valid entry) is selected.
int32_t RedrawPeriodMinutes(int index);

}  // namespace plovane
