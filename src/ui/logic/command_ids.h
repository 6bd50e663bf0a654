// Command ids of the main window's menus, toolbar and pop-ups. The View menu's and the
// station pick's ids live beside the map view (maps/map_view.h, maps/map_station_pick.h).
#pragma once

#include "maps/map_station_pick.h"
#include "maps/map_view.h"

namespace plovane {

// Map menu.
inline constexpr int kCommandMapListPlaceholder = 32773;  // "Map List", while no map is known
inline constexpr int kCommandOpenFile = 32840;            // a map file anywhere on disk
inline constexpr int kCommandCloseMap = 0xE102;
inline constexpr int kCommandRefreshMapList = 0x802C;
inline constexpr int kCommandSimulate = 0x8003;
inline constexpr int kCommandReplayLog = 0x80A0;  // a day of the station log
inline constexpr int kCommandExit = 0xE141;
// List menu.
inline constexpr int kCommandStations = 0x8027;
inline constexpr int kCommandMessages = 0x8028;
inline constexpr int kCommandFindStation = 0x80A1;  // Ctrl+F
// The station pop-up and the station list: centre the map on the station.
inline constexpr int kCenterOnStationCommand = 32807;
// Ops menu.
inline constexpr int kCommandSendPosition = 0x809C;
inline constexpr int kCommandSendStatus = 0x809D;
inline constexpr int kCommandSendMessages = 0x809E;
// Setup menu.
inline constexpr int kCommandSetupStation = 0x8021;
inline constexpr int kCommandSetupCommunications = 0x8012;
inline constexpr int kCommandSetupSound = 0x809F;
// Help menu.
inline constexpr int kCommandHelpTopics = 0xE143;
inline constexpr int kCommandAbout = 0xE140;

// Map > Open: one item per map, 12000 + its index in the map list.
inline constexpr int kCommandFirstMap = 12000;
inline constexpr int kMaxMapMenuItems = 1000;

}  // namespace plovane
