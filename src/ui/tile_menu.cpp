// SPDX-License-Identifier: GPL-3.0-or-later
// The Map Tiles submenu.
#include "ui/tile_menu.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QMenu>

#include "maps/tile_source.h"
#include "ui/plovane_view.h"
#include "ui/tile_background.h"

namespace plovane {

void AddTileMenu(QMenu& viewMenu, CPlovaneView& view) {
    viewMenu.addSeparator();
    QMenu* menu = viewMenu.addMenu("Map &Tiles");
    menu->setObjectName("tileMenu");
    auto* group = new QActionGroup(menu);
    // A URL other than OpenStreetMap's has no entry of its own: then nothing is ticked.
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const auto choice = [&](const QString& text, auto pick) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, &view, [&view, pick] {
            const std::string source = pick();
            if (!source.empty())
                view.SetTileSource(source);
        });
        return action;
    };
    QAction* none = choice("&None", [] { return std::string("none"); });
    QAction* osm = choice("&OpenStreetMap", [] { return std::string(kOsmTileUrl); });
    QAction* base = choice("&Base Layer (Offline)", [] { return BaseLayerPath().toStdString(); });
    base->setEnabled(!BaseLayerPath().isEmpty());
    QAction* file = choice("MB&Tiles File...", [&view] {
        return QFileDialog::getOpenFileName(&view, "Open MBTiles File", {},
                                            "MBTiles (*.mbtiles);;All Files (*)")
            .toStdString();
    });
    QAction* folder = choice("Tile &Folder...", [&view] {
        return QFileDialog::getExistingDirectory(&view, "Folder of z/x/y Tiles").toStdString();
    });
    // The tick follows the source in use, whichever way it was chosen.
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [&view, group, none, osm, base, file, folder] {
                         TileSourceChoice inUse;
                         std::string error;
                         ParseTileSource(view.tileSource(), inUse, error);
                         QAction* current = nullptr;
                         if (inUse.kind == TileSourceKind::kNone)
                             current = none;
                         else if (inUse.location == kOsmTileUrl)
                             current = osm;
                         else if (QString::fromStdString(inUse.location) == BaseLayerPath())
                             current = base;
                         else if (inUse.kind == TileSourceKind::kMbtiles)
                             current = file;
                         else if (inUse.kind == TileSourceKind::kFolder)
                             current = folder;
                         if (current)
                             current->setChecked(true);
                         else if (QAction* checked = group->checkedAction())
                             checked->setChecked(false);
                     });

    QAction* night = viewMenu.addAction("&Night Map");
    night->setObjectName("nightMap");
    night->setCheckable(true);
    night->setChecked(view.nightMap());
    QObject::connect(night, &QAction::triggered, &view, [&view](bool on) { view.SetNightMap(on); });
    // The tick follows the option, also when set in Map Options.
    QObject::connect(&viewMenu, &QMenu::aboutToShow, night,
                     [&view, night] { night->setChecked(view.nightMap()); });
}

}  // namespace plovane
