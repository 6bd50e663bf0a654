// SPDX-License-Identifier: GPL-3.0-or-later
// base-layer: draws a world map (the bundled Natural Earth coastlines and borders) into an
// MBTiles file of Web Mercator tiles, zoom 0 to 5: sea and land filled, lines on top. The
// program uses it under any tile source while real tiles are missing, so a machine that was
// never online still shows land and sea.
//   base-layer WORLD.map OUT.mbtiles [MAX-ZOOM]
//
// Land is told from sea by flood-filling the sea from the open ocean on a 4096-pixel
// Mercator picture of the coastlines; every zoom level is then drawn from that mask with its
// lines at the level's own resolution.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/geo.h"
#include "maps/map_file.h"
#include "maps/mbtiles.h"
#include "maps/web_mercator.h"

namespace {

using namespace plovane;

constexpr int kMaxZoom = 5;        // the bundled layer's; a deeper one is for measuring its size
constexpr int kMaskSize = 4096;    // zoom 4
constexpr int kBandHeight = 2048;  // pixels drawn at once at the deeper levels
constexpr int kCoastColour = 1;    // the world map's colour codes
const QColor kSea(170, 211, 223);
const QColor kLand(242, 239, 233);
const QColor kCoastLine(80, 120, 150);
const QColor kBorderLine(170, 150, 170);

// Open water, lat/lon degrees: the Arctic row is added by the fill itself; these reach seas
// whose straits close at the mask's resolution.
constexpr double kSeaSeeds[][2] = {
    {0, -150}, {-40, -30}, {-30, 80}, {35, 18},  {43, 34},  {58, 20},  {20, 38},
    {27, 51},  {60, -85},  {25, -90}, {15, -75}, {40, 135}, {55, 150}, {65.5, 38},
    {12, 115}, {-5, 125},  {37, 25},  {42, 5},   {55, 3},   {50, -60}, {60, -170},
};

// Map units to the picture's pixels for a world `size` pixels wide.
QPointF Pixel(const MapVectorPoint& p, double size) {
    // Lines broken at 180 E end on the last column, so that they close against the edge.
    const double unitsPerPixel = double(kMaxLongitude) / size;
    return {std::min(p.x / unitsPerPixel, size - 1.0),
            std::min((double(MercatorY(p.y)) - kMercatorTop) / unitsPerPixel, size - 1.0)};
}

// Draws the map's lines in their colours, or all in black three pixels wide for the land
// mask (wide enough to close the one-pixel gaps where one line ends and the next begins).
void DrawLines(QPainter& painter, const CMapData& map, double size, bool forMask) {
    std::vector<QPointF> line;
    int colour = -1;
    const auto flush = [&] {
        if (line.size() >= 2) {
            painter.setPen(forMask ? QPen(Qt::black, 3)
                                   : QPen(colour == kCoastColour ? kCoastLine : kBorderLine, 1));
            painter.drawPolyline(line.data(), static_cast<int>(line.size()));
        }
        line.clear();
        colour = -1;
    };
    for (const MapVectorPoint& p : map.points) {
        if (p.code == kMoveCode)
            flush();
        else if (colour < 0)
            colour = p.code;
        line.push_back(Pixel(p, size));
    }
    flush();
}

// Paints every white pixel reachable from (x, y) with `sea` (a span fill).
void FillSea(QImage& image, int x, int y, QRgb sea) {
    const QRgb white = qRgb(255, 255, 255);
    std::vector<QPoint> stack{{x, y}};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(p.y()));
        if (row[p.x()] != white)
            continue;
        int left = p.x(), right = p.x();
        while (left > 0 && row[left - 1] == white)
            --left;
        while (right + 1 < image.width() && row[right + 1] == white)
            ++right;
        for (int i = left; i <= right; ++i)
            row[i] = sea;
        for (int ny : {p.y() - 1, p.y() + 1}) {
            if (ny < 0 || ny >= image.height())
                continue;
            const auto* next = reinterpret_cast<const QRgb*>(image.constScanLine(ny));
            for (int i = left; i <= right; ++i) {
                if (next[i] == white && (i == left || next[i - 1] != white))
                    stack.push_back({i, ny});
            }
        }
    }
}

QImage LandMask(const CMapData& map) {
    QImage mask(kMaskSize, kMaskSize, QImage::Format_RGB32);
    mask.fill(Qt::white);
    {
        QPainter painter(&mask);
        DrawLines(painter, map, kMaskSize, true);
    }
    const QRgb sea = kSea.rgb();
    for (int x = 0; x < kMaskSize; ++x)
        FillSea(mask, x, 0, sea);  // the Arctic Ocean along the top edge
    for (const auto& seed : kSeaSeeds) {
        MapVectorPoint p;
        p.x = static_cast<int32_t>((seed[1] + 180) * kUnitsPerDegree);
        p.y = static_cast<int32_t>((90 - seed[0]) * kUnitsPerDegree);
        const QPointF at = Pixel(p, kMaskSize);
        FillSea(mask, int(at.x()), int(at.y()), sea);
    }
    // What the sea did not reach is land, coastline pixels included.
    const QRgb land = kLand.rgb();
    for (int y = 0; y < kMaskSize; ++y) {
        auto* row = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < kMaskSize; ++x) {
            if (row[x] != sea)
                row[x] = land;
        }
    }
    return mask;
}

bool WriteLevel(const CMapData& map, const QImage& mask, int z, MbtilesWriter& out) {
    const int size = kTileSize << z;
    const int band = std::min(size, kBandHeight);
    for (int top = 0; top < size; top += band) {
        QImage canvas(size, band, QImage::Format_RGB32);
        {
            QPainter painter(&canvas);
            const double scale = double(kMaskSize) / size;
            painter.drawImage(QRectF(0, 0, size, band), mask,
                              QRectF(0, top * scale, kMaskSize, band * scale));
            painter.translate(0, -top);
            DrawLines(painter, map, size, false);
        }
        for (int y = 0; y < band / kTileSize; ++y) {
            for (int x = 0; x < size / kTileSize; ++x) {
                const QImage tile = canvas.copy(x * kTileSize, y * kTileSize, kTileSize, kTileSize)
                                        .convertToFormat(QImage::Format_Indexed8,
                                                         Qt::ThresholdDither | Qt::AvoidDither);
                QByteArray png;
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                if (!tile.save(&buffer, "PNG") ||
                    !out.Add({z, x, top / kTileSize + y}, png.toStdString()))
                    return false;
            }
        }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int maxZoom = argc == 4 ? std::atoi(argv[3]) : kMaxZoom;
    if ((argc != 3 && argc != 4) || maxZoom < 0 || maxZoom > 8) {
        std::fprintf(stderr, "usage: base-layer WORLD.map OUT.mbtiles [MAX-ZOOM 0..8]\n");
        return 2;
    }
    QGuiApplication application(argc, argv);  // fonts and painting; no window is shown
    MapProgress quiet;
    const MapReadResult read = ReadMapFile(std::filesystem::path(argv[1]), quiet);
    if (!read.ok()) {
        std::fprintf(stderr, "base-layer: %s\n", read.error.c_str());
        return 1;
    }
    const QImage mask = LandMask(read.map);
    MbtilesWriter out;
    if (!out.Create(argv[2], "Plovane base layer", 0, maxZoom, "Made with Natural Earth")) {
        std::fprintf(stderr, "base-layer: %s\n", out.error().c_str());
        return 1;
    }
    for (int z = 0; z <= maxZoom; ++z) {
        if (!WriteLevel(read.map, mask, z, out)) {
            std::fprintf(stderr, "base-layer: cannot write zoom %d: %s\n", z, out.error().c_str());
            return 1;
        }
    }
    if (!out.Finish()) {
        std::fprintf(stderr, "base-layer: %s\n", out.error().c_str());
        return 1;
    }
    return 0;
}
