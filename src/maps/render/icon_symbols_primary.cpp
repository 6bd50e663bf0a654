// SPDX-License-Identifier: GPL-3.0-or-later
// Pictograms of the primary symbol table ("/").
#include <cmath>

#include "maps/render/icon_symbols.h"

namespace plovane::icons {

namespace {

// The numeral circles '0'..'9': black, brown, red, orange, yellow, green, blue, violet,
// grey, white.
void NumeralCircle(Canvas& c, char code) {
    const int digit = code - '0';
    const QColor kFill[10] = {kInk,   kBrown, kRed,    kOrange, kYellow,
                              kGreen, kBlue,  kViolet, kGrey,   kWhite};
    const bool light = digit == 4 || digit == 9 || digit == 3;
    c.Disc(7.5, 7.5, 7.0, kFill[digit], digit == 0 ? kGrey : kInk);
    c.Glyph(static_cast<char>('0' + digit), light ? kInk : kWhite);
}

void Person(Canvas& c, const QColor& colour) {
    c.Disc(8.5, 2.0, 1.6, colour);
    c.Line(8, 4, 7, 9, colour, 2);
    c.Line(7, 9, 4, 14, colour);
    c.Line(7, 9, 10, 12, colour);
    c.Line(10, 12, 10, 15, colour);
    c.Line(8, 5, 4, 7, colour);
    c.Line(8, 5, 12, 7, colour);
    c.Outline(kWhite);
}

void Bicycle(Canvas& c) {
    c.Ring(3.5, 10.5, 3.0, kInk);
    c.Ring(12.5, 10.5, 3.0, kInk);
    c.Line(3, 10, 6, 5, kBlue);
    c.Line(6, 5, 10, 5, kBlue);
    c.Line(10, 5, 12, 10, kBlue);
    c.Line(3, 10, 8, 10, kBlue);
    c.Line(8, 10, 6, 5, kBlue);
    c.Line(5, 3, 7, 3, kInk);
    c.Line(10, 5, 10, 3, kInk);
    c.Line(9, 3, 11, 3, kInk);
}

void Motorcycle(Canvas& c) {
    c.Disc(3.5, 11.5, 3.0, kInk);
    c.Disc(12.5, 11.5, 3.0, kInk);
    c.Disc(3.5, 11.5, 1.2, kLightGrey);
    c.Disc(12.5, 11.5, 1.2, kLightGrey);
    c.Poly({{4, 7}, {10, 6}, {12, 9}, {6, 10}}, kRed, kInk);
    c.Line(11, 6, 12, 3, kInk);
    c.Line(11, 3, 14, 3, kInk);
    c.Box(4, 5, 4, 2, kInk);
}

void Helicopter(Canvas& c) {
    c.Line(1, 1, 14, 1, kInk);
    c.Line(7, 1, 7, 4, kInk);
    c.Disc(6.5, 8.0, 4.0, kBlue, kInk);
    c.Poly({{6, 6}, {9, 6}, {9, 8}, {6, 8}}, kSky);
    c.Line(10, 8, 15, 6, kInk, 2);
    c.Line(15, 4, 15, 8, kInk);
    c.Line(3, 13, 11, 13, kInk);
    c.Line(5, 12, 5, 13, kInk);
    c.Line(9, 12, 9, 13, kInk);
}

void Balloon(Canvas& c) {
    c.Disc(7.5, 5.5, 5.5, kRed, kDarkRed);
    c.Poly({{4, 9}, {11, 9}, {8, 12}, {7, 12}}, kRed, kDarkRed);
    c.Px(5, 3, kWhite);
    c.Px(6, 2, kWhite);
    c.Line(7, 12, 7, 13, kInk);
    c.Box(6, 13, 3, 3, kBrown);
}

void Glider(Canvas& c) {
    c.Line(0, 6, 15, 6, kInk);
    c.Line(1, 7, 14, 7, kWhite);
    c.Line(7, 2, 7, 13, kInk);
    c.Line(5, 13, 9, 13, kInk);
    c.Px(7, 1, kInk);
    c.Outline(kGrey);
}

void Shuttle(Canvas& c) {
    c.Poly({{7, 0}, {9, 3}, {9, 9}, {14, 14}, {1, 14}, {6, 9}, {6, 3}}, kWhite, kInk);
    c.Box(7, 4, 2, 3, kInk);
    c.Line(6, 15, 9, 15, kOrange);
}

void Telephone(Canvas& c) {
    // A desk telephone: handset over a body with a dial.
    c.Poly({{1, 3}, {14, 3}, {14, 6}, {11, 6}, {10, 4}, {5, 4}, {4, 6}, {1, 6}}, kInk);
    c.Poly({{4, 7}, {11, 7}, {14, 14}, {1, 14}}, kInk);
    c.Ring(7.5, 11.0, 2.2, kWhite);
}

void Tent(Canvas& c) {
    c.Poly({{7, 2}, {14, 13}, {1, 13}}, kOrange, kInk);
    c.Poly({{7, 7}, {10, 13}, {5, 13}}, kBrown);
    c.Line(7, 0, 7, 2, kInk);
    c.Line(0, 14, 15, 14, kDarkGreen);
}

void Locomotive(Canvas& c) {
    c.Box(1, 5, 9, 6, kDarkGreen, kInk);
    c.Box(9, 2, 6, 9, kDarkGreen, kInk);
    c.Box(11, 4, 2, 2, kSky);
    c.Box(3, 2, 2, 3, kInk);
    c.Poly({{0, 10}, {1, 8}, {1, 11}}, kInk);
    DrawWheel(c, 4, 12);
    DrawWheel(c, 8, 12);
    DrawWheel(c, 12, 12);
}

void Canoe(Canvas& c) {
    c.Poly({{0, 8}, {15, 8}, {12, 11}, {3, 11}}, kBrown, kInk);
    c.Line(5, 2, 10, 12, kInk);
    c.Box(9, 11, 2, 3, kInk);
    c.Line(0, 13, 15, 13, kBlue);
}

void Dish(Canvas& c) {
    c.Poly({{2, 3}, {11, 12}, {8, 13}, {4, 12}, {2, 9}, {1, 6}}, kWhite, kInk);
    c.Line(6, 8, 10, 4, kInk);
    c.Disc(10.5, 4.5, 1.2, kRed);
    c.Line(7, 12, 5, 15, kInk);
    c.Line(2, 15, 9, 15, kInk);
}

void Tower(Canvas& c) {
    c.Line(7, 1, 3, 15, kRed);
    c.Line(8, 1, 12, 15, kRed);
    for (int y = 4; y <= 14; y += 3)
        c.Line(3 + (15 - y) / 4, y, 12 - (15 - y) / 4, y, kRed);
    c.Line(4, 13, 11, 7, kRed);
    c.Line(5, 7, 10, 13, kRed);
    c.Disc(7.5, 1.0, 1.0, kRed);
    c.Outline(kWhite);
}

void Horse(Canvas& c) {
    c.Poly({{3, 5}, {10, 5}, {12, 2}, {15, 4}, {13, 5}, {12, 8}, {11, 9}, {3, 9}, {1, 7}}, kBrown,
           kInk);
    c.Line(4, 9, 3, 14, kInk);
    c.Line(6, 9, 6, 14, kInk);
    c.Line(9, 9, 9, 14, kInk);
    c.Line(11, 9, 12, 14, kInk);
    c.Line(0, 6, 0, 10, kInk);
}

void Dog(Canvas& c) {
    c.Disc(7.5, 8.5, 5.5, kTan, kInk);
    c.Poly({{2, 2}, {5, 4}, {3, 8}, {1, 6}}, kBrown, kInk);
    c.Poly({{13, 2}, {14, 6}, {12, 8}, {10, 4}}, kBrown, kInk);
    c.Px(5, 8, kInk);
    c.Px(10, 8, kInk);
    c.Box(7, 10, 2, 2, kInk);
    c.Line(6, 13, 9, 13, kDarkRed);
}

void Island(Canvas& c) {
    c.Box(0, 11, 16, 5, kBlue);
    c.Disc(7.5, 13.0, 5.0, kYellow);
    c.Box(0, 14, 16, 2, kBlue);
    c.Line(8, 12, 7, 5, kBrown, 2);
    c.Poly({{7, 4}, {12, 3}, {14, 6}, {9, 5}}, kGreen, kDarkGreen);
    c.Poly({{7, 4}, {2, 3}, {1, 6}, {6, 5}}, kGreen, kDarkGreen);
    c.Poly({{7, 4}, {9, 1}, {10, 2}}, kGreen, kDarkGreen);
}

void Grid(Canvas& c, int cells) {
    c.Box(1, 1, 14, 14, kWhite, kInk);
    const int step = 13 / cells;
    for (int i = 1; i < cells; ++i) {
        c.Line(1 + i * step, 1, 1 + i * step, 14, kInk);
        c.Line(1, 1 + i * step, 14, 1 + i * step, kInk);
    }
}

void Mailbox(Canvas& c) {
    c.Poly({{2, 4}, {11, 4}, {13, 6}, {13, 10}, {2, 10}}, kBlue, kInk);
    c.Disc(4.5, 7.0, 3.0, kBlue, kInk);
    c.Line(10, 1, 10, 4, kInk);
    c.Box(11, 1, 3, 2, kRed);
    c.Box(7, 10, 2, 6, kBrown);
}

void Server(Canvas& c) {
    c.Box(3, 0, 10, 16, kLightGrey, kInk);
    for (int y = 2; y <= 10; y += 4) {
        c.Box(5, y, 6, 2, kGrey);
        c.Px(11, y, kGreen);
    }
    c.Box(5, 13, 6, 1, kInk);
}

void Computer(Canvas& c, std::string_view word) {
    c.Box(1, 1, 14, 10, kLightGrey, kInk);
    c.Box(3, 3, 10, 6, kNavy);
    c.Small(word, 4, kWhite);
    c.Box(4, 12, 8, 2, kGrey, kInk);
}

void RedCross(Canvas& c) {
    c.Box(0, 0, 16, 16, kWhite, kInk);
    c.Box(6, 2, 4, 12, kRed);
    c.Box(2, 6, 12, 4, kRed);
}

void Hospital(Canvas& c) {
    c.Box(0, 0, 16, 16, kBlue, kInk);
    c.Glyph('H', kWhite);
}

void TvSet(Canvas& c, std::string_view word) {
    c.Box(0, 3, 16, 11, kGrey, kInk);
    c.Box(2, 5, 12, 7, kSky);
    c.Small(word, 6, kNavy);
    c.Line(5, 0, 7, 3, kInk);
    c.Line(10, 0, 8, 3, kInk);
}

void WaterDrop(Canvas& c) {
    c.Poly({{7, 0}, {12, 8}, {12, 11}, {10, 14}, {5, 14}, {3, 11}, {3, 8}}, kSky, kBlue);
    c.Disc(7.5, 10.5, 4.3, kSky, kBlue);
    c.Box(5, 8, 1, 3, kWhite);
}

void SchoolHouse(Canvas& c) {
    c.Box(2, 7, 12, 8, kRed, kInk);
    c.Poly({{1, 7}, {7, 3}, {8, 3}, {14, 7}}, kBrown, kInk);
    c.Line(7, 0, 7, 3, kInk);
    c.Box(8, 0, 3, 2, kYellow);
    c.Box(6, 11, 3, 4, kWhite);
    c.Box(3, 9, 2, 2, kSky);
    c.Box(10, 9, 2, 2, kSky);
}

void FireStation(Canvas& c) {
    c.Box(1, 4, 14, 11, kRed, kInk);
    c.Poly({{0, 4}, {7, 0}, {8, 0}, {15, 4}}, kDarkRed, kInk);
    c.Box(3, 8, 10, 7, kWhite, kInk);
    c.Line(3, 10, 12, 10, kGrey);
    c.Line(3, 12, 12, 12, kGrey);
    c.Small("FD", 4, kWhite);
}

void Hotel(Canvas& c) {
    c.Box(2, 1, 12, 15, kBrown, kInk);
    for (int y = 3; y <= 9; y += 3) {
        for (int x = 4; x <= 10; x += 3)
            c.Box(x, y, 2, 2, kYellow);
    }
    c.Box(7, 12, 2, 4, kInk);
}

void Repeater(Canvas& c) {
    // A mast sending, and the "M" of a Mic-E repeater.
    c.Line(3, 4, 3, 15, kInk);
    c.Line(1, 15, 5, 15, kInk);
    c.Disc(3.5, 3.5, 1.5, kRed);
    c.Arc(3.0, 3.5, 3.5, -60, 120, kBlue);
    c.Box(6, 5, 10, 10, kGreen, kInk);
    c.Glyph('M', 8, 6, kWhite);
}

void Node(Canvas& c) {
    c.Line(3, 3, 12, 12, kInk);
    c.Line(12, 3, 3, 12, kInk);
    c.Line(3, 3, 12, 3, kInk);
    c.Disc(3.5, 3.5, 2.5, kGreen, kInk);
    c.Disc(12.5, 3.5, 2.5, kGreen, kInk);
    c.Disc(3.5, 12.5, 2.5, kGreen, kInk);
    c.Disc(12.5, 12.5, 2.5, kGreen, kInk);
    c.Disc(7.5, 7.5, 2.5, kRed, kInk);
}

void Gateway(Canvas& c) {
    DrawDiamond(c, kInk);
    c.Small("HF", 5, kWhite);
}

void DfTriangle(Canvas& c) {
    c.Poly({{7, 1}, {14, 13}, {1, 13}}, kWhite, kRed);
    c.Poly({{7, 2}, {13, 12}, {2, 12}}, Qt::transparent, kRed);
}

void ReverseL(Canvas& c, const QColor& colour) {
    c.Box(10, 1, 4, 14, colour, kInk);
    c.Box(2, 11, 12, 4, colour, kInk);
    c.Box(11, 11, 2, 3, colour);
}

}  // namespace

void PaintPlainSymbol(Canvas& c, char code) {
    DrawLetterSquare(c, code, kLightGrey, kInk);
}

const SymbolTable kPrimarySymbols{{
    {"Unused", [](Canvas& c, char) { c.Disc(7.5, 7.5, 2.0, kGrey, kInk); }},  // ' '
    {"Police",  // '!' police: a blue beacon
     [](Canvas& c, char) {
         c.Poly({{4, 12}, {5, 4}, {10, 4}, {11, 12}}, kBlue, kInk);
         c.Box(6, 5, 2, 5, kSky);
         c.Box(2, 12, 12, 3, kInk);
         c.Line(1, 2, 3, 4, kBlue);
         c.Line(14, 2, 12, 4, kBlue);
         c.Line(7, 0, 7, 2, kBlue);
     }},
    {"Rain",  // '"'
     [](Canvas& c, char) {
         DrawCloud(c, 0, kCloud);
         DrawRainDrops(c, kBlue);
     }},
    {"Digipeater",  // '#' digipeater
     [](Canvas& c, char) { DrawStar(c, kGreen); }},
    {"Phone", [](Canvas& c, char) { Telephone(c); }},                                      // '$'
    {"DX Cluster", [](Canvas& c, char) { DrawTextPlate(c, "DX", kYellow, kInk); }},        // '%'
    {"HF Gateway", [](Canvas& c, char) { Gateway(c); }},                                   // '&'
    {"Small Aircraft (SSID = 7)", [](Canvas& c, char) { DrawAircraft(c, false, kRed); }},  // '\''
    {"Cloudy", [](Canvas& c, char) { DrawCloud(c, 2, kCloud); }},                          // '('
    {"TBD", PaintPlainSymbol},                                                             // ')'
    {"Snow (TBD)",                                                                         // '*'
     [](Canvas& c, char) {
         DrawSnowflake(c, 7, 7, 6, kBlue);
         c.Outline(kWhite);
     }},
    {"Red Cross", [](Canvas& c, char) { RedCross(c); }},                          // '+'
    {"Reverse L (or Boy Scouts)", [](Canvas& c, char) { ReverseL(c, kBrown); }},  // ','
    {"House w/ Vertical Ant.",
     [](Canvas& c, char) { DrawHouse(c, Antenna::kVertical, kRed); }},  // '-'
    {"X",                                                               // '.'
     [](Canvas& c, char) {
         c.Line(2, 2, 13, 13, kRed, 3);
         c.Line(2, 13, 13, 2, kRed, 3);
     }},
    {"Dot", [](Canvas& c, char) { c.Disc(7.5, 7.5, 3.5, kRed, kDarkRed); }},           // '/'
    {"Black Numeral Circle", NumeralCircle},                                           // '0'
    {"Brown Numeral Circle", NumeralCircle},                                           // '1'
    {"Red Numeral Circle", NumeralCircle},                                             // '2'
    {"Orange Numeral Circle", NumeralCircle},                                          // '3'
    {"Yellow Numeral Circle", NumeralCircle},                                          // '4'
    {"Green Numeral Circle", NumeralCircle},                                           // '5'
    {"Blue Numeral Circle", NumeralCircle},                                            // '6'
    {"Violet Numeral Circle", NumeralCircle},                                          // '7'
    {"Gray Numeral Circle", NumeralCircle},                                            // '8'
    {"White Numeral Circle", NumeralCircle},                                           // '9'
    {"Fire", [](Canvas& c, char) { DrawFlame(c); }},                                   // ':'
    {"Campground", [](Canvas& c, char) { Tent(c); }},                                  // ';'
    {"Motorcycle (SSID = 10)", [](Canvas& c, char) { Motorcycle(c); }},                // '<'
    {"Railroad Locomotive", [](Canvas& c, char) { Locomotive(c); }},                   // '='
    {"Car (SSID = 9)", [](Canvas& c, char) { DrawVehicle(c, Vehicle::kCar, kRed); }},  // '>'
    {"File Server", [](Canvas& c, char) { Server(c); }},                               // '?'
    {"Hurricane Future Position", [](Canvas& c, char) { DrawHurricane(c, kRed); }},    // '@'
    {"Aid Station",  // 'A' aid station
     [](Canvas& c, char) {
         c.Box(0, 0, 16, 16, kGreen, kInk);
         c.Box(6, 2, 4, 12, kWhite);
         c.Box(2, 6, 12, 4, kWhite);
     }},
    {"Bulletin Board System", [](Canvas& c, char) { Computer(c, "BBS"); }},                // 'B'
    {"Canoe", [](Canvas& c, char) { Canoe(c); }},                                          // 'C'
    {"Yellow Square (TBD)", [](Canvas& c, char) { c.Box(1, 1, 14, 14, kYellow, kInk); }},  // 'D'
    {"Green Circle (TBD)", [](Canvas& c, char) { c.Disc(7.5, 7.5, 7.0, kGreen, kInk); }},  // 'E'
    {"Blue Square (TBD)", [](Canvas& c, char) { c.Box(1, 1, 14, 14, kBlue, kInk); }},      // 'F'
    {"Grid Square (6-digit)", [](Canvas& c, char) { Grid(c, 3); }},                        // 'G'
    {"Hotel", [](Canvas& c, char) { Hotel(c); }},                                          // 'H'
    {"TCP/IP", [](Canvas& c, char) { Computer(c, "IP"); }},                                // 'I'
    {"Large J (TBD)",                                                                      // 'J'
     [](Canvas& c, char) {
         c.Glyph('J', 5, 4, kBlue);
         c.Glyph('J', 6, 4, kBlue);
         c.Outline(kWhite);
     }},
    {"School", [](Canvas& c, char) { SchoolHouse(c); }},  // 'K'
    {"TBD", PaintPlainSymbol},                            // 'L'
    {"MacAPRS\xE2\x84\xA2",
     [](Canvas& c, char) { DrawLetterSquare(c, 'M', kWhite, kBlue); }},  // 'M'
    {"NTS Station (Traffic)",
     [](Canvas& c, char) { DrawTextPlate(c, "NTS", kWhite, kRed); }},  // 'N'
    {"Balloon (SSID = 11)", [](Canvas& c, char) { Balloon(c); }},      // 'O'
    {"Police",                                                         // 'P' police car
     [](Canvas& c, char) { DrawVehicle(c, Vehicle::kPolice, kNavy); }},
    {"TBD", PaintPlainSymbol},  // 'Q'
    {"Recreational Vehicle (RV)",
     [](Canvas& c, char) { DrawVehicle(c, Vehicle::kRv, kWhite); }},                      // 'R'
    {"Shuttle", [](Canvas& c, char) { Shuttle(c); }},                                     // 'S'
    {"SSTV", [](Canvas& c, char) { TvSet(c, "SSTV"); }},                                  // 'T'
    {"Bus (SSID = 2)", [](Canvas& c, char) { DrawVehicle(c, Vehicle::kBus, kYellow); }},  // 'U'
    {"ATV", [](Canvas& c, char) { TvSet(c, "ATV"); }},                                    // 'V'
    {"National WX Service Site",  // 'W' weather service site
     [](Canvas& c, char) {
         c.Disc(7.5, 7.5, 7.0, kBlue, kInk);
         c.Small("NWS", 6, kWhite);
     }},
    {"Helicopter (SSID = 6)", [](Canvas& c, char) { Helicopter(c); }},             // 'X'
    {"Sailboat (or Yacht) (SSID = 5)", [](Canvas& c, char) { DrawSailboat(c); }},  // 'Y'
    {"WinAPRS\xE2\x84\xA2",                                                        // 'Z'
     [](Canvas& c, char) {
         c.Box(0, 1, 16, 14, kSky, kInk);
         c.Box(0, 1, 16, 3, kNavy);
         c.Small("WIN", 7, kInk);
     }},
    {"Jogger", [](Canvas& c, char) { Person(c, kRed); }},                       // '['
    {"Triangle (DF)", [](Canvas& c, char) { DfTriangle(c); }},                  // '\\'
    {"PBBS (Mailbox)", [](Canvas& c, char) { Mailbox(c); }},                    // ']'
    {"Large Aircraft", [](Canvas& c, char) { DrawAircraft(c, true, kBlue); }},  // '^'
    {"Weather Station",  // '_' weather station
     [](Canvas& c, char) {
         c.Disc(7.5, 7.5, 7.0, kBlue, kInk);
         c.Small("WX", 6, kWhite);
     }},
    {"Dish Antenna", [](Canvas& c, char) { Dish(c); }},  // '`'
    {"Ambulance (SSID = 1)",
     [](Canvas& c, char) { DrawVehicle(c, Vehicle::kAmbulance, kWhite); }},  // 'a'
    {"Bicycle (SSID = 4)", [](Canvas& c, char) { Bicycle(c); }},             // 'b'
    {"TBD", PaintPlainSymbol},                                               // 'c'
    {"Fire Department", [](Canvas& c, char) { FireStation(c); }},            // 'd'
    {"Horse", [](Canvas& c, char) { Horse(c); }},                            // 'e'
    {"Fire Truck (SSID = 3)",
     [](Canvas& c, char) { DrawVehicle(c, Vehicle::kFireTruck, kRed); }},  // 'f'
    {"Glider", [](Canvas& c, char) { Glider(c); }},                        // 'g'
    {"Hospital", [](Canvas& c, char) { Hospital(c); }},                    // 'h'
    {"IOTA (Island On The Air)", [](Canvas& c, char) { Island(c); }},      // 'i'
    {"Jeep (SSID = 12)",
     [](Canvas& c, char) { DrawVehicle(c, Vehicle::kJeep, kDarkGreen); }},                    // 'j'
    {"Truck (SSID = 14)", [](Canvas& c, char) { DrawVehicle(c, Vehicle::kTruck, kWhite); }},  // 'k'
    {"Small Dot (TBD)", [](Canvas& c, char) { c.Disc(7.5, 7.5, 2.0, kInk); }},                // 'l'
    {"Mic-E Capable Repeater", [](Canvas& c, char) { Repeater(c); }},                         // 'm'
    {"Node", [](Canvas& c, char) { Node(c); }},                                               // 'n'
    {"EOC (Emgcy. Ops. Cntr.)",
     [](Canvas& c, char) { DrawTextPlate(c, "EOC", kOrange, kInk); }},           // 'o'
    {"Rover (Moof!)", [](Canvas& c, char) { Dog(c); }},                          // 'p'
    {"Grid Square (4-digit)", [](Canvas& c, char) { Grid(c, 2); }},              // 'q'
    {"Antenna (or Tower)", [](Canvas& c, char) { Tower(c); }},                   // 'r'
    {"Ship (Powered) (SSID = 8)", [](Canvas& c, char) { DrawShip(c, kNavy); }},  // 's'
    {"Truck Stop",                                                               // 't'
     [](Canvas& c, char) {
         DrawFuelPump(c, kBlue);
         c.Small("T", 12, 0, kInk);
     }},
    {"Truck (18-Wheeler)",
     [](Canvas& c, char) { DrawVehicle(c, Vehicle::kSemi, kLightGrey); }},               // 'u'
    {"Van (SSID = 15)", [](Canvas& c, char) { DrawVehicle(c, Vehicle::kVan, kBlue); }},  // 'v'
    {"Water Station", [](Canvas& c, char) { WaterDrop(c); }},                            // 'w'
    {"xAPRS\xE2\x84\xA2 (Unix)",
     [](Canvas& c, char) { DrawLetterSquare(c, 'X', kInk, kYellow); }},                     // 'x'
    {"Home w/ Yagi Antenna", [](Canvas& c, char) { DrawHouse(c, Antenna::kYagi, kRed); }},  // 'y'
    {"TBD", PaintPlainSymbol},                                                              // 'z'
    {"TBD", PaintPlainSymbol},                                                              // '{'
    {"Reserved (TNC Stream Char.)", PaintPlainSymbol},                                      // '|'
    {"Diamond (TBD)", [](Canvas& c, char) { DrawDiamond(c, kYellow); }},                    // '}'
    {"Reserved (TNC Switch Char.)", PaintPlainSymbol},                                      // '~'
    {"Reserved", PaintPlainSymbol},                                                         // ''
}};

}  // namespace plovane::icons
