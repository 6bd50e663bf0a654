// SPDX-License-Identifier: GPL-3.0-or-later
// Symbol names by list position; the code of position n is the character n + 32.
#include "ui/logic/setup_symbol_names.h"

#include <array>

namespace plovane {
namespace {

struct NamePair {
    const char* primary;
    const char* alternate;
};

constexpr std::array<NamePair, kSymbolCount> kNames = {{
    {"Unused", "Unused"},                                            // space
    {"Police", "Emergency"},                                         // !
    {"Rain", "TBD"},                                                 // "
    {"Digipeater", "Star w/Overlay"},                                // #
    {"Phone", "Bank or ATM"},                                        // $
    {"DX Cluster", "TBD"},                                           // %
    {"HF Gateway", "Diamond w/ Overlay"},                            // &
    {"Small Aircraft (SSID = 7)", "Crash Site"},                     // '
    {"Cloudy", "Cloudy"},                                            // (
    {"TBD", "TBD"},                                                  // )
    {"Snow (TBD)", "Snow"},                                          // *
    {"Red Cross", "Church"},                                         // +
    {"Reverse L (or Boy Scouts)", "Reverse L (or Girl Scouts)"},     // ,
    {"House w/ Vertical Ant.", "House w/ Vertical Ant."},            // -
    {"X", "X (Vicinity Ambiguous Plot)"},                            // .
    {"Dot", "TBD"},                                                  // /
    {"Black Numeral Circle", "Circle w/ Overlay"},                   // 0
    {"Brown Numeral Circle", "TBD"},                                 // 1
    {"Red Numeral Circle", "TBD"},                                   // 2
    {"Orange Numeral Circle", "TBD"},                                // 3
    {"Yellow Numeral Circle", "TBD"},                                // 4
    {"Green Numeral Circle", "TBD"},                                 // 5
    {"Blue Numeral Circle", "TBD"},                                  // 6
    {"Violet Numeral Circle", "TBD"},                                // 7
    {"Gray Numeral Circle", "TBD"},                                  // 8
    {"White Numeral Circle", "Gas Station"},                         // 9
    {"Fire", "Hail"},                                                // :
    {"Campground", "Park / Picnic Area"},                            // ;
    {"Motorcycle (SSID = 10)", "Advisory"},                          // <
    {"Railroad Locomotive", "TBD"},                                  // =
    {"Car (SSID = 9)", "Car w/ Overlay"},                            // >
    {"File Server", "Information Kiosk"},                            // ?
    {"Hurricane Future Position", "Hurricane or Tropical Storm"},    // @
    {"Aid Station", "Box w/ Overlay"},                               // A
    {"Bulletin Board System", "Blowing Snow"},                       // B
    {"Canoe", "Coast Guard"},                                        // C
    {"Yellow Square (TBD)", "Drizzle"},                              // D
    {"Green Circle (TBD)", "Smoke"},                                 // E
    {"Blue Square (TBD)", "Freezing Rain"},                          // F
    {"Grid Square (6-digit)", "Snow Shower (TBD)"},                  // G
    {"Hotel", "Haze (TBD)"},                                         // H
    {"TCP/IP", "Rain Shower"},                                       // I
    {"Large J (TBD)", "Lightning"},                                  // J
    {"School", "Kenwood (Data Radio)"},                              // K
    {"TBD", "Lighthouse"},                                           // L
    {"MacAPRS\u2122", "TBD"},                                        // M
    {"NTS Station (Traffic)", "Navigation Buoy"},                    // N
    {"Balloon (SSID = 11)", "TBD"},                                  // O
    {"Police", "Parking"},                                           // P
    {"TBD", "Earthquake"},                                           // Q
    {"Recreational Vehicle (RV)", "Restaurant"},                     // R
    {"Shuttle", "Satellite (PacSat)"},                               // S
    {"SSTV", "Thunderstorm"},                                        // T
    {"Bus (SSID = 2)", "Sunny"},                                     // U
    {"ATV", "VORTAC Navigational Aid"},                              // V
    {"National WX Service Site", "NWS Site w/ Overlay"},             // W
    {"Helicopter (SSID = 6)", "Pharmacy (Rx)"},                      // X
    {"Sailboat (or Yacht) (SSID = 5)", "TBD"},                       // Y
    {"WinAPRS\u2122", "TBD"},                                        // Z
    {"Jogger", "Wall Cloud"},                                        // [
    {"Triangle (DF)", "TBD"},                                        // backslash
    {"PBBS (Mailbox)", "TBD"},                                       // ]
    {"Large Aircraft", "Aircraft w/ Overlay"},                       // ^
    {"Weather Station", "WX Site w/ Overlay"},                       // _
    {"Dish Antenna", "Rain"},                                        // `
    {"Ambulance (SSID = 1)", "ARRL / ARES"},                         // a
    {"Bicycle (SSID = 4)", "Blowing Dust or Sand"},                  // b
    {"TBD", "Civil Defense w/ Overlay"},                             // c
    {"Fire Department", "DX Spot by Callsign"},                      // d
    {"Horse", "Sleet"},                                              // e
    {"Fire Truck (SSID = 3)", "Funnel Cloud"},                       // f
    {"Glider", "Gale Flags"},                                        // g
    {"Hospital", "Ham Store"},                                       // h
    {"IOTA (Island On The Air)", "Indoor Digi w/ Overlay (TBD)"},    // i
    {"Jeep (SSID = 12)", "Work Zone"},                               // j
    {"Truck (SSID = 14)", "TBD"},                                    // k
    {"Small Dot (TBD)", "Area Objects"},                             // l
    {"Mic-E Capable Repeater", "Value Signpost"},                    // m
    {"Node", "Numbered Triangle"},                                   // n
    {"EOC (Emgcy. Ops. Cntr.)", "Small Circle"},                     // o
    {"Rover (Moof!)", "Partly Cloudy"},                              // p
    {"Grid Square (4-digit)", "TBD"},                                // q
    {"Antenna (or Tower)", "Restrooms"},                             // r
    {"Ship (Powered) (SSID = 8)", "Ship w/ Overlay"},                // s
    {"Truck Stop", "Tornado"},                                       // t
    {"Truck (18-Wheeler)", "Truck w/ Overlay"},                      // u
    {"Van (SSID = 15)", "Van w/ Overlay"},                           // v
    {"Water Station", "Flooding"},                                   // w
    {"xAPRS\u2122 (Unix)", "TBD"},                                   // x
    {"Home w/ Yagi Antenna", "TBD"},                                 // y
    {"TBD", "TBD"},                                                  // z
    {"TBD", "Fog"},                                                  // {
    {"Reserved (TNC Stream Char.)", "Reserved (TNC Switch Char.)"},  // |
    {"Diamond (TBD)", "TBD"},                                        // }
    {"Reserved (TNC Switch Char.)", "Reserved (TNC Switch Char.)"},  // ~
    {"Reserved", "Reserved"},                                        // (no code)
}};

}  // namespace

const char* SymbolName(SymbolTable table, int n) {
    if (n < 0 || n >= kSymbolCount)
        return "";
    const NamePair& pair = kNames[static_cast<size_t>(n)];
    return table == SymbolTable::kPrimary ? pair.primary : pair.alternate;
}

std::string SymbolEntryText(SymbolTable table, int n) {
    if (n < 0 || n >= kSymbolCount)
        return {};
    const std::string name = SymbolName(table, n);
    if (n == 0)
        return " (Space) - " + name;
    if (n == kSymbolCount - 1)
        return name;
    return std::string(1, static_cast<char>(n + 32)) + " - " + name;
}

}  // namespace plovane
