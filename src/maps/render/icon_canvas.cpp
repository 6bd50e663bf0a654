// SPDX-License-Identifier: GPL-3.0-or-later
// The pictogram canvas and its primitives.
#include "maps/render/icon_canvas.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>

#include "maps/render/pixel_font.h"

namespace plovane::icons {

namespace {

constexpr int kSize = 16;

// Whether pixel (x, y) lies in the disc.
bool InDisc(double cx, double cy, double r, int x, int y) {
    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    return dx * dx + dy * dy <= r * r + 0.01;
}

}  // namespace

Canvas::Canvas() : image_(kSize, kSize, QImage::Format_ARGB32) {
    image_.fill(Qt::transparent);
}

void Canvas::Px(int x, int y, const QColor& c) {
    if (x >= 0 && y >= 0 && x < kSize && y < kSize)
        image_.setPixelColor(x, y, c);
}

bool Canvas::Opaque(int x, int y) const {
    return x >= 0 && y >= 0 && x < kSize && y < kSize && qAlpha(image_.pixel(x, y)) != 0;
}

void Canvas::Box(int x, int y, int w, int h, const QColor& fill) {
    for (int py = y; py < y + h; ++py) {
        for (int px = x; px < x + w; ++px)
            Px(px, py, fill);
    }
}

void Canvas::Box(int x, int y, int w, int h, const QColor& fill, const QColor& edge) {
    Box(x, y, w, h, edge);
    Box(x + 1, y + 1, w - 2, h - 2, fill);
}

void Canvas::Disc(double cx, double cy, double r, const QColor& fill) {
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (InDisc(cx, cy, r, x, y))
                Px(x, y, fill);
        }
    }
}

void Canvas::Disc(double cx, double cy, double r, const QColor& fill, const QColor& edge) {
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (!InDisc(cx, cy, r, x, y))
                continue;
            const bool rim = !InDisc(cx, cy, r, x - 1, y) || !InDisc(cx, cy, r, x + 1, y) ||
                             !InDisc(cx, cy, r, x, y - 1) || !InDisc(cx, cy, r, x, y + 1);
            Px(x, y, rim ? edge : fill);
        }
    }
}

void Canvas::Ring(double cx, double cy, double r, const QColor& edge) {
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (!InDisc(cx, cy, r, x, y))
                continue;
            if (!InDisc(cx, cy, r, x - 1, y) || !InDisc(cx, cy, r, x + 1, y) ||
                !InDisc(cx, cy, r, x, y - 1) || !InDisc(cx, cy, r, x, y + 1))
                Px(x, y, edge);
        }
    }
}

void Canvas::Poly(std::initializer_list<QPointF> points, const QColor& fill, const QColor& edge) {
    QPolygonF polygon;
    for (const QPointF& p : points)
        polygon << p + QPointF(0.5, 0.5);
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(fill);
    painter.drawPolygon(polygon);
}

void Canvas::Poly(std::initializer_list<QPointF> points, const QColor& fill) {
    Poly(points, fill, fill);
}

void Canvas::Line(double x1, double y1, double x2, double y2, const QColor& c, int width) {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(c, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

void Canvas::Arc(double cx, double cy, double r, int startDegrees, int spanDegrees, const QColor& c,
                 int width) {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawArc(QRectF(cx - r + 0.5, cy - r + 0.5, 2 * r, 2 * r), startDegrees * 16,
                    spanDegrees * 16);
}

void Canvas::Glyph(char ch, int x, int y, const QColor& ink) {
    DrawGlyph5x7(image_, x, y, ch, ink);
}

void Canvas::HaloGlyph(char ch, int x, int y, const QColor& ink, const QColor& halo) {
    for (int gy = -1; gy <= 7; ++gy) {
        for (int gx = -1; gx <= 5; ++gx) {
            if (GlyphPixel5x7(ch, gx, gy))
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = GlyphPixel5x7(ch, gx + dx, gy + dy);
            }
            if (near)
                Px(x + gx, y + gy, halo);
        }
    }
    Glyph(ch, x, y, ink);
}

void Canvas::Small(std::string_view text, int y, const QColor& ink) {
    Small(text, 7 - (TextWidth3x5(text) - 1) / 2, y, ink);
}

void Canvas::Small(std::string_view text, int x, int y, const QColor& ink) {
    DrawText3x5(image_, x, y, text, ink);
}

void Canvas::Outline(const QColor& edge) {
    const QImage before = image_;
    auto opaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kSize && y < kSize && qAlpha(before.pixel(x, y)) != 0;
    };
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (opaque(x, y))
                continue;
            if (opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1))
                Px(x, y, edge);
        }
    }
}

// --- Shared pictograms ---

void DrawWheel(Canvas& c, int cx, int cy) {
    c.Box(cx - 1, cy - 1, 3, 3, kInk);
    c.Px(cx, cy - 2, kInk);
    c.Px(cx, cy + 2, kInk);
    c.Px(cx - 2, cy, kInk);
    c.Px(cx + 2, cy, kInk);
    c.Px(cx, cy, kLightGrey);
}

void DrawVehicle(Canvas& c, Vehicle kind, const QColor& body) {
    const QColor glass = kSky;
    switch (kind) {
        case Vehicle::kCar:
        case Vehicle::kPolice:
            // Low body, cabin with two windows, two wheels; facing right.
            c.Box(1, 7, 14, 4, body, kInk);
            c.Poly({{4, 7}, {5, 3}, {10, 3}, {12, 7}}, body, kInk);
            c.Box(6, 4, 2, 3, glass);
            c.Poly({{9, 4}, {10, 4}, {11, 6}, {9, 6}}, glass);
            if (kind == Vehicle::kPolice) {
                c.Box(7, 1, 2, 2, kBlue);
                c.Box(2, 8, 12, 1, kWhite);
            }
            DrawWheel(c, 4, 11);
            DrawWheel(c, 11, 11);
            break;
        case Vehicle::kJeep:
            // Boxy, open top with a roll bar and a spare wheel at the back.
            c.Box(2, 6, 12, 5, body, kInk);
            c.Line(4, 6, 4, 2, kInk);
            c.Line(4, 2, 8, 2, kInk);
            c.Line(10, 6, 11, 3, kInk);
            c.Box(0, 6, 2, 4, kInk);
            c.Box(9, 7, 2, 2, glass);
            DrawWheel(c, 5, 11);
            DrawWheel(c, 11, 11);
            break;
        case Vehicle::kVan:
            c.Poly({{1, 3}, {11, 3}, {14, 7}, {14, 11}, {1, 11}}, body, kInk);
            c.Poly({{10, 4}, {11, 4}, {13, 7}, {10, 7}}, glass);
            c.Box(3, 4, 2, 3, glass);
            c.Box(6, 4, 3, 3, glass);
            DrawWheel(c, 4, 11);
            DrawWheel(c, 11, 11);
            break;
        case Vehicle::kTruck:
            // Cargo box behind a cab.
            c.Box(0, 2, 10, 9, body, kInk);
            c.Poly({{10, 5}, {13, 5}, {15, 8}, {15, 11}, {10, 11}}, kLightGrey, kInk);
            c.Box(11, 6, 2, 2, glass);
            DrawWheel(c, 3, 11);
            DrawWheel(c, 12, 11);
            break;
        case Vehicle::kSemi:
            c.Box(0, 3, 11, 7, body, kInk);
            c.Poly({{11, 5}, {13, 5}, {15, 7}, {15, 10}, {11, 10}}, kRed, kInk);
            c.Box(12, 6, 2, 1, glass);
            DrawWheel(c, 2, 11);
            DrawWheel(c, 6, 11);
            DrawWheel(c, 13, 11);
            break;
        case Vehicle::kBus:
            c.Box(0, 3, 16, 8, body, kInk);
            for (int x = 2; x <= 12; x += 3)
                c.Box(x, 5, 2, 2, glass);
            c.Box(14, 5, 1, 3, glass);
            c.Box(1, 8, 14, 1, kInk);
            DrawWheel(c, 3, 11);
            DrawWheel(c, 12, 11);
            break;
        case Vehicle::kRv:
            c.Poly({{0, 2}, {12, 2}, {12, 5}, {15, 7}, {15, 11}, {0, 11}}, body, kInk);
            c.Box(2, 4, 3, 2, glass);
            c.Box(7, 4, 3, 2, glass);
            c.Poly({{12, 6}, {14, 8}, {12, 8}}, glass);
            c.Box(1, 8, 10, 1, kBrown);
            DrawWheel(c, 4, 11);
            DrawWheel(c, 12, 11);
            break;
        case Vehicle::kAmbulance:
            c.Poly({{0, 3}, {10, 3}, {10, 5}, {13, 5}, {15, 8}, {15, 11}, {0, 11}}, kWhite, kInk);
            c.Box(11, 6, 2, 2, glass);
            c.Box(4, 4, 2, 6, kRed);
            c.Box(2, 6, 6, 2, kRed);
            c.Box(8, 1, 2, 2, kRed);
            DrawWheel(c, 3, 11);
            DrawWheel(c, 12, 11);
            break;
        case Vehicle::kFireTruck:
            c.Box(0, 5, 16, 6, kRed, kInk);
            c.Box(12, 6, 2, 2, glass);
            // The ladder on top.
            c.Line(1, 3, 11, 3, kLightGrey);
            c.Line(1, 4, 11, 4, kInk);
            for (int x = 2; x <= 10; x += 2)
                c.Px(x, 3, kInk);
            c.Box(1, 8, 10, 1, kWhite);
            DrawWheel(c, 3, 11);
            DrawWheel(c, 12, 11);
            break;
    }
}

void DrawHouse(Canvas& c, Antenna antenna, const QColor& roof) {
    c.Box(3, 8, 9, 7, kWhite, kInk);
    c.Poly({{1, 8}, {7, 3}, {13, 8}}, roof, kInk);
    c.Box(6, 11, 3, 4, kBrown);
    switch (antenna) {
        case Antenna::kVertical:
            c.Line(12, 0, 12, 7, kInk);
            c.Px(11, 1, kInk);
            c.Px(13, 1, kInk);
            break;
        case Antenna::kYagi:
            c.Line(11, 1, 11, 6, kInk);
            c.Line(8, 1, 15, 1, kInk);
            for (int x = 9; x <= 14; x += 2) {
                c.Px(x, 0, kInk);
                c.Px(x, 2, kInk);
            }
            break;
        case Antenna::kNone:
            break;
    }
}

void DrawCloud(Canvas& c, int dy, const QColor& fill) {
    Canvas cloud;
    cloud.Disc(5.0, 6.5 + dy, 3.0, fill);
    cloud.Disc(9.0, 5.0 + dy, 4.0, fill);
    cloud.Disc(12.5, 7.0 + dy, 2.5, fill);
    cloud.Box(3, 6 + dy, 11, 3, fill);
    cloud.Outline(kGrey);
    QPainter painter(&c.image());
    painter.drawImage(0, 0, cloud.image());
}

void DrawRainDrops(Canvas& c, const QColor& colour) {
    for (int x : {3, 7, 11}) {
        c.Line(x + 1, 11, x, 14, colour);
    }
}

void DrawSnowflake(Canvas& c, int cx, int cy, int arm, const QColor& colour) {
    c.Line(cx - arm, cy, cx + arm, cy, colour);
    c.Line(cx, cy - arm, cx, cy + arm, colour);
    const int d = arm * 3 / 4;
    c.Line(cx - d, cy - d, cx + d, cy + d, colour);
    c.Line(cx - d, cy + d, cx + d, cy - d, colour);
}

void DrawAircraft(Canvas& c, bool large, const QColor& colour) {
    // Top view, nose up.
    if (large) {
        // A jet: swept wings and tailplane.
        c.Poly({{7, 0}, {8, 0}, {8, 13}, {7, 13}}, colour);
        c.Poly({{7, 4}, {8, 4}, {15, 9}, {15, 10}, {8, 8}, {7, 8}, {0, 10}, {0, 9}}, colour);
        c.Poly({{7, 11}, {8, 11}, {11, 14}, {11, 15}, {4, 15}, {4, 14}}, colour);
        c.Px(5, 8, colour);
        c.Px(10, 8, colour);
    } else {
        // A light aircraft: straight wings, a propeller at the nose.
        c.Box(7, 1, 2, 13, colour);
        c.Poly({{1, 4}, {14, 4}, {14, 6}, {9, 7}, {6, 7}, {1, 6}}, colour);
        c.Box(5, 12, 6, 2, colour);
        c.Box(5, 0, 6, 1, kInk);
    }
    c.Outline(kWhite);
}

void DrawShip(Canvas& c, const QColor& hull) {
    c.Poly({{0, 9}, {15, 9}, {13, 13}, {2, 13}}, hull, kInk);
    c.Box(4, 5, 7, 4, kWhite, kInk);
    c.Box(6, 2, 2, 3, kInk);
    c.Box(5, 6, 1, 1, kSky);
    c.Box(7, 6, 1, 1, kSky);
    c.Box(9, 6, 1, 1, kSky);
    c.Line(0, 15, 15, 15, kBlue);
}

void DrawSailboat(Canvas& c) {
    c.Line(7, 0, 7, 11, kInk);
    c.Poly({{8, 1}, {14, 10}, {8, 10}}, kWhite, kInk);
    c.Poly({{6, 3}, {6, 10}, {2, 10}}, kWhite, kInk);
    c.Poly({{1, 11}, {14, 11}, {12, 14}, {3, 14}}, kBrown, kInk);
}

void DrawStar(Canvas& c, const QColor& fill) {
    // Five points around (7.5, 8).
    QPointF p[10];
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 == 0 ? 7.6 : 3.2;
        p[i] = QPointF(7 + r * std::cos(a), 8.2 + r * std::sin(a));
    }
    c.Poly({p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9]}, fill, kInk);
}

void DrawDiamond(Canvas& c, const QColor& fill) {
    c.Poly({{7, 0}, {14, 7}, {7, 14}, {0, 7}}, fill, kInk);
}

void DrawSun(Canvas& c, int cx, int cy, int r) {
    for (int a = 0; a < 360; a += 45) {
        const double rad = a * M_PI / 180;
        c.Line(cx + (r + 1) * std::cos(rad), cy + (r + 1) * std::sin(rad),
               cx + (r + 2.6) * std::cos(rad), cy + (r + 2.6) * std::sin(rad), kOrange);
    }
    c.Disc(cx + 0.5, cy + 0.5, r, kYellow, kOrange);
}

void DrawBolt(Canvas& c, int dx, int dy) {
    c.Poly({{6.0 + dx, 0.0 + dy},
            {10.0 + dx, 0.0 + dy},
            {8.0 + dx, 3.0 + dy},
            {10.0 + dx, 3.0 + dy},
            {5.0 + dx, 9.0 + dy},
            {6.0 + dx, 5.0 + dy},
            {4.0 + dx, 5.0 + dy}},
           kYellow, kInk);
}

void DrawHurricane(Canvas& c, const QColor& colour) {
    // The storm symbol: a ring with two curved arms, one leaving up and one down.
    c.Arc(11.0, 7.5, 6.0, 90, 90, colour, 2);
    c.Arc(4.0, 7.5, 6.0, 270, 90, colour, 2);
    c.Disc(7.5, 7.5, 3.2, colour);
    c.Disc(7.5, 7.5, 1.3, kWhite);
}

void DrawFunnel(Canvas& c, const QColor& colour) {
    c.Poly({{1, 1}, {14, 1}, {9, 8}, {8, 14}, {7, 14}, {6, 8}}, colour, kInk);
    c.Line(3, 3, 12, 3, kInk);
    c.Line(5, 6, 10, 6, kInk);
}

void DrawFlame(Canvas& c) {
    c.Poly({{7, 0}, {12, 6}, {13, 10}, {11, 14}, {4, 14}, {2, 10}, {3, 6}, {5, 8}}, kRed, kDarkRed);
    c.Poly({{7, 6}, {10, 10}, {9, 13}, {6, 13}, {5, 10}}, kYellow, kOrange);
}

void DrawFuelPump(Canvas& c, const QColor& body) {
    c.Box(2, 2, 8, 13, body, kInk);
    c.Box(4, 4, 4, 3, kWhite);
    c.Line(10, 5, 13, 7, kInk);
    c.Line(13, 7, 13, 12, kInk);
    c.Line(1, 15, 11, 15, kInk);
}

void DrawTextPlate(Canvas& c, std::string_view text, const QColor& fill, const QColor& ink) {
    c.Box(0, 3, 16, 10, fill, kInk);
    c.Small(text, 6, ink);
}

void DrawLetterDisc(Canvas& c, char ch, const QColor& fill, const QColor& ink) {
    c.Disc(7.5, 7.5, 7.0, fill, kInk);
    c.Glyph(ch, ink);
}

void DrawLetterSquare(Canvas& c, char ch, const QColor& fill, const QColor& ink) {
    c.Box(1, 1, 13, 13, fill, kInk);
    c.Glyph(ch, ink);
}

}  // namespace plovane::icons
