// The complete redraw, the repaint from the off-screen copy and the station-changed path.
#include "maps/render/map_renderer.h"

#include <QPaintDevice>
#include <QRegion>
#include <algorithm>

#include "maps/render/render_internal.h"
#include "maps/render/tile_layer.h"
#include "stations/station_list.h"

namespace plovane {

namespace {

double PixelsPerInch(QPainter& painter) {
    const QPaintDevice* device = painter.device();
    const int dpi = device ? device->logicalDpiX() : 0;
    return dpi > 0 ? dpi : 96;
}

// Copies what the map needs of every record, in list order, so that no lock is held while
// painting. A store that cannot be locked gives no stations this time.
std::vector<StationSprite> CopyStations(const CStationList* stations, bool withTracks) {
    std::vector<StationSprite> sprites;
    if (!stations)
        return sprites;
    stations->ForEach([&](const CStation& s) { sprites.push_back(SpriteOf(s, withTracks)); });
    return sprites;
}

}  // namespace

CMapRenderer::CMapRenderer(RenderReport& report, const Clock& clock, const CSymbolIcons& icons)
    : report_(report), clock_(clock), icons_(icons) {}

bool CMapRenderer::Check(bool haveTarget, const MapScene& scene) {
    const char* problem = nullptr;
    if (!scene.view)
        problem = kNoViewText;
    else if (!haveTarget || !scene.map)
        problem = kInvalidParameterText;
    else if (!scene.options)
        problem = kMissingPreferencesText;
    if (!problem)
        return true;
    report_.CheckFailed(problem);
    return false;
}

bool CMapRenderer::DrawMap(QPainter* target, const MapScene& scene) {
    if (!Check(target != nullptr, scene))
        return false;
    CMapView& view = *scene.view;
    CMapData& map = *scene.map;
    const CMapOptions& options = *scene.options;
    // A window too small for any map area paints nothing (and says nothing: it is no error).
    if (!view.PrepareForDrawing(map))
        return false;

    const int width = view.clientWidth();
    const int height = view.clientHeight();
    bitmaps_.Prepare(options.UseOffScreenBitmaps, view.backgroundValid(), width, height);
    if (view.backgroundValid() && bitmaps_.Exist()) {
        target->drawImage(0, 0, bitmaps_.picture());
        return true;
    }

    view.MarkCompleteRedraw(clock_.TickMs());
    const MapProjection projection = view.Projection();
    const double pixelsPerInch = PixelsPerInch(*target);
    std::vector<StationSprite> sprites = CopyStations(scene.stations, options.ShowTracks);

    report_.Begin(kRenderingProgressText);
    ProgressMeter progress(report_,
                           static_cast<int64_t>(map.points.size()) +
                               10 * static_cast<int64_t>(map.labels.size() + sprites.size()));
    int64_t done = 0;
    const bool offScreen = bitmaps_.Exist();
    target->save();

    // Vectors and labels: into the background copy, or straight onto the target.
    {
        QPainter background;
        QPainter* surface = target;
        if (offScreen) {
            background.begin(&bitmaps_.background());
            surface = &background;
        }
        surface->fillRect(0, 0, width + kBitmapExtraWidth, height + kBitmapExtraHeight, Qt::white);
        const bool tiles = scene.tiles && projection.mercator();
        if (tiles)
            scene.tiles->Draw(*surface, projection);
        MapPainter out(*surface, resources_);
        const int32_t threshold = view.DetailThreshold();
        // Over tiles, filled areas are outlined so that the tiles show through.
        DrawVectors(out, map, projection, threshold, progress, done, tiles);
        if (options.MapLabels)
            DrawLabels(out, map, projection, threshold, icons_, progress, done);
        else
            done += 10 * static_cast<int64_t>(map.labels.size());
    }

    // Stations, the header strip and the scale bar: into the picture copy, or the target.
    {
        QPainter picture;
        QPainter* surface = target;
        if (offScreen) {
            picture.begin(&bitmaps_.picture());
            picture.drawImage(0, 0, bitmaps_.background());
            surface = &picture;
        } else {
            target->restore();
            target->save();
        }
        MapPainter out(*surface, resources_);
        BeginStations(out, options);
        const MapBox cull = CullBox(projection, CullMargin(projection.view()));
        StationStyle style{options, icons_, trig_, scene.unitsOfMeasure};
        style.callBesideIcon = false;  // placed together below
        std::vector<char> drawn(sprites.size(), 0);
        for (size_t i = 0; i < sprites.size(); ++i) {
            if (i % kProgressItemStep == 0)
                progress.Report(done + 10 * static_cast<int64_t>(i));
            if (!StationVisible(sprites[i], cull, options.ShowTracks, false))
                continue;
            DrawStationSprite(out, sprites[i], projection, style);
            drawn[i] = 1;
        }
        scaleBarPanel_ = ScaleBarPanel(*surface, resources_, width, projection, pixelsPerInch,
                                       scene.unitsOfMeasure);
        DrawStationLabels(out, sprites, drawn, projection, options,
                          scene.stations ? scene.stations->OwnCall() : std::string(),
                          scene.selectedCall, scaleBarPanel_, callLabels_);
        report_.End();
        if (scene.tiles && projection.mercator())
            scene.tiles->DrawAttribution(*surface, width, height);
        DrawHeaderStrip(*surface, resources_, width, HeaderTitle(map), scene.status);
        DrawScaleBar(*surface, resources_, width, projection, pixelsPerInch, scene.unitsOfMeasure);
        if (scene.stations) {
            for (size_t i = 0; i < sprites.size(); ++i)
                scene.stations->SetShownOnMap(sprites[i].call, drawn[i] != 0);
        }
    }
    target->restore();

    if (offScreen) {
        target->drawImage(0, 0, bitmaps_.picture());
        view.SetBackgroundValid(true);
    }
    return true;
}

bool CMapRenderer::DrawStation(QPainter* target, const MapScene& scene, std::string_view call) {
    // No target is fine here: the picture copy may take the station alone.
    if (!Check(true, scene))
        return false;
    if (!target && !bitmaps_.Exist())
        return false;
    CMapView& view = *scene.view;
    const CMapOptions& options = *scene.options;
    if (!view.HasWindow() || !scene.stations)
        return false;
    const std::optional<CStation> station = scene.stations->FindStation(call);
    if (!station)
        return false;
    const StationSprite sprite = SpriteOf(*station, options.ShowTracks);
    const MapProjection projection = view.Projection();
    const MapBox cull = CullBox(projection, CullMargin(projection.view()));
    const bool visible = StationVisible(sprite, cull, options.ShowTracks, true);
    scene.stations->SetShownOnMap(sprite.call, visible);
    if (!visible)
        return false;

    StationStyle style{options, icons_, trig_, scene.unitsOfMeasure};
    style.callBesideIcon = false;  // where the label placement puts it
    // A complete drawing puts the header strip and the scale bar over the stations; a
    // station drawn alone must not cover them either.
    const QRegion clip = QRegion(0, kHeaderStripHeight, view.clientWidth(),
                                 std::max(0, view.clientHeight() - kHeaderStripHeight))
                             .subtracted(scaleBarPanel_);
    std::optional<QRect> labelBox;
    bool labelPlaced = false;
    const auto draw = [&](QPainter& painter) {
        painter.setClipRegion(clip);
        MapPainter out(painter, resources_);
        BeginStations(out, options);
        DrawStationSprite(out, sprite, projection, style);
        if (!options.IconLabels)
            return;
        if (!labelPlaced) {
            labelBox = StationLabelBox(
                QFontMetrics(painter.font()), sprite, projection,
                CallPriority(sprite, scene.stations->OwnCall(), scene.selectedCall), callLabels_);
            labelPlaced = true;
        }
        if (labelBox)
            DrawCallText(out, *labelBox, DisplayText(sprite.call), options.OpaqueLabels);
    };
    if (bitmaps_.Exist()) {
        QPainter picture(&bitmaps_.picture());
        draw(picture);
    }
    if (target) {
        target->save();
        draw(*target);
        target->restore();
    }
    return true;
}

}  // namespace plovane
