// SPDX-License-Identifier: GPL-3.0-or-later
// The map's drawing resources: the 33-colour palette, the thin (dashed, 1 pixel) and heavy
// (solid, 2 pixels) pens, the ten solid brushes and the "Tahoma" fonts, built once per
// renderer. A thin pen drawing a vector or mark sets an opaque background of its own colour,
// so its dashes close into a solid line.
#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <array>
#include <cstdint>

namespace plovane {

struct Rgb {
    uint8_t r, g, b;
};

inline constexpr int kPaletteSize = 33;
inline constexpr std::array<Rgb, kPaletteSize> kPalette{{
    {0, 0, 0},       {0, 0, 192},     {0, 96, 0},      {0, 255, 255},   {128, 96, 0},
    {255, 128, 255}, {255, 96, 0},    {96, 96, 96},    {0, 0, 0},       {0, 0, 255},
    {128, 255, 128}, {192, 128, 192}, {255, 0, 0},     {255, 0, 255},   {255, 255, 0},
    {255, 255, 255}, {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
    {128, 128, 128}, {255, 0, 255},   {192, 128, 192}, {128, 128, 255}, {0, 0, 192},
    {255, 144, 64},  {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
    {0, 0, 0},       {0, 0, 0},       {255, 255, 255},
}};

inline constexpr int kBrushCount = 10;
inline constexpr std::array<Rgb, kBrushCount> kBrushes{{
    {192, 192, 192},
    {255, 64, 64},
    {255, 255, 64},
    {64, 255, 64},
    {64, 64, 255},
    {0, 255, 255},
    {255, 64, 255},
    {0, 0, 0},
    {255, 0, 0},
    {0, 0, 255},
}};

// Pen i (< 33) is thin in palette colour i; pen kHeavyPen + i is heavy in colour i. Pen
// kSolidThinPen + i is the thin pen as it looks over a background of its own colour (a solid
// line, the same pixels), which the painter draws several times faster than the dashes.
inline constexpr int kHeavyPen = 33;
inline constexpr int kSolidThinPen = 66;
inline constexpr int kPenCount = 3 * kPaletteSize;
// Pens and brushes the stations and marks use.
inline constexpr int kRedPen = 12;
inline constexpr int kBluePen = 9;
inline constexpr int kRedBrush = 8;
inline constexpr int kBlueBrush = 9;
// The map's paper (white; dark on the night map).
inline constexpr int kPaperColour = 15;
// Map labels with a colour beyond the palette are drawn in this one.
inline constexpr int kLabelFallbackColour = 11;
// Map vectors with a colour beyond the palette (binary maps can carry 33) are drawn in this.
inline constexpr int kVectorFallbackColour = 0;

inline QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}
inline QColor PaletteColour(int index) {
    return ToQColor(kPalette[index >= 0 && index < kPaletteSize ? index : 0]);
}
// A palette colour for the night map: the same hue with its lightness turned round, so dark
// lines and text come out light over the dark land and sea, and white dark.
QColor NightColour(const QColor& day);
inline QColor BrushColour(int index) {
    return ToQColor(kBrushes[index >= 0 && index < kBrushCount ? index : 0]);
}

// The font sizes; heights are character cell heights in pixels.
enum class MapFont { kNormal10, kNormal12, kBold12, kBold18 };
inline constexpr int kRotatedFontCount = 72;
inline constexpr int kRotatedFontStepDegrees = 5;

class RenderResources {
  public:
    // `night`: the pens in the night colours.
    explicit RenderResources(bool night = false);

    const QPen& Pen(int index) const { return pens_[index >= 0 && index < kPenCount ? index : 0]; }
    // The colour a thin pen's gaps are filled with when it draws a vector or mark.
    QColor PenColour(int index) const { return Pen(index).color(); }
    const QFont& Font(MapFont font) const { return fonts_[static_cast<int>(font)]; }
    // Palette colour `index` in this style.
    QColor Colour(int index) const {
        return night_ ? NightColour(PaletteColour(index)) : PaletteColour(index);
    }
    bool night() const { return night_; }

  private:
    std::array<QPen, kPenCount> pens_;
    std::array<QFont, 4> fonts_;
    bool night_ = false;
};

// A "Tahoma" font (the system sans-serif where Tahoma is missing) whose character cell is
// at most `cellHeight` pixels high.
QFont MakeCellFont(int cellHeight, bool bold);

}  // namespace plovane
