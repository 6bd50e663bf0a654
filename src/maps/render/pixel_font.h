// SPDX-License-Identifier: GPL-3.0-or-later
// Two tiny bitmap fonts for the icons: 5 x 7 pixels (single characters on symbols and the
// overlay characters) and 3 x 5 pixels (short words such as "WX" or "TNC"). Drawn pixel by
// pixel, so the icons look the same whatever fonts the system has.
#pragma once

#include <QColor>
#include <QImage>
#include <string_view>

namespace plovane {

// Whether the fonts have a glyph for the character (lower case uses the upper case one).
bool HasGlyph5x7(char c);
bool HasGlyph3x5(char c);

// Sets the glyph's pixels with its top-left at (x, y); pixels outside the image are skipped.
void DrawGlyph5x7(QImage& image, int x, int y, char c, QColor colour);
void DrawGlyph3x5(QImage& image, int x, int y, char c, QColor colour);

// A word in the small font, one pixel between characters; returns its width.
int TextWidth3x5(std::string_view text);
void DrawText3x5(QImage& image, int x, int y, std::string_view text, QColor colour);

// Whether pixel (x, y) of the character's 5 x 7 glyph is set.
bool GlyphPixel5x7(char c, int x, int y);

}  // namespace plovane
