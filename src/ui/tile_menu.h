// SPDX-License-Identifier: GPL-3.0-or-later
// View > Map Tiles: the tile background chosen from the menu (none, OpenStreetMap, the
// bundled base layer, an MBTiles file or a folder of tiles).
#pragma once

class QMenu;

namespace plovane {

class CPlovaneView;

// Adds the submenu to `viewMenu`; its choices go to the map widget and the settings.
void AddTileMenu(QMenu& viewMenu, CPlovaneView& view);

}  // namespace plovane
