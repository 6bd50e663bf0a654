// SPDX-License-Identifier: GPL-3.0-or-later
// Map tooltip texts.
#include "ui/logic/map_tips.h"

#include "ui/logic/display_utf8.h"
#include "ui/logic/geo_text.h"
#include "ui/logic/setup_symbol_names.h"

namespace plovane {
namespace {

constexpr int kIconSize = 16;
constexpr int kIconTop = 1;
constexpr size_t kMaxTipComment = 120;

const char* StateText(LinkState state) {
    switch (state) {
        case LinkState::kOff:
            return "off";
        case LinkState::kOpen:
            return "open";
        case LinkState::kPending:
            return "connecting";
        case LinkState::kError:
            return "error";
    }
    return "off";
}

}  // namespace

HeaderIcon HeaderIconAt(int clientWidth, bool gpsConfigured, int x, int y) {
    if (y < kIconTop || y >= kIconTop + kIconSize)
        return HeaderIcon::kNone;
    struct Place {
        int offset;
        HeaderIcon icon;
    };
    static constexpr Place kPlaces[] = {{17, HeaderIcon::kMessages},
                                        {35, HeaderIcon::kNet},
                                        {53, HeaderIcon::kTnc},
                                        {71, HeaderIcon::kGps}};
    for (const Place& place : kPlaces) {
        if (place.icon == HeaderIcon::kGps && !gpsConfigured)
            continue;
        const int left = clientWidth - place.offset;
        if (x >= left && x < left + kIconSize)
            return place.icon;
    }
    return HeaderIcon::kNone;
}

std::string HeaderIconTip(HeaderIcon icon, const HeaderStatus& status, const std::string& detail) {
    const char* name = nullptr;
    LinkState state = LinkState::kOff;
    switch (icon) {
        case HeaderIcon::kNone:
            return {};
        case HeaderIcon::kMessages:
            return status.messageWaiting ? "Messages: new message waiting"
                                         : "Messages: none waiting";
        case HeaderIcon::kNet:
            name = "APRS-IS";
            state = status.net;
            break;
        case HeaderIcon::kTnc:
            name = "TNC";
            state = status.tnc;
            break;
        case HeaderIcon::kGps:
            name = "GPS";
            state = status.gps;
            break;
    }
    std::string text = std::string(name) + ": " + StateText(state);
    if (state != LinkState::kOff && state != LinkState::kOpen && !detail.empty())
        text += " - " + DisplayUtf8(detail);
    return text;
}

std::string StationTipText(const StationTip& tip) {
    std::string text = DisplayUtf8(tip.call);
    const int position = static_cast<unsigned char>(tip.symbolCode) - 32;
    const char* name = SymbolName(
        tip.symbolTable == '/' ? SymbolTable::kPrimary : SymbolTable::kAlternate, position);
    if (name != nullptr && *name != '\0')
        text += std::string("\n") + name;
    if (tip.ageSeconds >= 0)
        text += "\nLast report " + AgeText(tip.ageSeconds);
    if (!tip.comment.empty()) {
        std::string comment = DisplayUtf8(tip.comment);
        if (comment.size() > kMaxTipComment) {
            size_t cut = kMaxTipComment;
            while (cut > 0 && (static_cast<unsigned char>(comment[cut]) & 0xC0) == 0x80)
                --cut;  // never inside a UTF-8 character
            comment = comment.substr(0, cut) + "...";
        }
        text += "\n" + comment;
    }
    return text;
}

}  // namespace plovane
