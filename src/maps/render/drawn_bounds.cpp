// SPDX-License-Identifier: GPL-3.0-or-later
// The bounds-only paint engine. Everything QPaintEngine does not pass on as a shape itself
// (lines, rectangles, ellipses, points) arrives here as polygons or paths.
#include "maps/render/drawn_bounds.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextItem>
#include <algorithm>

namespace plovane {

class DrawnBoundsEngine final : public QPaintEngine {
  public:
    DrawnBoundsEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyPen)
            pen_ = state.pen();
        if (state.state() & QPaintEngine::DirtyTransform)
            transform_ = state.transform();
    }

    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { Add(r, false); }
    void drawImage(const QRectF& r, const QImage&, const QRectF&,
                   Qt::ImageConversionFlags) override {
        Add(r, false);
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap&, const QPointF&) override {
        Add(r, false);
    }
    void drawPath(const QPainterPath& path) override { Add(path.controlPointRect(), true); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
        if (count > 0)
            Add(QPolygonF(QList<QPointF>(points, points + count)).boundingRect(), true);
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
        QList<QPointF> f;
        f.reserve(count);
        for (int i = 0; i < count; ++i)
            f.append(points[i]);
        drawPolygon(f.data(), count, mode);
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        Add(QRectF(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent()),
            false);
    }

    QRectF bounds;

  private:
    // A stroked shape reaches half the pen's width beyond its outline (a cosmetic pen one
    // pixel), and a pixel more where the pen is smoothed.
    void Add(const QRectF& r, bool stroked) {
        QRectF box = transform_.mapRect(r);
        if (stroked && pen_.style() != Qt::NoPen) {
            const qreal half = std::max<qreal>(pen_.widthF(), 1) / 2 + 1;
            box.adjust(-half, -half, half, half);
        }
        bounds = bounds.isNull() ? box : bounds.united(box);
    }

    QPen pen_;
    QTransform transform_;
};

DrawnBounds::DrawnBounds() : engine_(std::make_unique<DrawnBoundsEngine>()) {}

DrawnBounds::~DrawnBounds() = default;

QRect DrawnBounds::bounds() const {
    return engine_->bounds.toAlignedRect();
}

QPaintEngine* DrawnBounds::paintEngine() const {
    return engine_.get();
}

int DrawnBounds::metric(PaintDeviceMetric metric) const {
    switch (metric) {
        // Room for anything: the box is what counts, not the size.
        case PdmWidth:
        case PdmHeight:
            return 1 << 20;
        case PdmWidthMM:
        case PdmHeightMM:
            return (1 << 20) * 254 / 960;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;  // as the map's images
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 0;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
    }
}

}  // namespace plovane
