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
    const RenderResources& mapStyle = options.NightMap ? nightResources_ : resources_;

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
        surface->fillRect(0, 0, width + kBitmapExtraWidth, height + kBitmapExtraHeight,
                          mapStyle.Colour(kPaperColour));
        const bool tiles = scene.tiles && projection.mercator();
        if (tiles) {
            scene.tiles->SetNight(options.NightMap);
            scene.tiles->Draw(*surface, projection);
        }
        MapPainter out(*surface, mapStyle);
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
        const std::string ownCall = scene.stations ? scene.stations->OwnCall() : std::string();
        for (StationSprite& sprite : sprites)
            sprite.own = !ownCall.empty() && sprite.call == ownCall;
        groupsOwn_ = ownCall;
        groupsSelected_ = scene.selectedCall;
        // Which stations are on the picture (numbered as drawn_ will hold them), and the
        // cells of those that may go into a bubble.
        groups_.Reset(projection, options.GroupStations);
        std::vector<char> drawn(sprites.size(), 0);
        std::vector<std::optional<uint64_t>> cellOf(sprites.size());
        size_t slot = 0;
        for (size_t i = 0; i < sprites.size(); ++i) {
            if (!StationVisible(sprites[i], cull, options.ShowTracks, false))
                continue;
            drawn[i] = 1;
            if (groups_.on() && Groupable(sprites[i], cull))
                cellOf[i] = groups_.Add(
                    slot, {sprites[i].position.longitude, sprites[i].position.colatitude});
            ++slot;
        }
        groups_.SettleAll();
        std::vector<char> alone = drawn;  // drawn with their symbol and call
        for (size_t i = 0; i < sprites.size(); ++i) {
            if (i % kProgressItemStep == 0)
                progress.Report(done + 10 * static_cast<int64_t>(i));
            if (!drawn[i])
                continue;
            if (cellOf[i] && groups_.InBubble(*cellOf[i])) {
                alone[i] = 0;
                continue;
            }
            DrawStationSprite(out, sprites[i], projection, style);
        }
        scaleBarPanel_ = ScaleBarPanel(*surface, resources_, width, projection, pixelsPerInch,
                                       scene.unitsOfMeasure);
        DrawStationLabels(out, sprites, alone, projection, options, ownCall, scene.selectedCall,
                          scaleBarPanel_, callLabels_);
        // Over the calls, so a count always reads.
        for (const auto& [cell, group] : groups_.cells()) {
            if (group.grouped)
                DrawGroupBubble(*surface, resources_, group);
        }
        report_.End();
        if (scene.tiles && projection.mercator())
            scene.tiles->DrawAttribution(*surface, width, height);
        DrawHeaderStrip(*surface, mapStyle, width, HeaderTitle(map), scene.status);
        DrawScaleBar(*surface, mapStyle, width, projection, pixelsPerInch, scene.unitsOfMeasure);
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
            drawn_.push_back({std::move(sprites[i]), std::nullopt, cellOf[i], std::nullopt});
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
    StationSprite sprite = SpriteOf(*station, options.ShowTracks);
    sprite.own = sprite.call == scene.stations->OwnCall();
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
    if (sameView && groups_.on() &&
        ((self != drawnIndex_.end() && drawn_[self->second].cell) ||
         (visible && Groupable(sprite, cull)))) {
        RedrawCells(target, background, clip, sprite, visible, scene, projection, style);
        return visible;
    }
    if (background && sameView && self != drawnIndex_.end()) {
        const QRect dirty = CoveredBy(drawn_[self->second], projection, style);
        const std::vector<size_t> skip{self->second};
        if (bitmaps_.Exist()) {
            QPainter picture(&bitmaps_.picture());
            Wipe(picture, *background, clip, dirty, skip, {}, projection, style);
        }
        if (target)
            Wipe(*target, *background, clip, dirty, skip, {}, projection, style);
    }
    if (sameView) {
        // Drawn below at its new place, or gone from the view.
        DrawnStation now{visible ? sprite : StationSprite{}, std::nullopt, std::nullopt, std::nullopt};
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
                        const QRect& dirty, const std::vector<size_t>& skip,
                        const std::vector<uint64_t>& skipCells, const MapProjection& projection,
                        const StationStyle& style) {
    if (dirty.isEmpty())
        return;
    painter.save();
    painter.setClipRegion(clip.intersected(dirty));
    painter.drawImage(0, 0, background);
    MapPainter out(painter, resources_);
    BeginStations(out, style.options);
    // The neighbours as the complete drawing drew them: symbols, their calls, then bubbles.
    std::vector<size_t> skipped = skip;
    std::sort(skipped.begin(), skipped.end());
    std::vector<size_t> near;
    for (size_t i = 0; i < drawn_.size(); ++i) {
        if (std::binary_search(skipped.begin(), skipped.end(), i))
            continue;
        if (drawn_[i].cell && groups_.InBubble(*drawn_[i].cell))
            continue;
        if (ReachOf(drawn_[i], projection, style).intersects(dirty) &&
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
    for (const auto& [cell, group] : groups_.cells()) {
        if (group.grouped && group.bubble.intersects(dirty) &&
            std::find(skipCells.begin(), skipCells.end(), cell) == skipCells.end())
            DrawGroupBubble(painter, resources_, group);
    }
    painter.restore();
}

bool CMapRenderer::Groupable(const StationSprite& sprite, const MapBox& cull) const {
    if (sprite.own || sprite.killed || !sprite.hasPosition)
        return false;
    if ((!groupsOwn_.empty() && sprite.call == groupsOwn_) ||
        (!groupsSelected_.empty() && sprite.call == groupsSelected_))
        return false;
    const TrackPoint& p = sprite.position;
    return p.longitude >= cull.left && p.longitude <= cull.right && p.colatitude >= cull.top &&
           p.colatitude <= cull.bottom;
}

void CMapRenderer::RedrawCells(QPainter* target, const QImage* background, const QRegion& clip,
                               const StationSprite& sprite, bool visible, const MapScene& scene,
                               const MapProjection& projection, const StationStyle& style) {
    const MapBox cull = CullBox(projection, CullMargin(projection.view()));
    const MapPoint at{sprite.position.longitude, sprite.position.colatitude};
    const auto self = drawnIndex_.find(sprite.call);
    std::optional<size_t> index;
    if (self != drawnIndex_.end())
        index = self->second;
    const std::optional<uint64_t> oldCell = index ? drawn_[*index].cell : std::nullopt;
    std::optional<uint64_t> newCell;
    if (visible && Groupable(sprite, cull))
        newCell = groups_.CellOf(at);
    std::vector<uint64_t> cells;
    if (oldCell)
        cells.push_back(*oldCell);
    if (newCell && newCell != oldCell)
        cells.push_back(*newCell);

    // What the picture shows of those cells now, and of the station when it was alone.
    QRect dirty;
    for (uint64_t cell : cells) {
        const StationGroup* group = groups_.Find(cell);
        if (!group)
            continue;
        if (group->grouped) {
            dirty |= group->bubble.adjusted(-1, -1, 1, 1);
            continue;
        }
        for (const StationGroup::Member& m : group->members)
            dirty |= CoveredBy(drawn_[m.index], projection, style);
    }
    if (index && !oldCell)
        dirty |= CoveredBy(drawn_[*index], projection, style);

    // The new state.
    DrawnStation now{visible ? sprite : StationSprite{}, std::nullopt, std::nullopt, std::nullopt};
    if (index) {
        if (oldCell)
            groups_.Remove(*index, *oldCell);
        drawn_[*index] = std::move(now);
    } else {
        index = drawn_.size();
        drawnIndex_.emplace(sprite.call, *index);
        drawn_.push_back(std::move(now));
    }
    if (newCell) {
        groups_.Add(*index, at);
        drawn_[*index].cell = newCell;
    }
    for (uint64_t cell : cells)
        groups_.Settle(cell);

    // Drawn below, after the wipe: the stations of those cells left alone, and this one.
    std::vector<size_t> skip{*index};
    std::vector<size_t> loose;
    for (uint64_t cell : cells) {
        const StationGroup* group = groups_.Find(cell);
        if (!group)
            continue;
        for (const StationGroup::Member& m : group->members) {
            skip.push_back(m.index);
            if (!group->grouped)
                loose.push_back(m.index);
        }
    }
    if (visible && !newCell)
        loose.push_back(*index);
    std::sort(loose.begin(), loose.end());  // in list order, as the complete drawing draws them

    std::unordered_map<size_t, std::optional<QRect>> labels;
    const auto draw = [&](QPainter& painter) {
        if (background)
            Wipe(painter, *background, clip, dirty, skip, cells, projection, style);
        DrawCellsAfter(painter, cells, loose, clip, scene, projection, style, labels);
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
}

void CMapRenderer::DrawCellsAfter(QPainter& painter, const std::vector<uint64_t>& cells,
                                  const std::vector<size_t>& loose, const QRegion& clip,
                                  const MapScene& scene, const MapProjection& projection,
                                  const StationStyle& style,
                                  std::unordered_map<size_t, std::optional<QRect>>& labels) {
    painter.save();
    painter.setClipRegion(clip);
    MapPainter out(painter, resources_);
    BeginStations(out, style.options);
    for (size_t i : loose)
        DrawStationSprite(out, drawn_[i].sprite, projection, style);
    if (style.options.IconLabels) {
        for (size_t i : loose) {
            const StationSprite& s = drawn_[i].sprite;
            auto found = labels.find(i);
            if (found == labels.end()) {
                const int priority = CallPriority(s, scene.stations->OwnCall(), scene.selectedCall);
                found = labels
                            .emplace(i, StationLabelBox(QFontMetrics(painter.font()), s, projection,
                                                        priority, callLabels_))
                            .first;
            }
            if (found->second)
                DrawCallText(out, *found->second, DisplayText(s.call), style.options.OpaqueLabels);
        }
    }
    for (uint64_t cell : cells) {
        if (const StationGroup* group = groups_.Find(cell); group && group->grouped)
            DrawGroupBubble(painter, resources_, *group);
    }
    painter.restore();
}

std::optional<CMapRenderer::GroupHit> CMapRenderer::GroupAt(PixelPoint p) const {
    const StationGroup* group = groups_.BubbleAt(p);
    if (!group)
        return std::nullopt;
    const MapProjection projection(drawnView_, drawnWidth_, drawnHeight_, groups_.mercator());
    GroupHit hit;
    for (const StationGroup::Member& m : group->members) {
        hit.calls.push_back(drawn_[m.index].sprite.call);
        const PixelPoint at = projection.MapToScreen(m.at);
        hit.box |= QRect(at.x, at.y, 1, 1);
        hit.samePlace = hit.samePlace && m.at == group->members.front().at;
    }
    return hit;
}

}  // namespace plovane
