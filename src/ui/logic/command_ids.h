// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the main window's menus and toolbar. One enumeration without numbers of its
// own: two commands can never share a value, so no window takes another's command.
#pragma once

namespace plovane {

enum class Command {
    kNone,
    // Map menu.
    kMapListPlaceholder,  // "Map List", while no map is known
    kOpenMap,             // an item of Map > Open; the item carries its index in the map list
    kOpenFile,            // a map file anywhere on disk
    kCloseMap,
    kRefreshMapList,
    kSimulate,
    kReplayLog,  // a day of the station log
    kHistory,    // find in the history and play tracks back
    kExit,
    // View menu.
    kRefresh,
    kDragToZoom,
    kDragToMove,
    kHome,
    kZoomOut,
    kZoomIn,
    kMapOptions,
    // List menu.
    kStations,
    kMessages,
    kConversations,
    kFindStation,  // Ctrl+F
    // The station pop-up: about the station picked last.
    kStationInfo,
    kSendMessage,
    kCenterOnStation,
    kConversation,  // the chat window with the station
    // Ops menu.
    kSendPosition,
    kSendStatus,
    kSendMessages,
    // Setup menu.
    kSetupStation,
    kSetupCommunications,
    kSetupSound,
    kSetupRelay,  // IGate and digipeater
    // Help menu.
    kHelpTopics,
    kAbout,
};

// Map > Open lists at most this many maps.
inline constexpr int kMaxMapMenuItems = 1000;

}  // namespace plovane
