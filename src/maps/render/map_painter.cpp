// SPDX-License-Identifier: GPL-3.0-or-later
// The map's painter state, progress and culling helpers.
#include <QStringDecoder>
#include <QTextLayout>
#include <algorithm>

#include "maps/render/render_internal.h"

namespace plovane {

QString DisplayText(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

MapPainter::MapPainter(QPainter& painter, const RenderResources& resources)
    : painter_(painter), resources_(resources) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

void MapPainter::SelectFont(MapFont font) {
    painter_.setFont(resources_.Font(font));
}

void MapPainter::SetBackgroundColour(const QColor& colour) {
    if (painter_.background().color() != colour ||
        painter_.background().style() != Qt::SolidPattern)
        painter_.setBackground(QBrush(colour));
}

void MapPainter::SetOpaque(bool opaque) {
    const Qt::BGMode mode = opaque ? Qt::OpaqueMode : Qt::TransparentMode;
    if (painter_.backgroundMode() != mode)
        painter_.setBackgroundMode(mode);
}

void MapPainter::ApplyPen() {
    if (appliedPen_ == pen_)
        return;
    painter_.setPen(resources_.Pen(pen_));
    appliedPen_ = pen_;
}

void MapPainter::ApplyTextPen() {
    if (appliedPen_ == kTextPen && appliedTextColour_ == text_)
        return;
    painter_.setPen(QPen(text_));
    appliedPen_ = kTextPen;
    appliedTextColour_ = text_;
}

void MapPainter::ApplyBrush() {
    if (appliedBrush_ == brush_)
        return;
    painter_.setBrush(brush_ == kWhiteBrush ? QBrush(Qt::white) : QBrush(BrushColour(brush_)));
    appliedBrush_ = brush_;
}

void MapPainter::Line(int x1, int y1, int x2, int y2) {
    ApplyPen();
    painter_.drawLine(x1, y1, x2, y2);
}

void MapPainter::Polyline(const QPoint* points, int count) {
    ApplyPen();
    painter_.drawPolyline(points, count);
}

void MapPainter::Polygon(const QPoint* points, int count) {
    ApplyPen();
    ApplyBrush();
    painter_.drawPolygon(points, count, Qt::OddEvenFill);
}

void MapPainter::Text(const QRect& box, int alignment, const QString& text) {
    ApplyTextPen();
    painter_.drawText(box, alignment | Qt::TextSingleLine | Qt::TextDontClip, text);
}

void MapPainter::HaloText(const QRect& box, const QString& text) {
    // As the painter lays out one line for a rectangle: the line at the top-left corner, its
    // first line's leading not counted.
    if (text.contains(QChar('\t'))) {
        // Tab stops are the rectangle text's own: draw the copies that way.
        const int align = Qt::AlignLeft | Qt::AlignTop;
        SetTextColour(Qt::white);
        for (const QPoint d : kHaloOffsets)
            Text(box.translated(d), align, text);
        SetTextColour(Qt::black);
        Text(box, align, text);
        return;
    }
    QString shown = text;
    shown.replace(QChar('\n'), QChar(' ')).replace(QChar('\r'), QChar(' '));
    QTextLayout layout(shown, painter_.font(), painter_.device());
    QTextOption option;
    option.setWrapMode(QTextOption::ManualWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, 0));
    }
    layout.endLayout();
    SetTextColour(Qt::white);
    ApplyTextPen();
    for (const QPoint d : kHaloOffsets)
        layout.draw(&painter_, QPointF(box.left() + d.x(), box.top() + d.y()));
    SetTextColour(Qt::black);
    ApplyTextPen();
    layout.draw(&painter_, QPointF(box.left(), box.top()));
}

void MapPainter::RotatedText(int x, int y, int degrees, const QString& text) {
    ApplyTextPen();
    const int ascent = painter_.fontMetrics().ascent();
    painter_.save();
    painter_.translate(x, y);
    painter_.rotate(-degrees);
    painter_.drawText(0, ascent, text);
    painter_.restore();
}

void ProgressMeter::Report(int64_t done) {
    const int percent = static_cast<int>(std::clamp<int64_t>(done * 100 / total_, 0, 100));
    if (percent == lastPercent_)
        return;
    lastPercent_ = percent;
    progress_.Step(percent);
}

int64_t CullMargin(const MapBox& view) {
    return std::max(view.Width(), view.Height()) / 2;
}

MapBox CullBox(const MapProjection& projection, int64_t margin) {
    const MapBox& v = projection.view();
    return {ClampToInt32(v.left - margin),
            ClampToInt32(v.right + margin + int64_t{kBitmapExtraWidth} * projection.ux()),
            ClampToInt32(v.top - margin),
            ClampToInt32(v.bottom + margin + int64_t{kBitmapExtraHeight} * projection.uy())};
}

}  // namespace plovane
