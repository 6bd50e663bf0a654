// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and drawing the symbol icon strips.
#include "maps/render/symbol_icons.h"

namespace plovane {

std::vector<QImage> SplitIconStrip(const QImage& strip, int count) {
    std::vector<QImage> icons;
    if (strip.isNull() || count <= 0 || strip.width() != kIconSize * count ||
        strip.height() != kIconSize)
        return icons;
    const QImage rgb = strip.convertToFormat(QImage::Format_RGB32);
    icons.reserve(count);
    for (int i = 0; i < count; ++i) {
        QImage icon(kIconSize, kIconSize, QImage::Format_ARGB32);
        for (int y = 0; y < kIconSize; ++y) {
            const QRgb* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y)) + i * kIconSize;
            QRgb* to = reinterpret_cast<QRgb*>(icon.scanLine(y));
            for (int x = 0; x < kIconSize; ++x)
                to[x] = (from[x] | 0xFF000000u) == kIconKeyColour ? 0u : (from[x] | 0xFF000000u);
        }
        icons.push_back(icon);
    }
    return icons;
}

CSymbolIcons::CSymbolIcons() {
    for (IconStrip s : {IconStrip::kPrimary, IconStrip::kAlternate, IconStrip::kOverlay})
        Build(s, nullptr);
}

CSymbolIcons::CSymbolIcons(const std::filesystem::path& folder) {
    for (IconStrip s : {IconStrip::kPrimary, IconStrip::kAlternate, IconStrip::kOverlay}) {
        const std::filesystem::path file = folder / IconFileName(s);
        const QImage stored(QString::fromStdString(file.string()));
        Build(s, stored.isNull() ? nullptr : &stored);
    }
}

void CSymbolIcons::Build(IconStrip strip, const QImage* stored) {
    const int n = static_cast<int>(strip);
    const int count = IconCount(strip);
    if (stored) {
        icons_[n] = SplitIconStrip(*stored, count);
        fromFile_[n] = !icons_[n].empty();
    }
    if (icons_[n].empty()) {
        icons_[n].reserve(count);
        for (int i = 0; i < count; ++i)
            icons_[n].push_back(PaintIcon(strip, i));
    }
}

const QImage& CSymbolIcons::Icon(IconStrip strip, int index) const {
    const std::vector<QImage>& list = icons_[static_cast<int>(strip)];
    if (index < 0 || index >= static_cast<int>(list.size()))
        return none_;
    return list[index];
}

void CSymbolIcons::Draw(QPainter& painter, IconStrip strip, int index, int x, int y) const {
    const QImage& icon = Icon(strip, index);
    if (!icon.isNull())
        painter.drawImage(x, y, icon);
}

void CSymbolIcons::Draw(QPainter& painter, const StationIcon& icon, int x, int y) const {
    Draw(painter, icon.table == IconTable::kPrimary ? IconStrip::kPrimary : IconStrip::kAlternate,
         icon.index, x, y);
    if (icon.overlay >= 0)
        Draw(painter, IconStrip::kOverlay, icon.overlay, x, y);
}

}  // namespace plovane
