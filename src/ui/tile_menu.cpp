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
    choice("&None", [] { return std::string("none"); });
    choice("&OpenStreetMap", [] { return std::string(kOsmTileUrl); });
    QAction* base = choice("&Base Layer (Offline)", [] { return BaseLayerPath().toStdString(); });
    base->setEnabled(!BaseLayerPath().isEmpty());
    choice("MB&Tiles File...", [&view] {
        return QFileDialog::getOpenFileName(&view, "Open MBTiles File", {},
                                            "MBTiles (*.mbtiles);;All Files (*)")
            .toStdString();
    });
    choice("Tile &Folder...", [&view] {
        return QFileDialog::getExistingDirectory(&view, "Folder of z/x/y Tiles").toStdString();
    });
}

}  // namespace plovane
