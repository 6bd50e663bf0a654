// SPDX-License-Identifier: GPL-3.0-or-later
// The two optional off-screen copies of the map view: the background (vectors and labels
// only) and the picture (the finished drawing). With them a repaint is one copy, and a
// changed station is drawn over the picture without redrawing the map.
#pragma once

#include <QImage>

namespace plovane {

// Extra pixels right and below the client that the copies (and the first fill) cover.
inline constexpr int kBitmapExtraWidth = 2;
inline constexpr int kBitmapExtraHeight = 25;

// Thread-compatible: owned by one renderer on the user-interface thread.
class CMapBitmaps {
  public:
    // Run at the start of a complete redraw. With the preference off both copies are
    // released. With it on and the background not valid, copies smaller than the client are
    // released and missing ones made at client width + 2 by height + 25; if that fails there
    // are none and drawing goes straight to the target.
    void Prepare(bool useOffScreenBitmaps, bool backgroundValid, int clientWidth, int clientHeight);
    void Release();
    bool Exist() const { return !background_.isNull() && !picture_.isNull(); }

    QImage& background() { return background_; }
    QImage& picture() { return picture_; }
    const QImage& picture() const { return picture_; }

    // Largest copy made, pixels; a client beyond it draws straight to the target.
    static constexpr int kMaxSide = 16384;

  private:
    QImage background_;
    QImage picture_;
};

}  // namespace plovane
