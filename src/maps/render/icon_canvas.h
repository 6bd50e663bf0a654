// SPDX-License-Identifier: GPL-3.0-or-later
// A 16 x 16 drawing surface for the symbol pictograms: crisp (aliased) shapes in pixel
// coordinates, the pixel fonts, and a few shapes shared by both symbol tables (vehicles,
// buildings, weather). Every pixel ends fully opaque or fully clear, as the stored strips
// (which mark clear pixels with a key colour) require.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <initializer_list>
#include <string_view>

namespace plovane::icons {

// Colours the pictograms share.
inline const QColor kInk(0, 0, 0);
inline const QColor kWhite(255, 255, 255);
inline const QColor kGrey(128, 128, 128);
inline const QColor kLightGrey(200, 200, 200);
inline const QColor kRed(220, 0, 0);
inline const QColor kDarkRed(150, 0, 0);
inline const QColor kGreen(0, 160, 0);
inline const QColor kDarkGreen(0, 100, 0);
inline const QColor kBlue(0, 64, 224);
inline const QColor kNavy(0, 0, 128);
inline const QColor kSky(120, 200, 255);
inline const QColor kYellow(255, 224, 0);
inline const QColor kOrange(255, 128, 0);
inline const QColor kBrown(140, 80, 20);
inline const QColor kTan(220, 180, 120);
inline const QColor kViolet(140, 60, 200);
inline const QColor kCloud(235, 235, 235);

class Canvas {
  public:
    Canvas();
    QImage& image() { return image_; }

    void Px(int x, int y, const QColor& c);
    bool Opaque(int x, int y) const;
    // A rectangle of pixels; with an edge colour its outermost pixels take it.
    void Box(int x, int y, int w, int h, const QColor& fill);
    void Box(int x, int y, int w, int h, const QColor& fill, const QColor& edge);
    // Pixels whose centres lie within r of (cx, cy) (continuous coordinates: pixel (x, y)
    // spans x..x+1); with an edge colour the rim pixels take it.
    void Disc(double cx, double cy, double r, const QColor& fill);
    void Disc(double cx, double cy, double r, const QColor& fill, const QColor& edge);
    void Ring(double cx, double cy, double r, const QColor& edge);
    // A polygon through pixel centres, filled and edged.
    void Poly(std::initializer_list<QPointF> points, const QColor& fill, const QColor& edge);
    void Poly(std::initializer_list<QPointF> points, const QColor& fill);
    // An arc of the circle through pixel centres, angles in degrees counter-clockwise from
    // three o'clock.
    void Arc(double cx, double cy, double r, int startDegrees, int spanDegrees, const QColor& c,
             int width = 1);
    // A line through pixel centres.
    void Line(double x1, double y1, double x2, double y2, const QColor& c, int width = 1);
    // A 5 x 7 glyph with its top-left at (x, y); Glyph(c, ink) centres it on pixel (7, 7).
    void Glyph(char ch, int x, int y, const QColor& ink);
    void Glyph(char ch, const QColor& ink) { Glyph(ch, 5, 4, ink); }
    // A glyph with a one-pixel halo around it.
    void HaloGlyph(char ch, int x, int y, const QColor& ink, const QColor& halo);
    // Words in the 3 x 5 font, centred on pixel column 7 with their top at y.
    void Small(std::string_view text, int y, const QColor& ink);
    void Small(std::string_view text, int x, int y, const QColor& ink);
    // Sets every clear pixel next to (4-neighbour) a drawn one to the colour.
    void Outline(const QColor& edge);

  private:
    QImage image_;
};

// Shared pictograms.
enum class Vehicle { kCar, kJeep, kVan, kTruck, kSemi, kBus, kRv, kAmbulance, kFireTruck, kPolice };
void DrawVehicle(Canvas& c, Vehicle kind, const QColor& body);
void DrawWheel(Canvas& c, int cx, int cy);
// A house; with an antenna mast ("vertical") or a yagi on the roof.
enum class Antenna { kNone, kVertical, kYagi };
void DrawHouse(Canvas& c, Antenna antenna, const QColor& roof);
// A cloud filling the upper part of the icon, shifted down by dy pixels.
void DrawCloud(Canvas& c, int dy, const QColor& fill);
void DrawRainDrops(Canvas& c, const QColor& colour);
void DrawSnowflake(Canvas& c, int cx, int cy, int arm, const QColor& colour);
void DrawAircraft(Canvas& c, bool large, const QColor& colour);
void DrawShip(Canvas& c, const QColor& hull);
void DrawSailboat(Canvas& c);
void DrawStar(Canvas& c, const QColor& fill);
void DrawDiamond(Canvas& c, const QColor& fill);
void DrawSun(Canvas& c, int cx, int cy, int r);
void DrawBolt(Canvas& c, int dx, int dy);
void DrawHurricane(Canvas& c, const QColor& colour);
void DrawFunnel(Canvas& c, const QColor& colour);
void DrawFlame(Canvas& c);
void DrawFuelPump(Canvas& c, const QColor& body);
// A plate with a word or a glyph on it, for symbols better named than drawn.
void DrawTextPlate(Canvas& c, std::string_view text, const QColor& fill, const QColor& ink);
void DrawLetterDisc(Canvas& c, char ch, const QColor& fill, const QColor& ink);
void DrawLetterSquare(Canvas& c, char ch, const QColor& fill, const QColor& ink);

}  // namespace plovane::icons
