// SPDX-License-Identifier: GPL-3.0-or-later
// A one-colour map tile as PNG bytes, for the tile tests.
#pragma once

#include <QBuffer>
#include <QColor>
#include <QImage>

#include "maps/web_mercator.h"

namespace plovane::testing {

inline QByteArray SolidTilePng(QColor colour) {
    QImage image(kTileSize, kTileSize, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace plovane::testing
