// SPDX-License-Identifier: GPL-3.0-or-later
// View > Map Tiles: the tile background chosen from the menu (none, OpenStreetMap, the
// bundled base layer, an MBTiles file or a folder of tiles), and View > Night Map.
#pragma once

class QMenu;

namespace plovane {

class CPlovaneView;

// Adds the submenu and the night entry to `viewMenu`; their choices go to the map widget and
// the settings.
void AddTileMenu(QMenu& viewMenu, CPlovaneView& view);

}  // namespace plovane
