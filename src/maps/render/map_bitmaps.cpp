// SPDX-License-Identifier: GPL-3.0-or-later
// Off-screen copies of the map view.
#include "maps/render/map_bitmaps.h"

namespace plovane {

void CMapBitmaps::Release() {
    background_ = QImage();
    picture_ = QImage();
}

void CMapBitmaps::Prepare(bool useOffScreenBitmaps, bool backgroundValid, int clientWidth,
                          int clientHeight) {
    if (!useOffScreenBitmaps) {
        Release();
        return;
    }
    if (backgroundValid)
        return;
    const int width = clientWidth + kBitmapExtraWidth;
    const int height = clientHeight + kBitmapExtraHeight;
    if (Exist() && (picture_.width() < width || picture_.height() < height))
        Release();
    if (Exist())
        return;
    if (clientWidth <= 0 || clientHeight <= 0 || width > kMaxSide || height > kMaxSide) {
        Release();
        return;
    }
    background_ = QImage(width, height, QImage::Format_RGB32);
    picture_ = QImage(width, height, QImage::Format_RGB32);
    if (!Exist())
        Release();  // out of memory: draw straight to the target
}

}  // namespace plovane
