// SPDX-License-Identifier: GPL-3.0-or-later
// Pens and fonts of the map.
#include "maps/render/render_resources.h"

#include <QFontMetrics>

namespace plovane {

QFont MakeCellFont(int cellHeight, bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    // The cell (ascent + descent) is taller than the em; shrink the em until the cell fits.
    for (int pixels = cellHeight; pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= cellHeight)
            return font;
    }
    font.setPixelSize(1);
    return font;
}

QColor NightColour(const QColor& day) {
    const QColor hsl = day.toHsl();
    // Lightness 0..255 to 225..40: black lines light grey, white paper dark grey.
    const int lightness = 225 - hsl.lightness() * 185 / 255;
    return QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness).toRgb();
}

RenderResources::RenderResources(bool night) : night_(night) {
    for (int i = 0; i < kPaletteSize; ++i) {
        QPen thin(Colour(i), 1, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin);
        pens_[i] = thin;
        QPen heavy(Colour(i), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        pens_[kHeavyPen + i] = heavy;
        pens_[kSolidThinPen + i] = QPen(Colour(i), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    }
    fonts_[static_cast<int>(MapFont::kNormal10)] = MakeCellFont(10, false);
    fonts_[static_cast<int>(MapFont::kNormal12)] = MakeCellFont(12, false);
    fonts_[static_cast<int>(MapFont::kBold12)] = MakeCellFont(12, true);
    fonts_[static_cast<int>(MapFont::kBold18)] = MakeCellFont(18, true);
}

}  // namespace plovane
