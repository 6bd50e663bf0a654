// The main window's menus, toolbar, map menu and progress geometry as plain tables.
#include "ui/logic/frame_model.h"

#include <algorithm>

#include "core/version.h"
#include "ui/logic/command_ids.h"

namespace plovane {
namespace {

MenuEntry Command(std::string text, int id, std::string shortcut = {}, bool enabled = true) {
    MenuEntry entry;
    entry.kind = MenuEntry::Kind::kCommand;
    entry.text = std::move(text);
    entry.id = id;
    entry.shortcut = std::move(shortcut);
    entry.enabled = enabled;
    return entry;
}

MenuEntry Radio(std::string text, int id) {
    MenuEntry entry = Command(std::move(text), id);
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
    return Command("Map List", kCommandMapListPlaceholder, {}, false);
}

}  // namespace

std::vector<MenuEntry> MainMenuBar() {
    return {
        Submenu("&Map",
                {
                    Submenu("&Open", {MapListPlaceholder()}),
                    Command("Open &File...", kCommandOpenFile, "Ctrl+O"),
                    Command("&Close", kCommandCloseMap),
                    Separator(),
                    Command("&Refresh Map List", kCommandRefreshMapList),
                    Command("&Simulate...", kCommandSimulate),
                    Command("Replay &Log...", kCommandReplayLog),
                    Separator(),
                    Command("E&xit", kCommandExit, "Ctrl+Q"),
                }),
        Submenu("&View",
                {
                    Command("&Refresh", kCommandRefresh, "F5"),
                    Separator(),
                    Radio("&Drag To Zoom", kCommandDragToZoom),
                    Radio("Drag To &Move", kCommandDragToMove),
                    Separator(),
                    Command("&Home", kCommandHome, "Ctrl+H"),
                    Command("Zoom &Out", kCommandZoomOut, "Ctrl+-"),
                    Command("Zoom &In", kCommandZoomIn, "Ctrl++"),
                    Separator(),
                    Command("Op&tions...", kCommandMapOptions),
                }),
        Submenu("&List",
                {
                    Command("&Stations...", kCommandStations),
                    Command("&Messages...", kCommandMessages),
                    Separator(),
                    Command("&Find Station...", kCommandFindStation, "Ctrl+F"),
                }),
        Submenu("&Ops",
                {
                    Command("Send &Position", kCommandSendPosition, "F2"),
                    Command("Send &Status", kCommandSendStatus),
                    Command("Send &Messages", kCommandSendMessages),
                }),
        Submenu("&Setup",
                {
                    Command("&Station...", kCommandSetupStation),
                    Command("&Communications...", kCommandSetupCommunications),
                    Command("S&ound...", kCommandSetupSound),
                }),
        Submenu("&Help",
                {
                    Command("&Help Topics", kCommandHelpTopics, "F1"),
                    Separator(),
                    Command("&About Plovane...", kCommandAbout),
                }),
    };
}

std::vector<MenuEntry> StationOptionsMenu() {
    return {
        Command("Station Call", 0, {}, false),
        Separator(),
        Command("Station &Info...", kStationInfoCommand),
        Command("Send &Message...", kSendMessageCommand),
        Command("&Center on Station", kCenterOnStationCommand),
    };
}

std::vector<ToolbarButton> MainToolbar() {
    return {
        {kCommandRefresh, "Refresh", false},
        {0, {}, false},
        {kCommandDragToZoom, "Drag To Zoom", true},
        {kCommandDragToMove, "Drag To Move", true},
        {0, {}, false},
        {kCommandHome, "Home", false},
        {0, {}, false},
        {kCommandZoomIn, "Zoom In", false},
        {kCommandZoomOut, "Zoom Out", false},
    };
}

std::vector<MenuEntry> MapOpenItems(const std::vector<MapListEntry>& maps) {
    if (maps.empty())
        return {MapListPlaceholder()};
    const size_t count = std::min(maps.size(), static_cast<size_t>(kMaxMapMenuItems));
    std::vector<MenuEntry> items;
    items.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        items.push_back(Command(maps[i].title, kCommandFirstMap + static_cast<int>(i)));
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
