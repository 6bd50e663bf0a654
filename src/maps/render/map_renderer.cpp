// SPDX-License-Identifier: GPL-3.0-or-later
// The complete redraw, the repaint from the off-screen copy and the station-changed path.
#include "maps/render/map_renderer.h"

#include <QPaintDevice>
#include <QRegion>
#include <algorithm>

#include "maps/render/drawn_bounds.h"
#include "maps/render/render_internal.h"
#include "maps/render/tile_layer.h"
#include "stations/station_list.h"

namespace plovane {

namespace {

// Room round a station's place and track for everything drawn beside it: the symbol, the
// course/speed and wind marks (their shafts stay under 60 pixels at the capped speeds), the
// pens and the call's halo.
constexpr int kReachMargin = 96;
constexpr int kReachUnbounded = 1 << 28;

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

    // Vectors and labels: into the background copy, or into the map without stations and
    // from there onto the target (a station drawn again alone is wiped with it).
    bool stationFree = false;
    if (!offScreen) {
        const qreal ratio = target->device() ? target->device()->devicePixelRatioF() : 1.0;
        const QSize size = QSize(width + kBitmapExtraWidth, height + kBitmapExtraHeight) * ratio;
        if (stationFree_.size() != size || stationFree_.devicePixelRatioF() != ratio) {
            stationFree_ = QImage(size, QImage::Format_RGB32);
            stationFree_.setDevicePixelRatio(ratio);
        }
        stationFree = !stationFree_.isNull();
    }
    {
        QPainter background;
        QPainter* surface = target;
        if (offScreen) {
            background.begin(&bitmaps_.background());
            surface = &background;
        } else if (stationFree) {
            background.begin(&stationFree_);
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
    if (stationFree)
        target->drawImage(0, 0, stationFree_);

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
        drawn_.clear();
        drawnIndex_.clear();
        for (size_t i = 0; i < sprites.size(); ++i) {
            if (drawn[i] == 0)
                continue;
            drawnIndex_[sprites[i].call] = drawn_.size();
            drawn_.push_back({std::move(sprites[i]), std::nullopt, std::nullopt});
        }
        drawnView_ = projection.viewUnits();
        drawnWidth_ = projection.areaWidth();
        drawnHeight_ = projection.areaHeight();
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

    StationStyle style{options, icons_, trig_, scene.unitsOfMeasure};
    style.callBesideIcon = false;  // where the label placement puts it
    // A complete drawing puts the header strip and the scale bar over the stations; a
    // station drawn alone must not cover them either.
    const QRegion clip = QRegion(0, kHeaderStripHeight, view.clientWidth(),
                                 std::max(0, view.clientHeight() - kHeaderStripHeight))
                             .subtracted(scaleBarPanel_);

    // Where the picture shows the station now is wiped first: a fast mover is drawn at one
    // place only, not at each place it reported from until the next complete drawing.
    const QImage* background = bitmaps_.Exist()         ? &bitmaps_.background()
                               : !stationFree_.isNull() ? &stationFree_
                                                        : nullptr;
    const bool sameView = drawnView_ == projection.viewUnits() &&
                          drawnWidth_ == projection.areaWidth() &&
                          drawnHeight_ == projection.areaHeight();
    auto self = drawnIndex_.find(sprite.call);
    if (background && sameView && self != drawnIndex_.end()) {
        const QRect dirty = CoveredBy(drawn_[self->second], projection, style);
        if (bitmaps_.Exist()) {
            QPainter picture(&bitmaps_.picture());
            Wipe(picture, *background, clip, dirty, self->second, projection, style);
        }
        if (target)
            Wipe(*target, *background, clip, dirty, self->second, projection, style);
    }
    if (sameView) {
        // Drawn below at its new place, or gone from the view.
        DrawnStation now{visible ? sprite : StationSprite{}, std::nullopt, std::nullopt};
        if (self == drawnIndex_.end()) {
            drawnIndex_.emplace(sprite.call, drawn_.size());
            drawn_.push_back(std::move(now));
        } else {
            drawn_[self->second] = std::move(now);
        }
    }
    if (!visible)
        return false;
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

QRect CMapRenderer::CoveredBy(DrawnStation& station, const MapProjection& projection,
                              const StationStyle& style) {
    if (!station.sprite.hasPosition)
        return {};
    if (!station.bounds) {
        // Drawn once onto a device that only notes the box of everything painted.
        DrawnBounds record;
        {
            QPainter painter(&record);
            MapPainter out(painter, resources_);
            BeginStations(out, style.options);
            DrawStationSprite(out, station.sprite, projection, style);
        }
        QRect covered = record.bounds().adjusted(-3, -3, 3, 3);  // pens and smoothing
        if (style.options.IconLabels) {
            if (const std::optional<QRect> call = PlacedCallBox(callLabels_, station.sprite.call))
                covered |= call->adjusted(-2, -2, 2, 2);  // the halo round the text
        }
        station.bounds = covered;
    }
    return *station.bounds;
}

QRect CMapRenderer::ReachOf(DrawnStation& station, const MapProjection& projection,
                            const StationStyle& style) {
    if (!station.sprite.hasPosition)
        return {};
    if (!station.reach) {
        // A range ring can reach anywhere: such a station is always looked at closely.
        if (style.options.ShowRangeCircles && station.sprite.rangeMiles > 0) {
            station.reach =
                QRect(-kReachUnbounded, -kReachUnbounded, 2 * kReachUnbounded, 2 * kReachUnbounded);
            return *station.reach;
        }
        const PixelPoint at = projection.MapToScreen(station.sprite.position.longitude,
                                                     station.sprite.position.colatitude);
        int left = at.x, right = at.x, top = at.y, bottom = at.y;
        if (style.options.ShowTracks) {
            for (const TrackPoint& t : station.sprite.track) {
                const PixelPoint p = projection.MapToScreen(t.longitude, t.colatitude);
                left = std::min(left, p.x);
                right = std::max(right, p.x);
                top = std::min(top, p.y);
                bottom = std::max(bottom, p.y);
            }
        }
        QRect reach = QRect(QPoint(left, top), QPoint(right, bottom))
                          .adjusted(-kReachMargin, -kReachMargin, kReachMargin, kReachMargin);
        if (style.options.IconLabels) {
            if (const std::optional<QRect> call = PlacedCallBox(callLabels_, station.sprite.call))
                reach |= call->adjusted(-kReachMargin, -kReachMargin, kReachMargin, kReachMargin);
        }
        station.reach = reach;
    }
    return *station.reach;
}

void CMapRenderer::Wipe(QPainter& painter, const QImage& background, const QRegion& clip,
                        const QRect& dirty, size_t self, const MapProjection& projection,
                        const StationStyle& style) {
    if (dirty.isEmpty())
        return;
    painter.save();
    painter.setClipRegion(clip.intersected(dirty));
    painter.drawImage(0, 0, background);
    MapPainter out(painter, resources_);
    BeginStations(out, style.options);
    // The neighbours as the complete drawing drew them: symbols first, then their calls.
    std::vector<size_t> near;
    for (size_t i = 0; i < drawn_.size(); ++i) {
        if (i != self && ReachOf(drawn_[i], projection, style).intersects(dirty) &&
            CoveredBy(drawn_[i], projection, style).intersects(dirty))
            near.push_back(i);
    }
    for (size_t i : near)
        DrawStationSprite(out, drawn_[i].sprite, projection, style);
    if (style.options.IconLabels) {
        for (size_t i : near) {
            const std::string& call = drawn_[i].sprite.call;
            if (const std::optional<QRect> box = PlacedCallBox(callLabels_, call))
                DrawCallText(out, *box, DisplayText(call), style.options.OpaqueLabels);
        }
    }
    painter.restore();
}

}  // namespace plovane
