// Station calls placed together after the symbols, so that none covers another.
#include <QFontMetrics>

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

void DrawStationLabels(MapPainter& out, const std::vector<StationSprite>& sprites,
                       const std::vector<char>& drawn, const MapProjection& projection,
                       const CMapOptions& options, const std::string& ownCall,
                       const std::string& selectedCall) {
    if (!options.IconLabels)
        return;
    const QFontMetrics metrics(out.painter().font());
    std::vector<LabelRequest> requests;
    std::vector<size_t> spriteOf;
    std::vector<QString> texts;
    for (size_t i = 0; i < sprites.size(); ++i) {
        if (!drawn[i])
            continue;
        const StationSprite& s = sprites[i];
        LabelRequest r;
        r.anchor = projection.MapToScreen(s.position.longitude, s.position.colatitude);
        texts.push_back(render::DisplayText(s.call));
        r.width = metrics.horizontalAdvance(texts.back()) + 2;
        r.height = metrics.height();
        r.priority = s.call == ownCall        ? kLabelPriorityOwn
                     : s.call == selectedCall ? kLabelPrioritySelected
                     : s.moving               ? kLabelPriorityMoving
                                              : kLabelPriorityOther;
        requests.push_back(r);
        spriteOf.push_back(i);
    }
    const PixelRect area{0, kHeaderStripHeight, projection.areaWidth(),
                         kHeaderStripHeight + projection.areaHeight()};
    const std::vector<LabelPlacement> placed = PlaceLabels(requests, area);
    for (size_t k = 0; k < placed.size(); ++k) {
        if (!placed[k].shown)
            continue;
        const PixelRect& b = placed[k].box;
        const QRect box(b.left + 1, b.top, static_cast<int>(b.Width()) - 2,
                        static_cast<int>(b.Height()));
        DrawCallText(out, box, texts[k], options.OpaqueLabels);
    }
}

}  // namespace plovane
