// SPDX-License-Identifier: GPL-3.0-or-later
// The symbol icons, drawn as 16 x 16 pictograms: the primary and alternate symbol tables
// (96 icons each, codes 32..127) and the overlay characters ("0".."9", "A".."Z"). The
// make-icons tool stores these strips in data/icons; the renderer draws them itself when a
// file is missing.
#pragma once

#include <QImage>
#include <QRgb>

namespace plovane {

enum class IconStrip { kPrimary, kAlternate, kOverlay };

inline constexpr int kIconSize = 16;
// Pixels of this colour in a stored strip are transparent.
inline constexpr QRgb kIconKeyColour = 0xFF800000u;

// 96 for the symbol tables, 36 for the overlay characters.
int IconCount(IconStrip strip);
// The file name of a strip in the icon folder: "primary.png", "alternate.png", "overlay.png".
const char* IconFileName(IconStrip strip);

// One icon on a transparent 16 x 16 image (ARGB32, every pixel fully opaque or fully clear).
QImage PaintIcon(IconStrip strip, int index);
// A strip as stored: the icons side by side, 16 x count by 16, RGB on the key colour.
QImage PaintIconStrip(IconStrip strip);

// The names of the symbols, for tools and tests: code character 32..127 to name.
const char* SymbolName(IconStrip table, int index);

}  // namespace plovane
