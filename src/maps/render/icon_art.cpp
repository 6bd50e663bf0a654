// The icon strips: which pictogram each index gets, the overlay characters, the symbol
// names, and the strips as stored (icons side by side on the key colour).
#include "maps/render/icon_art.h"

#include <QPainter>
#include <array>

#include "maps/render/icon_canvas.h"
#include "maps/render/icon_symbols.h"

namespace plovane {

namespace {

// Names of the symbols by list position (code - 32); "\xE2\x84\xA2" is the trade mark sign.
constexpr std::array<const char*, 96> kPrimaryNames{{
    "Unused",
    "Police",
    "Rain",
    "Digipeater",
    "Phone",
    "DX Cluster",
    "HF Gateway",
    "Small Aircraft (SSID = 7)",
    "Cloudy",
    "TBD",
    "Snow (TBD)",
    "Red Cross",
    "Reverse L (or Boy Scouts)",
    "House w/ Vertical Ant.",
    "X",
    "Dot",
    "Black Numeral Circle",
    "Brown Numeral Circle",
    "Red Numeral Circle",
    "Orange Numeral Circle",
    "Yellow Numeral Circle",
    "Green Numeral Circle",
    "Blue Numeral Circle",
    "Violet Numeral Circle",
    "Gray Numeral Circle",
    "White Numeral Circle",
    "Fire",
    "Campground",
    "Motorcycle (SSID = 10)",
    "Railroad Locomotive",
    "Car (SSID = 9)",
    "File Server",
    "Hurricane Future Position",
    "Aid Station",
    "Bulletin Board System",
    "Canoe",
    "Yellow Square (TBD)",
    "Green Circle (TBD)",
    "Blue Square (TBD)",
    "Grid Square (6-digit)",
    "Hotel",
    "TCP/IP",
    "Large J (TBD)",
    "School",
    "TBD",
    "MacAPRS\xE2\x84\xA2",
    "NTS Station (Traffic)",
    "Balloon (SSID = 11)",
    "Police",
    "TBD",
    "Recreational Vehicle (RV)",
    "Shuttle",
    "SSTV",
    "Bus (SSID = 2)",
    "ATV",
    "National WX Service Site",
    "Helicopter (SSID = 6)",
    "Sailboat (or Yacht) (SSID = 5)",
    "WinAPRS\xE2\x84\xA2",
    "Jogger",
    "Triangle (DF)",
    "PBBS (Mailbox)",
    "Large Aircraft",
    "Weather Station",
    "Dish Antenna",
    "Ambulance (SSID = 1)",
    "Bicycle (SSID = 4)",
    "TBD",
    "Fire Department",
    "Horse",
    "Fire Truck (SSID = 3)",
    "Glider",
    "Hospital",
    "IOTA (Island On The Air)",
    "Jeep (SSID = 12)",
    "Truck (SSID = 14)",
    "Small Dot (TBD)",
    "Mic-E Capable Repeater",
    "Node",
    "EOC (Emgcy. Ops. Cntr.)",
    "Rover (Moof!)",
    "Grid Square (4-digit)",
    "Antenna (or Tower)",
    "Ship (Powered) (SSID = 8)",
    "Truck Stop",
    "Truck (18-Wheeler)",
    "Van (SSID = 15)",
    "Water Station",
    "xAPRS\xE2\x84\xA2 (Unix)",
    "Home w/ Yagi Antenna",
    "TBD",
    "TBD",
    "Reserved (TNC Stream Char.)",
    "Diamond (TBD)",
    "Reserved (TNC Switch Char.)",
    "Reserved",
}};
constexpr std::array<const char*, 96> kAlternateNames{{
    "Unused",
    "Emergency",
    "TBD",
    "Star w/Overlay",
    "Bank or ATM",
    "TBD",
    "Diamond w/ Overlay",
    "Crash Site",
    "Cloudy",
    "TBD",
    "Snow",
    "Church",
    "Reverse L (or Girl Scouts)",
    "House w/ Vertical Ant.",
    "X (Vicinity Ambiguous Plot)",
    "TBD",
    "Circle w/ Overlay",
    "TBD",
    "TBD",
    "TBD",
    "TBD",
    "TBD",
    "TBD",
    "TBD",
    "TBD",
    "Gas Station",
    "Hail",
    "Park / Picnic Area",
    "Advisory",
    "TBD",
    "Car w/ Overlay",
    "Information Kiosk",
    "Hurricane or Tropical Storm",
    "Box w/ Overlay",
    "Blowing Snow",
    "Coast Guard",
    "Drizzle",
    "Smoke",
    "Freezing Rain",
    "Snow Shower (TBD)",
    "Haze (TBD)",
    "Rain Shower",
    "Lightning",
    "Kenwood (Data Radio)",
    "Lighthouse",
    "TBD",
    "Navigation Buoy",
    "TBD",
    "Parking",
    "Earthquake",
    "Restaurant",
    "Satellite (PacSat)",
    "Thunderstorm",
    "Sunny",
    "VORTAC Navigational Aid",
    "NWS Site w/ Overlay",
    "Pharmacy (Rx)",
    "TBD",
    "TBD",
    "Wall Cloud",
    "TBD",
    "TBD",
    "Aircraft w/ Overlay",
    "WX Site w/ Overlay",
    "Rain",
    "ARRL / ARES",
    "Blowing Dust or Sand",
    "Civil Defense w/ Overlay",
    "DX Spot by Callsign",
    "Sleet",
    "Funnel Cloud",
    "Gale Flags",
    "Ham Store",
    "Indoor Digi w/ Overlay (TBD)",
    "Work Zone",
    "TBD",
    "Area Objects",
    "Value Signpost",
    "Numbered Triangle",
    "Small Circle",
    "Partly Cloudy",
    "TBD",
    "Restrooms",
    "Ship w/ Overlay",
    "Tornado",
    "Truck w/ Overlay",
    "Van w/ Overlay",
    "Flooding",
    "TBD",
    "TBD",
    "TBD",
    "Fog",
    "Reserved (TNC Switch Char.)",
    "TBD",
    "Reserved (TNC Switch Char.)",
    "Reserved",
}};

// An overlay character: white with a black rim, centred, so it reads on any symbol.
QImage PaintOverlay(int index) {
    icons::Canvas c;
    const char ch =
        index < 10 ? static_cast<char>('0' + index) : static_cast<char>('A' + index - 10);
    c.HaloGlyph(ch, 5, 4, icons::kWhite, icons::kInk);
    return c.image();
}

}  // namespace

int IconCount(IconStrip strip) {
    return strip == IconStrip::kOverlay ? 36 : 96;
}

const char* IconFileName(IconStrip strip) {
    switch (strip) {
        case IconStrip::kPrimary:
            return "primary.png";
        case IconStrip::kAlternate:
            return "alternate.png";
        case IconStrip::kOverlay:
            return "overlay.png";
    }
    return "";
}

const char* SymbolName(IconStrip table, int index) {
    if (index < 0 || index >= 96 || table == IconStrip::kOverlay)
        return "";
    return table == IconStrip::kPrimary ? kPrimaryNames[index] : kAlternateNames[index];
}

QImage PaintIcon(IconStrip strip, int index) {
    if (index < 0 || index >= IconCount(strip))
        return QImage();
    icons::Canvas c;
    switch (strip) {
        case IconStrip::kPrimary:
            icons::PaintPrimarySymbol(c, static_cast<char>(index + 32));
            break;
        case IconStrip::kAlternate:
            icons::PaintAlternateSymbol(c, static_cast<char>(index + 32));
            break;
        case IconStrip::kOverlay:
            return PaintOverlay(index);
    }
    return c.image();
}

QImage PaintIconStrip(IconStrip strip) {
    const int count = IconCount(strip);
    QImage out(kIconSize * count, kIconSize, QImage::Format_RGB32);
    out.fill(QColor::fromRgb(kIconKeyColour));
    for (int i = 0; i < count; ++i) {
        const QImage icon = PaintIcon(strip, i);
        for (int y = 0; y < kIconSize; ++y) {
            for (int x = 0; x < kIconSize; ++x) {
                const QRgb p = icon.pixel(x, y);
                if (qAlpha(p) < 128)
                    continue;
                // A drawn pixel must never read back as clear.
                const QRgb solid =
                    (p | 0xFF000000u) == kIconKeyColour ? qRgb(129, 0, 0) : (p | 0xFF000000u);
                out.setPixel(i * kIconSize + x, y, solid);
            }
        }
    }
    return out;
}

}  // namespace plovane
