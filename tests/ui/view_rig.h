// SPDX-License-Identifier: GPL-3.0-or-later
// The map widget on a test store: one arc-minute per pixel from Greenwich and 50 N.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWheelEvent>
#include <QWidgetAction>
#include <string>
#include <vector>

#include "maps/render/symbol_icons.h"
#include "stations/store_fixture.h"
#include "ui/logic/plovane_doc.h"
#include "ui/plovane_view.h"

namespace plovane::testing {

struct ViewRig {
    // On the default 240 x 282 map area the pixel (100, 119) is 48 20 N, 1 40 E.
    explicit ViewRig(int width = 240, int height = 282) : doc(store.clock) {
        CMapData& map = doc.map();
        map.left = 64800000;
        map.right = 64800000 + width * 6000;
        map.top = 14400000;
        map.bottom = 14400000 + height * 6000;
        view.resize(width, height + kHeaderStripHeight);
        view.RenderImage();  // the first drawing fits the view
    }

    MapPoint At(QPoint p) { return view.mapView().ScreenToMap(p.x(), p.y()); }
    void Wheel(QPoint p, int delta) {
        QWheelEvent event(p, view.mapToGlobal(p), {}, QPoint(0, delta), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &event);
        view.RenderImage();
    }

    // What one pop-up showed: its items' texts ("-" for separators) and enabled states.
    struct Shown {
        std::vector<std::string> texts;
        std::vector<bool> enabled;
    };
    // Answers the pop-ups in turn with the given commands (0: dismissed).
    void Answer(std::vector<int> commands) {
        view.SetMenuRunner([this, commands, i = size_t{0}](QMenu& menu, const QPoint&) mutable {
            Shown shown;
            for (const QAction* action : menu.actions()) {
                shown.texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
                shown.enabled.push_back(action->isEnabled());
                if (auto* item = qobject_cast<const QWidgetAction*>(action)) {
                    EXPECT_NE(item->defaultWidget(), nullptr);
                }
            }
            menus.push_back(shown);
            return i < commands.size() ? commands[i++] : 0;
        });
    }

    // A station at the tap point of the default rig.
    void Here(const std::string& call) { store.Report(call, "4820.00N", "00140.00E"); }

    StoreFixture store;
    CSymbolIcons icons;
    CPlovaneDoc doc;
    CMapOptions options;
    CPlovaneView view{{doc, options, store.list, store.profile, store.host, store.clock, icons}};
    std::vector<Shown> menus;
};

}  // namespace plovane::testing
