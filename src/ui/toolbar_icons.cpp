// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar's 16 x 16 pictures, drawn here so the program needs no image files for them.
#include "ui/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "ui/logic/command_ids.h"

namespace plovane {
namespace {

constexpr int kSize = 16;

void DrawMagnifier(QPainter& p, QChar sign) {
    p.setPen(QPen(QColor(0, 0, 0), 1.5));
    p.setBrush(QColor(224, 240, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(QColor(0, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    p.setPen(QPen(QColor(0, 0, 0), 1.5));
    p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
    if (sign == '+')
        p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
}

void DrawRefresh(QPainter& p) {
    p.setPen(QPen(QColor(0, 96, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 90 * 16, 270 * 16);
    QPainterPath head;
    head.moveTo(8, 0.5);
    head.lineTo(12.5, 3);
    head.lineTo(8, 5.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 96, 0));
    p.drawPath(head);
}

void DrawDragZoom(QPainter& p) {
    p.setPen(QPen(QColor(0, 0, 0), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 1.5, 12, 9));
    p.setPen(QPen(QColor(0, 0, 0), 1.5));
    p.drawLine(QPointF(9, 9), QPointF(14.5, 14.5));
    p.drawLine(QPointF(14.5, 14.5), QPointF(14.5, 11));
    p.drawLine(QPointF(14.5, 14.5), QPointF(11, 14.5));
}

void DrawDragMove(QPainter& p) {
    p.setPen(QPen(QColor(0, 0, 0), 1.5));
    p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0));
    const QPointF heads[4][3] = {
        {{8, 0.5}, {5, 4}, {11, 4}},
        {{8, 15.5}, {5, 12}, {11, 12}},
        {{0.5, 8}, {4, 5}, {4, 11}},
        {{15.5, 8}, {12, 5}, {12, 11}},
    };
    for (const auto& head : heads)
        p.drawPolygon(head, 3);
}

void DrawHome(QPainter& p) {
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(QColor(255, 224, 160));
    p.drawRect(QRectF(3.5, 7.5, 9, 7));
    QPainterPath roof;
    roof.moveTo(1, 8);
    roof.lineTo(8, 1.5);
    roof.lineTo(15, 8);
    roof.closeSubpath();
    p.setBrush(QColor(192, 0, 0));
    p.drawPath(roof);
    p.setBrush(QColor(96, 64, 0));
    p.drawRect(QRectF(6.5, 10.5, 3, 4));
}

}  // namespace

QIcon ToolbarIcon(Command command) {
    using Draw = void (*)(QPainter&);
    Draw draw = nullptr;
    switch (command) {
        case Command::kRefresh:
            draw = DrawRefresh;
            break;
        case Command::kDragToZoom:
            draw = DrawDragZoom;
            break;
        case Command::kDragToMove:
            draw = DrawDragMove;
            break;
        case Command::kHome:
            draw = DrawHome;
            break;
        case Command::kZoomIn:
            draw = [](QPainter& p) { DrawMagnifier(p, '+'); };
            break;
        case Command::kZoomOut:
            draw = [](QPainter& p) { DrawMagnifier(p, '-'); };
            break;
        default:
            return {};
    }
    // The same picture at twice the size for high-density screens.
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(kSize * scale, kSize * scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace plovane
