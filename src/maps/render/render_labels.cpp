// SPDX-License-Identifier: GPL-3.0-or-later
// Station calls placed together after the symbols, so that none covers another.
#include "maps/label_placement.h"
#include "maps/render/render_internal.h"

namespace plovane {

void DrawCallText(MapPainter& out, const QRect& box, const QString& call, bool opaque) {
    if (!opaque) {
        out.HaloText(box, call);
        return;
    }
    out.SetTextColour(Qt::black);
    out.Text(box, Qt::AlignLeft | Qt::AlignTop, call);
}

namespace {

LabelRequest CallRequest(const QFontMetrics& metrics, const QString& text, PixelPoint anchor,
                         int priority) {
    LabelRequest r;
    r.anchor = anchor;
    r.width = metrics.horizontalAdvance(text) + 2;
    r.height = metrics.height();
    r.priority = priority;
    return r;
}

// The text box inside a placed label box (a pixel of room each side).
QRect TextBox(const PixelRect& b) {
    return QRect(b.left + 1, b.top, static_cast<int>(b.Width()) - 2, static_cast<int>(b.Height()));
}

}  // namespace

std::optional<QRect> PlacedCallBox(const CallLabels& labels, const std::string& call) {
    const auto found = labels.byCall.find(call);
    if (found == labels.byCall.end() || !found->second.placement.shown)
        return std::nullopt;
    return TextBox(found->second.placement.box);
}

int CallPriority(const StationSprite& sprite, const std::string& ownCall,
                 const std::string& selectedCall) {
    return sprite.call == ownCall        ? kLabelPriorityOwn
           : sprite.call == selectedCall ? kLabelPrioritySelected
           : sprite.moving               ? kLabelPriorityMoving
                                         : kLabelPriorityOther;
}

void DrawStationLabels(MapPainter& out, const std::vector<StationSprite>& sprites,
                       const std::vector<char>& drawn, const MapProjection& projection,
                       const CMapOptions& options, const std::string& ownCall,
                       const std::string& selectedCall, const QRect& reserved, CallLabels& labels) {
    labels.byCall.clear();
    labels.view = projection.viewUnits();
    labels.areaWidth = projection.areaWidth();
    labels.areaHeight = projection.areaHeight();
    const PixelRect area{0, kHeaderStripHeight, projection.areaWidth(),
                         kHeaderStripHeight + projection.areaHeight()};
    const std::vector<PixelRect> taken{{reserved.left(), reserved.top(),
                                        reserved.left() + reserved.width(),
                                        reserved.top() + reserved.height()}};
    if (!options.IconLabels) {
        labels.layout.PlaceAll({}, area, taken);
        return;
    }
    const QFontMetrics metrics(out.painter().font());
    std::vector<LabelRequest> requests;
    std::vector<size_t> spriteOf;
    std::vector<QString> texts;
    for (size_t i = 0; i < sprites.size(); ++i) {
        if (!drawn[i])
            continue;
        const StationSprite& s = sprites[i];
        texts.push_back(DisplayText(s.call));
        requests.push_back(
            CallRequest(metrics, texts.back(),
                        projection.MapToScreen(s.position.longitude, s.position.colatitude),
                        CallPriority(s, ownCall, selectedCall)));
        spriteOf.push_back(i);
    }
    const std::vector<LabelPlacement> placed = labels.layout.PlaceAll(requests, area, taken);
    for (size_t k = 0; k < placed.size(); ++k) {
        labels.byCall[sprites[spriteOf[k]].call] = {requests[k].anchor, placed[k]};
        if (placed[k].shown)
            DrawCallText(out, TextBox(placed[k].box), texts[k], options.OpaqueLabels);
    }
}

std::optional<QRect> StationLabelBox(const QFontMetrics& metrics, const StationSprite& sprite,
                                     const MapProjection& projection, int priority,
                                     CallLabels& labels) {
    if (labels.view != projection.viewUnits() || labels.areaWidth != projection.areaWidth() ||
        labels.areaHeight != projection.areaHeight()) {
        return std::nullopt;  // a complete drawing for the new view is due
    }
    const PixelPoint anchor =
        projection.MapToScreen(sprite.position.longitude, sprite.position.colatitude);
    const auto found = labels.byCall.find(sprite.call);
    LabelPlacement placement;
    if (found != labels.byCall.end() && found->second.anchor == anchor) {
        placement = found->second.placement;
    } else {
        // Moved or new: its earlier call stays on the picture until the next complete
        // drawing, so it counts as taken like every other.
        placement = labels.layout.PlaceOne(
            CallRequest(metrics, DisplayText(sprite.call), anchor, priority));
        labels.byCall[sprite.call] = {anchor, placement};
    }
    if (!placement.shown)
        return std::nullopt;
    return TextBox(placement.box);
}

}  // namespace plovane
