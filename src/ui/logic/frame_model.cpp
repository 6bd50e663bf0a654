// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menus, toolbar, map menu and progress geometry as plain tables.
#include "ui/logic/frame_model.h"

#include <algorithm>

#include "core/version.h"
#include "ui/logic/command_ids.h"

namespace plovane {
namespace {

MenuEntry Item(std::string text, Command id, std::string shortcut = {}, bool enabled = true) {
    MenuEntry entry;
    entry.kind = MenuEntry::Kind::kCommand;
    entry.text = std::move(text);
    entry.id = id;
    entry.shortcut = std::move(shortcut);
    entry.enabled = enabled;
    return entry;
}

MenuEntry Radio(std::string text, Command id) {
    MenuEntry entry = Item(std::move(text), id);
    entry.checkable = true;
    return entry;
}

MenuEntry Separator() {
    MenuEntry entry;
    entry.kind = MenuEntry::Kind::kSeparator;
    return entry;
}

MenuEntry Submenu(std::string text, std::vector<MenuEntry> children) {
    MenuEntry entry;
    entry.kind = MenuEntry::Kind::kSubmenu;
    entry.text = std::move(text);
    entry.children = std::move(children);
    return entry;
}

MenuEntry MapListPlaceholder() {
    return Item("Map List", Command::kMapListPlaceholder, {}, false);
}

}  // namespace

std::vector<MenuEntry> MainMenuBar() {
    return {
        Submenu("&Map",
                {
                    Submenu("&Open", {MapListPlaceholder()}),
                    Item("Open &File...", Command::kOpenFile, "Ctrl+O"),
                    Item("&Close", Command::kCloseMap),
                    Separator(),
                    Item("&Refresh Map List", Command::kRefreshMapList),
                    Item("&Simulate...", Command::kSimulate),
                    Item("Replay &Log...", Command::kReplayLog),
                    Item("&History...", Command::kHistory),
                    Separator(),
                    Item("E&xit", Command::kExit, "Ctrl+Q"),
                }),
        Submenu("&View",
                {
                    Item("&Refresh", Command::kRefresh, "F5"),
                    Separator(),
                    Radio("&Drag To Zoom", Command::kDragToZoom),
                    Radio("Drag To &Move", Command::kDragToMove),
                    Separator(),
                    Item("&Home", Command::kHome, "Ctrl+H"),
                    Item("Zoom &Out", Command::kZoomOut, "Ctrl+-"),
                    Item("Zoom &In", Command::kZoomIn, "Ctrl++"),
                    Separator(),
                    Item("O&ptions...", Command::kMapOptions),
                }),
        Submenu("&List",
                {
                    Item("&Stations...", Command::kStations),
                    Item("&Messages...", Command::kMessages),
                    Item("&Conversations...", Command::kConversations),
                    Separator(),
                    Item("&Find Station...", Command::kFindStation, "Ctrl+F"),
                }),
        Submenu("&Ops",
                {
                    Item("Send &Position", Command::kSendPosition, "F2"),
                    Item("Send &Status", Command::kSendStatus),
                    Item("Send &Messages", Command::kSendMessages),
                }),
        Submenu("&Setup",
                {
                    Item("&Station...", Command::kSetupStation),
                    Item("&Communications...", Command::kSetupCommunications),
                    Item("S&ound...", Command::kSetupSound),
                    Item("&IGate and Digipeater...", Command::kSetupRelay),
                }),
        Submenu("&Help",
                {
                    Item("&Help Topics", Command::kHelpTopics, "F1"),
                    Separator(),
                    Item("&About Plovane...", Command::kAbout),
                }),
    };
}

std::vector<ToolbarButton> MainToolbar() {
    return {
        {Command::kRefresh, "Refresh", false},
        {Command::kNone, {}, false},
        {Command::kDragToZoom, "Drag To Zoom", true},
        {Command::kDragToMove, "Drag To Move", true},
        {Command::kNone, {}, false},
        {Command::kHome, "Home", false},
        {Command::kNone, {}, false},
        {Command::kZoomIn, "Zoom In", false},
        {Command::kZoomOut, "Zoom Out", false},
    };
}

std::vector<MenuEntry> MapOpenItems(const std::vector<MapListEntry>& maps) {
    if (maps.empty())
        return {MapListPlaceholder()};
    const size_t count = std::min(maps.size(), static_cast<size_t>(kMaxMapMenuItems));
    std::vector<MenuEntry> items;
    items.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        MenuEntry item = Item(maps[i].title, Command::kOpenMap);
        item.mapIndex = static_cast<int>(i);
        items.push_back(std::move(item));
    }
    return items;
}

std::string PlainMenuText(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                plain += '&';
                ++i;
            }
            continue;
        }
        plain += text[i];
    }
    return plain;
}

ProgressLayout LayoutProgress(const PixelRect& client, int percent) {
    percent = std::clamp(percent, 0, 100);
    const int32_t w = static_cast<int32_t>(client.Width() / 3);
    ProgressLayout layout;
    layout.frame = {client.right - w - 4, client.bottom - 15, client.right - 2, client.bottom - 2};
    const int32_t start = client.right - w - 3;
    const int32_t split = start + static_cast<int32_t>(int64_t{w} * percent / 100);
    const int32_t top = client.bottom - 14;
    const int32_t bottom = client.bottom - 3;
    if (percent > 0)
        layout.done = {start, top, split, bottom};
    if (percent < 100)
        layout.remaining = {split, top, client.right - 3, bottom};
    return layout;
}

std::string AboutCaption() {
    return std::string("About ") + kProgramName + "...";
}

std::string VersionLine() {
    return std::string("Version ") + kVersionText;
}

}  // namespace plovane
