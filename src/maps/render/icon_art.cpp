// SPDX-License-Identifier: GPL-3.0-or-later
// The icon strips: which pictogram each index gets, the overlay characters, the symbol
// names, and the strips as stored (icons side by side on the key colour).
#include "maps/render/icon_art.h"

#include <QPainter>
#include <array>

#include "maps/render/icon_canvas.h"
#include "maps/render/icon_symbols.h"

namespace plovane {

namespace {

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
    const icons::SymbolTable& symbols =
        table == IconStrip::kPrimary ? icons::kPrimarySymbols : icons::kAlternateSymbols;
    return symbols[static_cast<size_t>(index)].name;
}

QImage PaintIcon(IconStrip strip, int index) {
    if (index < 0 || index >= IconCount(strip))
        return QImage();
    if (strip == IconStrip::kOverlay)
        return PaintOverlay(index);
    const icons::SymbolTable& symbols =
        strip == IconStrip::kPrimary ? icons::kPrimarySymbols : icons::kAlternateSymbols;
    icons::Canvas c;
    symbols[static_cast<size_t>(index)].paint(c, static_cast<char>(index + 32));
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
