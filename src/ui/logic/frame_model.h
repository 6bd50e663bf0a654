// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window shows, without the window: the menu bar with every item, id, key and
// enabled state, the station pop-up, the toolbar buttons in order, the Map > Open items built
// from the map list, and the geometry of the status bar's progress indicator. The Qt frame
// builds its widgets from these tables.
#pragma once

#include <string>
#include <vector>

#include "app/file_search.h"
#include "maps/map_projection.h"
#include "ui/logic/command_ids.h"

namespace plovane {

struct MenuEntry {
    enum class Kind { kCommand, kSeparator, kSubmenu };
    Kind kind = Kind::kCommand;
    std::string text;             // "&" marks the mnemonic; "&&" is a literal ampersand
    Command id = Command::kNone;  // kNone for separators and submenus
    int mapIndex = -1;            // Map > Open items: the map's index in the map list
    std::string shortcut;         // a key sequence in Qt's portable text form ("F5", "Ctrl+O")
    bool enabled = true;
    bool checkable = false;  // the drag modes: one of the group is checked
    std::vector<MenuEntry> children;
};

// The menu bar: "&Map", "&View", "&List", "&Ops", "&Setup", "&Help", each a submenu.
std::vector<MenuEntry> MainMenuBar();

// A toolbar button, or a separator (kNone).
struct ToolbarButton {
    Command id = Command::kNone;
    std::string text;  // tool tip, without the mnemonic
    bool checkable = false;
};
std::vector<ToolbarButton> MainToolbar();

// The items of Map > Open for a map list: one per map (kOpenMap with its index, the title as the
// menu shows it), at most 1000; with no maps, the greyed placeholder "Map List".
std::vector<MenuEntry> MapOpenItems(const std::vector<MapListEntry>& maps);

// The command's menu text without its mnemonic marks: "Zoom &In" -> "Zoom In",
// "R&&D" -> "R&D".
std::string PlainMenuText(const std::string& text);

// The status bar's progress indicator in a client rectangle: a frame in the right third,
// the part done in dark blue, the rest in grey. Percent is clamped to 0..100.
struct ProgressLayout {
    PixelRect frame;      // drawn as an outline
    PixelRect done;       // empty when percent is 0
    PixelRect remaining;  // empty when percent is 100
};
ProgressLayout LayoutProgress(const PixelRect& client, int percent);

// "About Plovane...", "Version 1.02" and the warning line of the About box and splash.
std::string AboutCaption();
std::string VersionLine();
inline constexpr const char* kNavigationWarning = "Not to be used as an aid to navigation!";

}  // namespace plovane
