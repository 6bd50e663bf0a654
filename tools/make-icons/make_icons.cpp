// SPDX-License-Identifier: GPL-3.0-or-later
// make-icons: draws the three symbol icon strips (primary table, alternate table, overlay
// characters) and writes them as PNG files with the transparent key colour 128,0,0.
//
//   make-icons [FOLDER]        writes primary.png, alternate.png, overlay.png (default
//                              data/icons of the source tree)
//   make-icons --sheet FILE    writes an enlarged contact sheet of all icons for review
//   make-icons --app-icon DIR  writes the application icon into an icon theme folder
//                              (DIR/<n>x<n>/apps/org.drennic.Plovane.png for each size)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "maps/render/icon_art.h"

namespace {

using plovane::IconStrip;

// Every icon at `scale`, one table per band of rows, 16 icons a row, on a checkerboard so
// the clear pixels show.
QImage ContactSheet(int scale) {
    const IconStrip strips[] = {IconStrip::kPrimary, IconStrip::kAlternate, IconStrip::kOverlay};
    const int cell = plovane::kIconSize * scale + 4;
    int rows = 0;
    for (IconStrip s : strips)
        rows += (plovane::IconCount(s) + 15) / 16;
    QImage sheet(16 * cell, rows * cell + 2 * 8, QImage::Format_RGB32);
    sheet.fill(QColor(90, 90, 90));
    QPainter p(&sheet);
    int top = 0;
    for (IconStrip s : strips) {
        const int count = plovane::IconCount(s);
        for (int i = 0; i < count; ++i) {
            const int x = (i % 16) * cell + 2;
            const int y = top + (i / 16) * cell + 2;
            for (int cy = 0; cy < 16; ++cy) {
                for (int cx = 0; cx < 16; ++cx) {
                    const bool dark = (cx + cy) % 2 == 0;
                    p.fillRect(x + cx * scale, y + cy * scale, scale, scale,
                               dark ? QColor(200, 220, 200) : QColor(235, 245, 235));
                }
            }
            const QImage icon = plovane::PaintIcon(s, i);
            p.drawImage(QRect(x, y, 16 * scale, 16 * scale), icon);
        }
        top += ((count + 15) / 16) * cell + 8;
    }
    return sheet;
}

// The application icon at `size` pixels, drawn for that size rather than scaled: a globe
// with a red station marker sending from it, on a rounded dark-blue tile. The small sizes
// leave out the graticule and the outer wave so the marker stays readable.
QImage AppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const bool small = size < 32;

    const QRectF tile(s * 0.03, s * 0.03, s * 0.94, s * 0.94);
    QLinearGradient sky(tile.topLeft(), tile.bottomLeft());
    sky.setColorAt(0, QColor(0x1f, 0x5f, 0x8b));
    sky.setColorAt(1, QColor(0x0c, 0x33, 0x4f));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(tile, s * 0.18, s * 0.18);

    // The globe, lower left.
    const QPointF centre(s * 0.44, s * 0.56);
    const double radius = s * 0.32;
    QRadialGradient sea(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.4);
    sea.setColorAt(0, QColor(0x7c, 0xc4, 0xee));
    sea.setColorAt(1, QColor(0x2a, 0x7f, 0xc0));
    p.setBrush(sea);
    p.drawEllipse(centre, radius, radius);
    // Two land masses, simple blobs clipped to the globe.
    QPainterPath globe;
    globe.addEllipse(centre, radius, radius);
    p.save();
    p.setClipPath(globe);
    p.setBrush(QColor(0x5f, 0xa8, 0x4a));
    p.drawEllipse(QPointF(centre.x() - radius * 0.45, centre.y() - radius * 0.25), radius * 0.42,
                  radius * 0.55);
    p.drawEllipse(QPointF(centre.x() + radius * 0.55, centre.y() + radius * 0.45), radius * 0.5,
                  radius * 0.35);
    if (!small) {
        QPen grid(QColor(255, 255, 255, 90), std::max(1.0, s / 96));
        p.setPen(grid);
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(centre.x() - radius, centre.y()),
                   QPointF(centre.x() + radius, centre.y()));
        p.drawEllipse(centre, radius * 0.45, radius);
        p.drawLine(QPointF(centre.x(), centre.y() - radius),
                   QPointF(centre.x(), centre.y() + radius));
    }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x0a, 0x2a, 0x40), std::max(1.0, s / 48)));
    p.drawEllipse(centre, radius, radius);

    // Radio waves from the marker towards the upper right.
    const QPointF marker(s * 0.50, s * 0.50);
    QPen wave(QColor(0xff, 0xd5, 0x4a), std::max(1.5, s / 20), Qt::SolidLine, Qt::RoundCap);
    p.setPen(wave);
    const int waves = small ? 1 : 2;
    for (int i = 0; i < waves; ++i) {
        const double r = s * (0.22 + 0.14 * i);
        p.drawArc(QRectF(marker.x() - r, marker.y() - r, 2 * r, 2 * r), 15 * 16, 60 * 16);
    }

    // The station: a red dot ringed in white.
    p.setPen(QPen(Qt::white, std::max(1.0, s / 32)));
    p.setBrush(QColor(0xd8, 0x2a, 0x20));
    const double dot = std::max(2.5, s * 0.09);
    p.drawEllipse(marker, dot, dot);
    return image;
}

int WriteAppIcons(const std::filesystem::path& folder) {
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path dir = folder / name / "apps";
        std::error_code error;
        std::filesystem::create_directories(dir, error);
        const std::filesystem::path file = dir / "org.drennic.Plovane.png";
        if (!AppIcon(size).save(QString::fromStdString(file.string()), "PNG")) {
            std::fprintf(stderr, "make-icons: cannot write %s\n", file.string().c_str());
            return 1;
        }
        std::printf("%s\n", file.string().c_str());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--sheet") == 0) {
        if (!ContactSheet(4).save(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "make-icons: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--app-icon") == 0)
        return WriteAppIcons(argv[2]);
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1])
                 : std::filesystem::path(PLOVANE_SOURCE_DIR) / "data" / "icons";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (IconStrip s : {IconStrip::kPrimary, IconStrip::kAlternate, IconStrip::kOverlay}) {
        const std::filesystem::path file = folder / plovane::IconFileName(s);
        if (!plovane::PaintIconStrip(s).save(QString::fromStdString(file.string()), "PNG")) {
            std::fprintf(stderr, "make-icons: cannot write %s\n", file.string().c_str());
            return 1;
        }
        std::printf("%s\n", file.string().c_str());
    }
    return 0;
}
