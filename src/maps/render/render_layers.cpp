// SPDX-License-Identifier: GPL-3.0-or-later
// The map's own layers: vectors (polylines and filled polygons) and labels.
#include <algorithm>
#include <limits>

#include "maps/render/clip.h"
#include "maps/render/render_internal.h"

namespace plovane {

namespace {

// One polyline being collected from the point table: its points in map units and their
// bounding box, so that a shape outside the view is dropped before any point is projected.
// The buffers are reused from shape to shape.
struct PendingShape {
    std::vector<MapPoint> points;
    std::vector<QPoint> vertices;                      // pixels, filled by Project
    int colour = -1;                                   // the code of the first draw record
    bool heavy = false;                                // move record bit 0
    bool filled = false;                               // draw record bit 7
    uint8_t fillAttributes = 0;                        // the last draw record's attributes
    int32_t left = 0, right = 0, top = 0, bottom = 0;  // bounding box, map units

    void Start(bool heavyPen) {
        points.clear();
        colour = -1;
        heavy = heavyPen;
        filled = false;
        fillAttributes = 0;
        left = top = std::numeric_limits<int32_t>::max();
        right = bottom = std::numeric_limits<int32_t>::min();
    }
    void Add(const MapVectorPoint& p) {
        points.push_back({p.x, p.y});
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    bool Meets(const MapBox& box) const {
        return right >= box.left && left <= box.right && bottom >= box.top && top <= box.bottom;
    }
    // Projects the points into `vertices`. With `merge`, a point on the same pixel as the one
    // before it is left out (inside the guard, where clipping keeps it as it is): the thin
    // pen draws the same pixels either way, and a dense map far zoomed out has many.
    // Returns whether every vertex lies inside the guard.
    bool Project(const MapProjection& projection, const QRect& guard, bool merge) {
        vertices.clear();
        bool inside = true;
        for (const MapPoint& p : points) {
            const PixelPoint px = projection.MapToScreen(p.x, p.y);
            const QPoint v(px.x, px.y);
            const bool in = guard.contains(v);
            inside = inside && in;
            if (merge && in && !vertices.empty() && vertices.back() == v)
                continue;
            vertices.push_back(v);
        }
        // Two vertices at least, as the painter was given before.
        if (vertices.size() == 1)
            vertices.push_back(vertices.front());
        return inside;
    }
};

void DrawShape(MapPainter& out, PendingShape& shape, const MapBox& cull, const QRect& guard,
               const MapProjection& projection, bool outlineOnly) {
    if (shape.points.size() < 2 || !shape.Meets(cull))
        return;
    const int colour =
        shape.colour >= 0 && shape.colour < kPaletteSize ? shape.colour : kVectorFallbackColour;
    out.SelectPen(shape.heavy ? kHeavyPen + colour : colour);
    out.SetBackgroundColour(out.resources().Colour(colour));
    const bool polygon = shape.filled && shape.points.size() >= 3;
    if (polygon && !outlineOnly) {
        shape.Project(projection, guard, false);
        // An attribute of exactly 128 names no brush: the one selected last stays.
        if (shape.fillAttributes > 128)
            out.SelectBrush((shape.fillAttributes - 1) & 7);
        const std::vector<QPoint> clipped = ClipPolygon(shape.vertices, guard);
        if (clipped.size() >= 3)
            out.Polygon(clipped.data(), static_cast<int>(clipped.size()));
        return;
    }
    // The thin pen's dashes close over the background of its colour: draw the solid line.
    if (!shape.heavy)
        out.SelectPen(kSolidThinPen + colour);
    const bool inside = shape.Project(projection, guard, !shape.heavy);
    if (polygon)
        shape.vertices.push_back(shape.vertices.front());
    if (inside) {
        out.Polyline(shape.vertices.data(), static_cast<int>(shape.vertices.size()));
        return;
    }
    for (const std::vector<QPoint>& run : ClipPolyline(shape.vertices, guard))
        out.Polyline(run.data(), static_cast<int>(run.size()));
}

// The angle digits of a rotated label ("#090Main St"): up to three digits, stopping at the
// first that is not one.
int LabelAngle(const std::string& text) {
    int n = 0;
    for (size_t i = 1; i < text.size() && i <= 3; ++i) {
        if (text[i] < '0' || text[i] > '9')
            break;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

}  // namespace

int RotatedLabelFont(int angle) {
    const int v = std::clamp((angle * 10 + 25) / 50, 0, kRotatedFontCount - 1);
    return ((53 - v) % kRotatedFontCount + kRotatedFontCount) % kRotatedFontCount;
}

void DrawVectors(MapPainter& out, const CMapData& map, const MapProjection& projection,
                 int32_t threshold, ProgressMeter& progress, int64_t& done, bool outlineOnly) {
    const MapBox cull = CullBox(projection, 0);
    const QRect guard = ClipGuard(projection.areaWidth(), projection.areaHeight());
    out.SetOpaque(true);
    out.SelectWhiteBrush();
    PendingShape shape;
    shape.Start(false);
    for (size_t i = 0; i < map.points.size(); ++i) {
        if (i % kProgressPointStep == 0)
            progress.Report(done + static_cast<int64_t>(i));
        const MapVectorPoint& p = map.points[i];
        if (!IsDetailShown(p.level, threshold))
            continue;
        if (p.code == kMoveCode) {
            DrawShape(out, shape, cull, guard, projection, outlineOnly);
            shape.Start((p.attributes & 1) != 0);
            shape.Add(p);
            continue;
        }
        if (shape.colour < 0)
            shape.colour = p.code;
        shape.filled = (p.attributes & 0x80) != 0;
        shape.fillAttributes = p.attributes;
        shape.Add(p);
    }
    DrawShape(out, shape, cull, guard, projection, outlineOnly);
    done += static_cast<int64_t>(map.points.size());
}

void DrawLabels(MapPainter& out, const CMapData& map, const MapProjection& projection,
                int32_t threshold, const CSymbolIcons& icons, ProgressMeter& progress,
                int64_t& done) {
    const MapBox cull = CullBox(projection, CullMargin(projection.view()));
    out.SetOpaque(false);
    out.SelectFont(MapFont::kNormal12);
    out.SelectPen(0);
    QPainter& painter = out.painter();
    for (size_t i = 0; i < map.labels.size(); ++i) {
        if (i % kProgressItemStep == 0)
            progress.Report(done + 10 * static_cast<int64_t>(i));
        const MapLabel& label = map.labels[i];
        if (!IsDetailShown(label.level, threshold))
            continue;
        if (!(label.x > cull.left && label.x < cull.right && label.y > cull.top &&
              label.y < cull.bottom))
            continue;
        int colour = label.code & 127;
        if (colour > 32)
            colour = kLabelFallbackColour;
        out.SetTextColour(out.resources().Colour(colour));
        const PixelPoint anchor = projection.MapToScreen(label.x, label.y);
        const int sx = anchor.x;
        const int sy = anchor.y;
        const std::string& text = label.text;
        if (!text.empty() && text[0] == '#') {
            const int font = RotatedLabelFont(LabelAngle(text));
            const QString shown = DisplayText(text.size() > 4 ? text.substr(4) : std::string());
            out.RotatedText(sx, sy, font * kRotatedFontStepDegrees, shown);
        } else if (!text.empty() && text[0] == '$') {
            if (text.size() > 1)
                icons.Draw(painter, IconStrip::kPrimary, static_cast<unsigned char>(text[1]) - 32,
                           sx - 8, sy - 8);
            const QString shown = DisplayText(text.size() > 3 ? text.substr(3) : std::string());
            out.Text(QRect(sx - 25, sy + 8, 50, 23), Qt::AlignHCenter | Qt::AlignTop, shown);
        } else if (label.code & 0x80) {
            out.Text(QRect(sx, sy - 5, 50, 10), Qt::AlignLeft | Qt::AlignTop, DisplayText(text));
        } else {
            out.Text(QRect(sx - 50, sy - 5, 50, 10), Qt::AlignRight | Qt::AlignTop,
                     DisplayText(text));
        }
    }
    done += 10 * static_cast<int64_t>(map.labels.size());
}

}  // namespace plovane
