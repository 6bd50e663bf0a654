// SPDX-License-Identifier: GPL-3.0-or-later
// The header strip (title and status icons) and the one-inch scale bar.
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <string>

#include "core/version.h"
#include "maps/render/icon_art.h"
#include "maps/render/pixel_font.h"
#include "maps/render/render_internal.h"
#include "maps/render/scale_bar.h"

namespace plovane {

namespace {

const QColor kStripFace(192, 192, 192);
const QColor kStripShadow(128, 128, 128);
const QColor kNightStripFace(48, 50, 56);

// Status icon left edges, pixels before the right edge of the client.
constexpr int kMessageIconOffset = 17;
constexpr int kNetIconOffset = 35;
constexpr int kTncIconOffset = 53;
constexpr int kGpsIconOffset = 71;
// The title area ends this far before the right edge (further with the GPS icon).
constexpr int kTitleMargin = 56;
constexpr int kTitleMarginWithGps = 74;

// The scale bar: its right end this far from the right edge, its ends this high, the text
// this far below the header strip.
constexpr int kScaleRightMargin = 10;
constexpr int kScaleTickHeight = 5;
constexpr int kScaleTextTop = kHeaderStripHeight + 3;
constexpr int kScaleBarY = kHeaderStripHeight + 20;

QColor LinkColour(LinkState state) {
    switch (state) {
        case LinkState::kOpen:
            return QColor(0, 160, 0);
        case LinkState::kPending:
            return QColor(240, 200, 0);
        case LinkState::kError:
            return QColor(224, 0, 0);
        case LinkState::kOff:
            break;
    }
    return QColor(150, 150, 150);
}

}  // namespace

std::string HeaderTitle(const CMapData& map) {
    if (map.loaded)
        return std::string(kProgramName) + ": " + map.name;
    return std::string(kProgramName) + " v" + kVersionText;
}

void DrawLinkIcon(QPainter& painter, int x, int y, int kind, LinkState state) {
    static constexpr const char* kNames[] = {"TNC", "GPS", "NET"};
    QImage icon(kIconSize, kIconSize, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    const QColor face = LinkColour(state);
    const QColor edge = state == LinkState::kOff ? QColor(100, 100, 100) : QColor(Qt::black);
    // A rounded plate with the link's name; an error is crossed out.
    for (int py = 3; py <= 12; ++py) {
        for (int px = 0; px <= 15; ++px) {
            const bool corner = (px == 0 || px == 15) && (py == 3 || py == 12);
            if (corner)
                continue;
            const bool border = px == 0 || px == 15 || py == 3 || py == 12;
            icon.setPixelColor(px, py, border ? edge : face);
        }
    }
    const char* name = kNames[kind >= 0 && kind < 3 ? kind : 0];
    const QColor ink = state == LinkState::kPending ? QColor(Qt::black) : QColor(Qt::white);
    DrawText3x5(icon, 2, 5, name, ink);
    if (state == LinkState::kOpen) {
        // A lit lamp over the plate.
        for (int px = 6; px <= 9; ++px) {
            icon.setPixelColor(px, 0, QColor(0, 220, 0));
            icon.setPixelColor(px, 1, QColor(0, 120, 0));
        }
    }
    if (state == LinkState::kError) {
        for (int i = 0; i < 14; ++i) {
            icon.setPixelColor(1 + i, 1 + i, QColor(Qt::black));
            icon.setPixelColor(14 - i, 1 + i, QColor(Qt::black));
        }
    }
    painter.drawImage(x, y, icon);
}

void DrawMessageIcon(QPainter& painter, int x, int y, bool waiting, int unread) {
    QImage icon(kIconSize, kIconSize, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    const QColor paper = waiting ? QColor(255, 255, 160) : QColor(210, 210, 210);
    const QColor edge = waiting ? QColor(Qt::black) : QColor(128, 128, 128);
    // An envelope: a body with the flap's V.
    for (int py = 3; py <= 13; ++py) {
        for (int px = 0; px <= 15; ++px) {
            const bool border = px == 0 || px == 15 || py == 3 || py == 13;
            icon.setPixelColor(px, py, border ? edge : paper);
        }
    }
    for (int i = 0; i <= 7; ++i) {
        icon.setPixelColor(i, 3 + i * 5 / 7, edge);
        icon.setPixelColor(15 - i, 3 + i * 5 / 7, edge);
    }
    if (unread > 0) {
        // The unread count on the envelope's lower half, over the flap's lines (three digits
        // fit: more shows 999).
        const std::string count = std::to_string(std::min(unread, 999));
        for (int py = 7; py <= 12; ++py) {
            for (int px = 1; px <= 14; ++px)
                icon.setPixelColor(px, py, paper);
        }
        DrawText3x5(icon, (16 - TextWidth3x5(count)) / 2, 7, count, QColor(Qt::black));
    }
    if (waiting) {
        // A red dot: a message is waiting.
        for (int py = 0; py <= 4; ++py) {
            for (int px = 11; px <= 15; ++px) {
                const int dx = 2 * px - 26, dy = 2 * py - 4;
                if (dx * dx + dy * dy <= 20)
                    icon.setPixelColor(px, py, QColor(224, 0, 0));
            }
        }
    }
    painter.drawImage(x, y, icon);
}

void DrawHeaderStrip(QPainter& painter, const RenderResources& resources, int clientWidth,
                     const std::string& title, const HeaderStatus& status) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const bool night = resources.night();
    painter.fillRect(0, 0, clientWidth, kHeaderStripHeight, night ? kNightStripFace : kStripFace);
    painter.fillRect(0, 0, clientWidth, 1, night ? kStripShadow : QColor(Qt::white));
    painter.fillRect(0, 17, clientWidth, 1, night ? kNightStripFace.darker() : kStripShadow);
    painter.fillRect(0, 18, clientWidth, 1, Qt::black);

    const int titleRight =
        clientWidth - (status.gpsConfigured ? kTitleMarginWithGps : kTitleMargin);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(resources.Font(MapFont::kBold12));
    painter.setPen(night ? QColor(230, 230, 230) : QColor(Qt::black));
    painter.drawText(QRect(0, 1, std::max(titleRight, 0), 16),
                     Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, DisplayText(title));

    DrawMessageIcon(painter, clientWidth - kMessageIconOffset, 1, status.messageWaiting,
                    status.unreadMessages);
    DrawLinkIcon(painter, clientWidth - kNetIconOffset, 1, 2, status.net);
    DrawLinkIcon(painter, clientWidth - kTncIconOffset, 1, 0, status.tnc);
    if (status.gpsConfigured)
        DrawLinkIcon(painter, clientWidth - kGpsIconOffset, 1, 1, status.gps);
    painter.restore();
}

namespace {

// Where the scale bar's parts go: the bracket's ends, the text's box and the white panel
// under both.
struct ScaleBarLayout {
    QString text;
    int inch = 1;
    int left = 0;
    int right = 0;
    QRect textBox;
    QRect panel;
};

ScaleBarLayout LayOutScaleBar(const QFontMetrics& metrics, int clientWidth,
                              const MapProjection& projection, double pixelsPerInch,
                              int unitsOfMeasure) {
    ScaleBarLayout out;
    out.inch = std::max(1, static_cast<int>(std::lround(pixelsPerInch)));
    MapBox centre = projection.view();
    if (projection.mercator()) {
        // The box's middle colatitude is not the middle of the picture in Mercator.
        centre.top = centre.bottom =
            projection.ScreenToMap(0, kHeaderStripHeight + projection.areaHeight() / 2).y;
    }
    const double distance =
        ScaleInchDistance(centre, projection.ux(), pixelsPerInch, unitsOfMeasure);
    out.text = QString::fromStdString(ScaleText(distance, unitsOfMeasure));
    out.right = clientWidth - kScaleRightMargin;
    out.left = out.right - out.inch;
    // Wide enough for "Off Edge of Globe" over a narrow inch; centred on the bar.
    const int textWidth = std::max(out.inch, metrics.horizontalAdvance(out.text) + 4);
    out.textBox = QRect(out.left + out.inch / 2 - textWidth / 2, kScaleTextTop, textWidth, 12);
    out.panel = QRect(QPoint(std::min(out.left, out.textBox.left()) - 2, kScaleTextTop - 1),
                      QPoint(std::max(out.right, out.textBox.right()) + 2, kScaleBarY + 2));
    return out;
}

}  // namespace

QRect ScaleBarPanel(QPainter& painter, const RenderResources& resources, int clientWidth,
                    const MapProjection& projection, double pixelsPerInch, int unitsOfMeasure) {
    const QFontMetrics metrics(resources.Font(MapFont::kNormal12), painter.device());
    return LayOutScaleBar(metrics, clientWidth, projection, pixelsPerInch, unitsOfMeasure).panel;
}

void DrawScaleBar(QPainter& painter, const RenderResources& resources, int clientWidth,
                  const MapProjection& projection, double pixelsPerInch, int unitsOfMeasure) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(resources.Font(MapFont::kNormal12));
    const ScaleBarLayout bar = LayOutScaleBar(painter.fontMetrics(), clientWidth, projection,
                                              pixelsPerInch, unitsOfMeasure);
    const int y = kScaleBarY;
    const QPoint bracket[4] = {{bar.left, y - kScaleTickHeight},
                               {bar.left, y},
                               {bar.right, y},
                               {bar.right, y - kScaleTickHeight}};
    // A white panel under the bar and its text, so no map line runs through the figures
    // (paper and ink change places on the night map).
    const QColor paper = resources.Colour(kPaperColour), ink = resources.Colour(0);
    painter.fillRect(bar.panel, paper);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(paper, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPolyline(bracket, 4);
    painter.setPen(QPen(ink, 1));
    painter.drawPolyline(bracket, 4);

    const int align = Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
    painter.setPen(paper);
    for (const QPoint& d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
        painter.drawText(bar.textBox.translated(d), align, bar.text);
    painter.setPen(ink);
    painter.drawText(bar.textBox, align, bar.text);
    painter.restore();
}

}  // namespace plovane
