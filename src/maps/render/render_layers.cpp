// The map's own layers: vectors (polylines and filled polygons) and labels.
#include <algorithm>
#include <limits>

#include "maps/render/clip.h"
#include "maps/render/render_internal.h"

namespace plovane {

namespace {

// One polyline being collected from the point table.
struct PendingShape {
    std::vector<QPoint> vertices;                        // pixels
    int colour = -1;                                     // the code of the first draw record
    bool heavy = false;                                  // move record bit 0
    bool filled = false;                                 // draw record bit 7
    uint8_t fillAttributes = 0;                          // the last draw record's attributes
    int32_t left = std::numeric_limits<int32_t>::max();  // bounding box, map units
    int32_t right = std::numeric_limits<int32_t>::min();
    int32_t top = std::numeric_limits<int32_t>::max();
    int32_t bottom = std::numeric_limits<int32_t>::min();

    void Add(const MapVectorPoint& p, const MapProjection& projection) {
        const PixelPoint px = projection.MapToScreen(p.x, p.y);
        vertices.emplace_back(px.x, px.y);
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    bool Meets(const MapBox& box) const {
        return right >= box.left && left <= box.right && bottom >= box.top && top <= box.bottom;
    }
};

void DrawShape(MapPainter& out, PendingShape& shape, const MapBox& cull, const QRect& guard,
               bool outlineOnly) {
    if (shape.vertices.size() < 2 || !shape.Meets(cull))
        return;
    const int colour =
        shape.colour >= 0 && shape.colour < kPaletteSize ? shape.colour : kVectorFallbackColour;
    out.SelectPen(shape.heavy ? kHeavyPen + colour : colour);
    out.SetBackgroundColour(PaletteColour(colour));
    if (shape.filled && shape.vertices.size() >= 3 && outlineOnly)
        shape.vertices.push_back(shape.vertices.front());
    else if (shape.filled && shape.vertices.size() >= 3) {
        // An attribute of exactly 128 names no brush: the one selected last stays.
        if (shape.fillAttributes > 128)
            out.SelectBrush((shape.fillAttributes - 1) & 7);
        const std::vector<QPoint> polygon = ClipPolygon(shape.vertices, guard);
        if (polygon.size() >= 3)
            out.Polygon(polygon.data(), static_cast<int>(polygon.size()));
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
    for (size_t i = 0; i < map.points.size(); ++i) {
        if (i % kProgressPointStep == 0)
            progress.Report(done + static_cast<int64_t>(i));
        const MapVectorPoint& p = map.points[i];
        if (!IsDetailShown(p.level, threshold))
            continue;
        if (p.code == kMoveCode) {
            DrawShape(out, shape, cull, guard, outlineOnly);
            shape = PendingShape();
            shape.heavy = (p.attributes & 1) != 0;
            shape.Add(p, projection);
            continue;
        }
        if (shape.colour < 0)
            shape.colour = p.code;
        shape.filled = (p.attributes & 0x80) != 0;
        shape.fillAttributes = p.attributes;
        shape.Add(p, projection);
    }
    DrawShape(out, shape, cull, guard, outlineOnly);
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
        out.SetTextColour(PaletteColour(colour));
        const PixelPoint anchor = projection.MapToScreen(label.x, label.y);
        const int sx = anchor.x;
        const int sy = anchor.y;
        const std::string& text = label.text;
        if (!text.empty() && text[0] == '#') {
            const int font = RotatedLabelFont(LabelAngle(text));
            const QString shown =
                render::DisplayText(text.size() > 4 ? text.substr(4) : std::string());
            out.RotatedText(sx, sy, font * kRotatedFontStepDegrees, shown);
        } else if (!text.empty() && text[0] == '$') {
            if (text.size() > 1)
                icons.Draw(painter, IconStrip::kPrimary, static_cast<unsigned char>(text[1]) - 32,
                           sx - 8, sy - 8);
            const QString shown =
                render::DisplayText(text.size() > 3 ? text.substr(3) : std::string());
            out.Text(QRect(sx - 25, sy + 8, 50, 23), Qt::AlignHCenter | Qt::AlignTop, shown);
        } else if (label.code & 0x80) {
            out.Text(QRect(sx, sy - 5, 50, 10), Qt::AlignLeft | Qt::AlignTop,
                     render::DisplayText(text));
        } else {
            out.Text(QRect(sx - 50, sy - 5, 50, 10), Qt::AlignRight | Qt::AlignTop,
                     render::DisplayText(text));
        }
    }
    done += 10 * static_cast<int64_t>(map.labels.size());
}

}  // namespace plovane
