// SPDX-License-Identifier: GPL-3.0-or-later
// The station pick pop-ups as Qt menus: "Which station? ..." with one drawn item per
// station and "&More...", and the chosen station's pop-up. Station items are drawn here: the
// symbol icon one pixel in from the top-left corner, the call in bold "Tahoma" of height 15
// from 18 pixels, on the menu colour (the highlight colour while the pointer is on it).
#pragma once

#include <QMenu>
#include <QString>
#include <QWidget>
#include <functional>

#include "maps/map_station_pick.h"

class QAction;

namespace plovane {

// Draws a station's symbol icon with its overlay, top-left at (x, y).
using IconPainter = std::function<void(QPainter&, const StationIcon&, int x, int y)>;

// One station item of a pick pop-up.
class StationMenuItem : public QWidget {
    Q_OBJECT
  public:
    StationMenuItem(const QString& call, const StationIcon& icon, bool greyed, IconPainter icons,
                    QAction* action, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    bool highlighted() const { return highlighted_; }
    const QString& call() const { return call_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Choose();
    void SetHighlighted(bool on);

    QString call_;
    StationIcon icon_;
    bool greyed_;
    IconPainter icons_;
    QAction* action_;
    QFont font_;
    bool highlighted_ = false;
};

// The item font: bold "Tahoma" (the system's sans-serif where it is missing), 15 pixels.
QFont PickItemFont();

// A menu for the pick pop-up; every action carries its command id as data (titles and
// separators none). The menu is a child of `parent`; the caller deletes it.
QMenu* BuildPickMenu(const PickMenu& menu, const IconPainter& icons, QWidget* parent);

// The command id an action of such a menu carries, 0 for none.
int PickCommandOf(const QAction* action);

}  // namespace plovane
