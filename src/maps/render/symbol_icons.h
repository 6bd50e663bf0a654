// SPDX-License-Identifier: GPL-3.0-or-later
// The icon lists the map, the pick pop-ups and the station list draw from: the three strips
// read from the icon folder (data/icons), or drawn here when a file is missing or malformed.
#pragma once

#include <QImage>
#include <QPainter>
#include <array>
#include <filesystem>
#include <vector>

#include "maps/render/icon_art.h"
#include "maps/station_icon.h"

namespace plovane {

// Thread-compatible: built once on the user-interface thread, then only read.
class CSymbolIcons {
  public:
    // Every strip drawn in memory.
    CSymbolIcons();
    // Reads primary.png, alternate.png and overlay.png from the folder; a strip whose file is
    // missing or not 16 x count pixels is drawn instead.
    explicit CSymbolIcons(const std::filesystem::path& folder);

    // One icon with transparency (ARGB32 16 x 16); a null image for an index out of range.
    const QImage& Icon(IconStrip strip, int index) const;
    // A station's icon with its overlay character, top-left at (x, y).
    void Draw(QPainter& painter, const StationIcon& icon, int x, int y) const;
    // One icon of a strip, top-left at (x, y); nothing for an index out of range.
    void Draw(QPainter& painter, IconStrip strip, int index, int x, int y) const;

    // Whether the strip came from its file (false: drawn here).
    bool FromFile(IconStrip strip) const { return fromFile_[static_cast<int>(strip)]; }

  private:
    void Build(IconStrip strip, const QImage* stored);

    std::array<std::vector<QImage>, 3> icons_;
    std::array<bool, 3> fromFile_{};
    QImage none_;
};

// A stored strip (key colour 128,0,0) as separate icons with transparency.
std::vector<QImage> SplitIconStrip(const QImage& strip, int count);

}  // namespace plovane
