// SPDX-License-Identifier: GPL-3.0-or-later
// Pictograms of the alternate symbol table ("\" and the overlay tables). Symbols that take
// an overlay character keep a plain middle so the character reads.
#include <cmath>

#include "maps/render/icon_symbols.h"

namespace plovane::icons {

namespace {

void Emergency(Canvas& c) {
    c.Poly({{7, 0}, {8, 0}, {15, 14}, {0, 14}}, kRed, kInk);
    c.Box(7, 4, 2, 6, kWhite);
    c.Box(7, 11, 2, 2, kWhite);
}

void Bank(Canvas& c) {
    // A bank note.
    c.Box(0, 3, 16, 10, kWhite, kDarkGreen);
    c.Box(1, 4, 14, 8, QColor(200, 240, 200));
    c.Glyph('$', 5, 4, kDarkGreen);
}

void CrashSite(Canvas& c) {
    DrawAircraft(c, false, kGrey);
    c.Line(2, 2, 13, 13, kRed, 2);
    c.Line(2, 13, 13, 2, kRed, 2);
}

void Church(Canvas& c) {
    c.Box(3, 7, 10, 9, kWhite, kInk);
    c.Poly({{2, 7}, {7, 3}, {8, 3}, {13, 7}}, kGrey, kInk);
    c.Box(7, 0, 2, 6, kInk);
    c.Box(5, 1, 6, 2, kInk);
    c.Box(7, 11, 2, 5, kBrown);
}

void Hail(Canvas& c) {
    DrawCloud(c, 0, kCloud);
    for (int x : {2, 7, 12}) {
        c.Disc(x + 0.5, 12.5, 1.5, kWhite, kBlue);
    }
}

void Park(Canvas& c) {
    c.Disc(7.5, 5.5, 5.5, kGreen, kDarkGreen);
    c.Box(7, 10, 2, 5, kBrown);
    c.Line(2, 15, 13, 15, kDarkGreen);
}

void Advisory(Canvas& c) {
    c.Line(2, 0, 2, 15, kInk);
    c.Poly({{3, 1}, {14, 1}, {11, 4}, {14, 7}, {3, 7}}, kOrange, kInk);
}

void Kiosk(Canvas& c) {
    c.Box(1, 1, 14, 14, kBlue, kInk);
    c.Box(7, 3, 2, 2, kWhite);
    c.Box(7, 6, 2, 7, kWhite);
    c.Box(6, 6, 1, 1, kWhite);
    c.Box(6, 12, 4, 1, kWhite);
}

void BlowingSnow(Canvas& c) {
    DrawSnowflake(c, 5, 5, 4, kBlue);
    c.Line(1, 11, 14, 11, kGrey);
    c.Line(3, 13, 15, 13, kGrey);
    c.Outline(kWhite);
}

void CoastGuard(Canvas& c) {
    c.Disc(7.5, 7.5, 7.0, kWhite, kInk);
    c.Line(2, 13, 13, 2, kOrange, 3);
    c.Small("CG", 6, kNavy);
}

void Drizzle(Canvas& c) {
    DrawCloud(c, 0, kCloud);
    for (int x : {3, 7, 11})
        c.Px(x, 12, kBlue);
    for (int x : {5, 9})
        c.Px(x, 14, kBlue);
}

void Smoke(Canvas& c) {
    c.Disc(5.5, 11.5, 3.5, kGrey);
    c.Disc(9.5, 7.5, 3.5, kLightGrey);
    c.Disc(6.5, 3.5, 2.5, kLightGrey);
    c.Outline(kInk);
}

void FreezingRain(Canvas& c) {
    DrawCloud(c, 0, kCloud);
    DrawRainDrops(c, kBlue);
    c.Px(7, 15, kSky);
    c.Px(3, 15, kSky);
    c.Px(11, 15, kSky);
}

void SnowShower(Canvas& c) {
    DrawCloud(c, -1, kCloud);
    DrawSnowflake(c, 4, 12, 2, kBlue);
    DrawSnowflake(c, 11, 12, 2, kBlue);
}

void Haze(Canvas& c) {
    for (int y = 3; y <= 12; y += 3)
        c.Line(1 + (y % 2), y, 14 - (y % 2), y, kGrey, 2);
}

void RainShower(Canvas& c) {
    DrawSun(c, 11, 4, 2);
    DrawCloud(c, 1, kCloud);
    DrawRainDrops(c, kBlue);
}

void Thunderstorm(Canvas& c) {
    DrawCloud(c, -1, kGrey);
    DrawBolt(c, 1, 7);
}

void Kenwood(Canvas& c) {
    c.Box(1, 3, 14, 10, kInk);
    c.Box(3, 5, 6, 4, kSky);
    c.Glyph('K', 9, 4, kWhite);
    c.Line(13, 0, 13, 3, kInk);
}

void Lighthouse(Canvas& c) {
    c.Poly({{5, 4}, {10, 4}, {11, 15}, {4, 15}}, kWhite, kInk);
    c.Box(5, 7, 6, 2, kRed);
    c.Box(4, 11, 8, 2, kRed);
    c.Box(5, 1, 6, 3, kYellow, kInk);
    c.Line(0, 1, 3, 2, kYellow);
    c.Line(15, 1, 12, 2, kYellow);
}

void Buoy(Canvas& c) {
    c.Poly({{7, 1}, {11, 11}, {4, 11}}, kRed, kInk);
    c.Box(5, 6, 6, 2, kWhite);
    c.Box(3, 11, 10, 2, kInk);
    c.Line(0, 14, 15, 14, kBlue);
}

void Parking(Canvas& c) {
    c.Box(1, 1, 14, 14, kBlue, kInk);
    c.Glyph('P', kWhite);
}

void Earthquake(Canvas& c) {
    c.Line(0, 8, 3, 8, kBrown, 2);
    c.Line(3, 8, 5, 2, kBrown, 2);
    c.Line(5, 2, 8, 14, kBrown, 2);
    c.Line(8, 14, 11, 4, kBrown, 2);
    c.Line(11, 4, 13, 8, kBrown, 2);
    c.Line(13, 8, 15, 8, kBrown, 2);
}

void Restaurant(Canvas& c) {
    c.Disc(7.5, 7.5, 7.0, kWhite, kInk);
    c.Line(5, 3, 5, 12, kInk);
    c.Line(4, 3, 4, 6, kInk);
    c.Line(6, 3, 6, 6, kInk);
    c.Line(10, 3, 10, 12, kInk);
    c.Box(10, 3, 2, 4, kInk);
}

void Satellite(Canvas& c) {
    c.Box(6, 5, 4, 6, kYellow, kInk);
    c.Box(0, 6, 5, 4, kBlue, kInk);
    c.Box(11, 6, 5, 4, kBlue, kInk);
    c.Line(8, 1, 8, 4, kInk);
    c.Line(6, 1, 10, 1, kInk);
}

void Vortac(Canvas& c) {
    c.Poly({{4, 1}, {11, 1}, {15, 7}, {11, 14}, {4, 14}, {0, 7}}, kWhite, kNavy);
    c.Disc(7.5, 7.5, 2.0, kNavy);
}

void Pharmacy(Canvas& c) {
    c.Box(1, 1, 14, 14, kWhite, kGreen);
    c.Glyph('R', 2, 3, kGreen);
    c.Line(7, 9, 12, 14, kGreen);
    c.Line(12, 9, 8, 13, kGreen);
}

void WallCloud(Canvas& c) {
    DrawCloud(c, -2, kGrey);
    c.Box(4, 9, 8, 4, kGrey);
    c.Outline(kInk);
}

void Ares(Canvas& c) {
    c.Poly({{7, 0}, {15, 7}, {7, 15}, {0, 7}}, kWhite, kRed);
    c.Small("ARES", 1, 6, kRed);
}

void BlowingDust(Canvas& c) {
    for (int y : {4, 8, 12}) {
        c.Line(1, y, 5, y - 1, kBrown);
        c.Line(5, y - 1, 9, y, kBrown);
        c.Line(9, y, 14, y - 1, kBrown);
    }
    c.Outline(kTan);
}

void CivilDefense(Canvas& c) {
    c.Disc(7.5, 7.5, 7.0, kBlue, kInk);
    c.Poly({{7, 2}, {8, 2}, {13, 12}, {2, 12}}, kWhite, kWhite);
}

void Sleet(Canvas& c) {
    DrawCloud(c, 0, kCloud);
    c.Line(4, 11, 3, 14, kBlue);
    c.Disc(8.5, 13.0, 1.5, kWhite, kBlue);
    c.Line(13, 11, 12, 14, kBlue);
}

void GaleFlags(Canvas& c) {
    c.Line(3, 0, 3, 15, kInk);
    c.Poly({{4, 1}, {13, 3}, {4, 5}}, kRed, kInk);
    c.Poly({{4, 6}, {13, 8}, {4, 10}}, kRed, kInk);
}

void HamStore(Canvas& c) {
    c.Box(0, 5, 16, 11, kWhite, kInk);
    c.Poly({{0, 5}, {2, 1}, {13, 1}, {15, 5}}, kRed, kInk);
    c.Small("HAM", 8, kRed);
}

void IndoorDigi(Canvas& c) {
    c.Box(1, 5, 14, 11, kWhite, kInk);
    c.Poly({{0, 5}, {7, 0}, {8, 0}, {15, 5}}, kGreen, kInk);
}

void WorkZone(Canvas& c) {
    c.Poly({{7, 1}, {8, 1}, {12, 13}, {3, 13}}, kOrange, kInk);
    c.Box(5, 5, 6, 2, kWhite);
    c.Box(4, 9, 8, 2, kWhite);
    c.Box(1, 13, 14, 2, kInk);
}

void AreaObjects(Canvas& c) {
    for (int i = 1; i <= 14; i += 2) {
        c.Px(i, 1, kInk);
        c.Px(i, 14, kInk);
        c.Px(1, i, kInk);
        c.Px(14, i, kInk);
    }
    c.Disc(7.5, 7.5, 2.5, kGreen, kInk);
}

void Signpost(Canvas& c) {
    c.Box(7, 7, 2, 9, kBrown);
    c.Box(0, 1, 16, 7, kGreen, kInk);
    c.Small("$", 6, 2, kWhite);
    c.Line(3, 4, 12, 4, kWhite);
}

void PartlyCloudy(Canvas& c) {
    DrawSun(c, 5, 5, 3);
    DrawCloud(c, 4, kCloud);
}

void Restrooms(Canvas& c) {
    c.Box(0, 2, 16, 12, kBlue, kInk);
    c.Small("WC", 6, kWhite);
}

void Flooding(Canvas& c) {
    DrawHouse(c, Antenna::kNone, kRed);
    c.Box(0, 11, 16, 5, kBlue);
    c.Line(0, 11, 15, 11, kSky);
}

void Fog(Canvas& c) {
    for (int y = 2; y <= 14; y += 3)
        c.Line(0, y, 15, y, kLightGrey, 2);
    c.Outline(kGrey);
}

// Symbols shaped for an overlay character in their middle.
void OverlayStar(Canvas& c) {
    DrawStar(c, kGreen);
}

void OverlayDiamond(Canvas& c) {
    DrawDiamond(c, kRed);
}

void OverlayCircle(Canvas& c) {
    c.Disc(7.5, 7.5, 7.0, kGreen, kInk);
}

void OverlayBox(Canvas& c) {
    c.Box(1, 1, 14, 14, kOrange, kInk);
}

void OverlayTriangle(Canvas& c) {
    c.Poly({{7, 0}, {8, 0}, {15, 14}, {0, 14}}, kYellow, kInk);
}

}  // namespace

const SymbolTable kAlternateSymbols{{
    {"Unused", [](Canvas& c, char) { c.Disc(7.5, 7.5, 2.0, kGrey, kInk); }},  // ' '
    {"Emergency", [](Canvas& c, char) { Emergency(c); }},                     // '!'
    {"TBD", PaintPlainSymbol},                                                // '"'
    {"Star w/Overlay", [](Canvas& c, char) { OverlayStar(c); }},              // '#'
    {"Bank or ATM", [](Canvas& c, char) { Bank(c); }},                        // '$'
    {"TBD", PaintPlainSymbol},                                                // '%'
    {"Diamond w/ Overlay", [](Canvas& c, char) { OverlayDiamond(c); }},       // '&'
    {"Crash Site", [](Canvas& c, char) { CrashSite(c); }},                    // '\''
    {"Cloudy", [](Canvas& c, char) { DrawCloud(c, 2, kCloud); }},             // '('
    {"TBD", PaintPlainSymbol},                                                // ')'
    {"Snow",                                                                  // '*'
     [](Canvas& c, char) {
         DrawSnowflake(c, 7, 7, 6, kBlue);
         c.Outline(kWhite);
     }},
    {"Church", [](Canvas& c, char) { Church(c); }},  // '+'
    {"Reverse L (or Girl Scouts)",                   // ','
     [](Canvas& c, char) {
         c.Box(10, 1, 4, 14, kGreen, kInk);
         c.Box(2, 11, 12, 4, kGreen, kInk);
         c.Box(11, 11, 2, 3, kGreen);
     }},
    {"House w/ Vertical Ant.",
     [](Canvas& c, char) { DrawHouse(c, Antenna::kVertical, kBlue); }},  // '-'
    {"X (Vicinity Ambiguous Plot)",                                      // '.'
     [](Canvas& c, char) {
         c.Line(3, 3, 12, 12, kGrey, 2);
         c.Line(3, 12, 12, 3, kGrey, 2);
     }},
    {"TBD", PaintPlainSymbol},                                                             // '/'
    {"Circle w/ Overlay", [](Canvas& c, char) { OverlayCircle(c); }},                      // '0'
    {"TBD", PaintPlainSymbol},                                                             // '1'
    {"TBD", PaintPlainSymbol},                                                             // '2'
    {"TBD", PaintPlainSymbol},                                                             // '3'
    {"TBD", PaintPlainSymbol},                                                             // '4'
    {"TBD", PaintPlainSymbol},                                                             // '5'
    {"TBD", PaintPlainSymbol},                                                             // '6'
    {"TBD", PaintPlainSymbol},                                                             // '7'
    {"TBD", PaintPlainSymbol},                                                             // '8'
    {"Gas Station", [](Canvas& c, char) { DrawFuelPump(c, kRed); }},                       // '9'
    {"Hail", [](Canvas& c, char) { Hail(c); }},                                            // ':'
    {"Park / Picnic Area", [](Canvas& c, char) { Park(c); }},                              // ';'
    {"Advisory", [](Canvas& c, char) { Advisory(c); }},                                    // '<'
    {"TBD", PaintPlainSymbol},                                                             // '='
    {"Car w/ Overlay", [](Canvas& c, char) { DrawVehicle(c, Vehicle::kCar, kBlue); }},     // '>'
    {"Information Kiosk", [](Canvas& c, char) { Kiosk(c); }},                              // '?'
    {"Hurricane or Tropical Storm", [](Canvas& c, char) { DrawHurricane(c, kViolet); }},   // '@'
    {"Box w/ Overlay", [](Canvas& c, char) { OverlayBox(c); }},                            // 'A'
    {"Blowing Snow", [](Canvas& c, char) { BlowingSnow(c); }},                             // 'B'
    {"Coast Guard", [](Canvas& c, char) { CoastGuard(c); }},                               // 'C'
    {"Drizzle", [](Canvas& c, char) { Drizzle(c); }},                                      // 'D'
    {"Smoke", [](Canvas& c, char) { Smoke(c); }},                                          // 'E'
    {"Freezing Rain", [](Canvas& c, char) { FreezingRain(c); }},                           // 'F'
    {"Snow Shower (TBD)", [](Canvas& c, char) { SnowShower(c); }},                         // 'G'
    {"Haze (TBD)", [](Canvas& c, char) { Haze(c); }},                                      // 'H'
    {"Rain Shower", [](Canvas& c, char) { RainShower(c); }},                               // 'I'
    {"Lightning", [](Canvas& c, char) { DrawBolt(c, 0, 3); }},                             // 'J'
    {"Kenwood (Data Radio)", [](Canvas& c, char) { Kenwood(c); }},                         // 'K'
    {"Lighthouse", [](Canvas& c, char) { Lighthouse(c); }},                                // 'L'
    {"TBD", PaintPlainSymbol},                                                             // 'M'
    {"Navigation Buoy", [](Canvas& c, char) { Buoy(c); }},                                 // 'N'
    {"TBD", PaintPlainSymbol},                                                             // 'O'
    {"Parking", [](Canvas& c, char) { Parking(c); }},                                      // 'P'
    {"Earthquake", [](Canvas& c, char) { Earthquake(c); }},                                // 'Q'
    {"Restaurant", [](Canvas& c, char) { Restaurant(c); }},                                // 'R'
    {"Satellite (PacSat)", [](Canvas& c, char) { Satellite(c); }},                         // 'S'
    {"Thunderstorm", [](Canvas& c, char) { Thunderstorm(c); }},                            // 'T'
    {"Sunny", [](Canvas& c, char) { DrawSun(c, 7, 7, 4); }},                               // 'U'
    {"VORTAC Navigational Aid", [](Canvas& c, char) { Vortac(c); }},                       // 'V'
    {"NWS Site w/ Overlay", [](Canvas& c, char) { c.Disc(7.5, 7.5, 7.0, kBlue, kInk); }},  // 'W'
    {"Pharmacy (Rx)", [](Canvas& c, char) { Pharmacy(c); }},                               // 'X'
    {"TBD", PaintPlainSymbol},                                                             // 'Y'
    {"TBD", PaintPlainSymbol},                                                             // 'Z'
    {"Wall Cloud", [](Canvas& c, char) { WallCloud(c); }},                                 // '['
    {"TBD", PaintPlainSymbol},                                                             // '\\'
    {"TBD", PaintPlainSymbol},                                                             // ']'
    {"Aircraft w/ Overlay", [](Canvas& c, char) { DrawAircraft(c, true, kGrey); }},        // '^'
    {"WX Site w/ Overlay", [](Canvas& c, char) { c.Disc(7.5, 7.5, 7.0, kSky, kBlue); }},   // '_'
    {"Rain",                                                                               // '`'
     [](Canvas& c, char) {
         DrawCloud(c, 0, kCloud);
         DrawRainDrops(c, kBlue);
     }},
    {"ARRL / ARES", [](Canvas& c, char) { Ares(c); }},                                       // 'a'
    {"Blowing Dust or Sand", [](Canvas& c, char) { BlowingDust(c); }},                       // 'b'
    {"Civil Defense w/ Overlay", [](Canvas& c, char) { CivilDefense(c); }},                  // 'c'
    {"DX Spot by Callsign", [](Canvas& c, char) { DrawTextPlate(c, "DX", kWhite, kRed); }},  // 'd'
    {"Sleet", [](Canvas& c, char) { Sleet(c); }},                                            // 'e'
    {"Funnel Cloud", [](Canvas& c, char) { DrawFunnel(c, kGrey); }},                         // 'f'
    {"Gale Flags", [](Canvas& c, char) { GaleFlags(c); }},                                   // 'g'
    {"Ham Store", [](Canvas& c, char) { HamStore(c); }},                                     // 'h'
    {"Indoor Digi w/ Overlay (TBD)", [](Canvas& c, char) { IndoorDigi(c); }},                // 'i'
    {"Work Zone", [](Canvas& c, char) { WorkZone(c); }},                                     // 'j'
    {"TBD", PaintPlainSymbol},                                                               // 'k'
    {"Area Objects", [](Canvas& c, char) { AreaObjects(c); }},                               // 'l'
    {"Value Signpost", [](Canvas& c, char) { Signpost(c); }},                                // 'm'
    {"Numbered Triangle", [](Canvas& c, char) { OverlayTriangle(c); }},                      // 'n'
    {"Small Circle",                                                                         // 'o'
     [](Canvas& c, char) {
         c.Ring(7.5, 7.5, 4.0, kInk);
         c.Ring(7.5, 7.5, 3.0, kRed);
     }},
    {"Partly Cloudy", [](Canvas& c, char) { PartlyCloudy(c); }},                              // 'p'
    {"TBD", PaintPlainSymbol},                                                                // 'q'
    {"Restrooms", [](Canvas& c, char) { Restrooms(c); }},                                     // 'r'
    {"Ship w/ Overlay", [](Canvas& c, char) { DrawShip(c, kGrey); }},                         // 's'
    {"Tornado", [](Canvas& c, char) { DrawFunnel(c, kInk); }},                                // 't'
    {"Truck w/ Overlay", [](Canvas& c, char) { DrawVehicle(c, Vehicle::kTruck, kOrange); }},  // 'u'
    {"Van w/ Overlay", [](Canvas& c, char) { DrawVehicle(c, Vehicle::kVan, kOrange); }},      // 'v'
    {"Flooding", [](Canvas& c, char) { Flooding(c); }},                                       // 'w'
    {"TBD", PaintPlainSymbol},                                                                // 'x'
    {"TBD", PaintPlainSymbol},                                                                // 'y'
    {"TBD", PaintPlainSymbol},                                                                // 'z'
    {"Fog", [](Canvas& c, char) { Fog(c); }},                                                 // '{'
    {"Reserved (TNC Switch Char.)", PaintPlainSymbol},                                        // '|'
    {"TBD", PaintPlainSymbol},                                                                // '}'
    {"Reserved (TNC Switch Char.)", PaintPlainSymbol},                                        // '~'
    {"Reserved", PaintPlainSymbol},                                                           // ''
}};

}  // namespace plovane::icons
