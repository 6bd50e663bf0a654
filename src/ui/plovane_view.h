// SPDX-License-Identifier: GPL-3.0-or-later
// The map widget, the main window's client: it forwards its size and the mouse to the
// navigation state (CMapView), carries out the View menu's commands, picks stations under a
// tap and offers their pop-ups, and paints through the map renderer. The last picture is
// kept, so the rubber band of a drag is drawn over it without drawing the map again.
#pragma once

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/app_host.h"
#include "core/clock.h"
#include "core/profile.h"
#include "maps/map_options.h"
#include "maps/map_station_pick.h"
#include "maps/map_view.h"
#include "ui/logic/command_ids.h"
#include "ui/logic/geo_text.h"
#include "ui/logic/history_playback.h"
#include "ui/pick_menu.h"

class QKeyEvent;
class QMenu;
class QPainter;

namespace plovane {

class CMapRenderer;
class CTileLayer;
struct TileBackground;
class HostRenderReport;
class CPlovaneDoc;
class CStationList;
class CSymbolIcons;
struct HeaderStatus;
struct MapScene;

// Thread-affine: the user-interface thread.
class CPlovaneView : public QWidget {
    Q_OBJECT
  public:
    // A changed station is drawn at once over the picture; the whole map follows this long
    // after the last change, so a station that moved does not stay at its old place too.
    static constexpr int kSettleRedrawMs = 2000;
    // Tiles arriving within this long of each other are drawn with one redraw.
    static constexpr int kTileRepaintMs = 150;
    // The map is drawn this long after the last wheel notch of a burst.
    static constexpr int kZoomSettleMs = 120;
    // Changed stations are drawn together at most once in this long: one frame.
    static constexpr int kStationFrameMs = 16;
    // More changed stations than this in one frame are shown by drawing the whole map.
    static constexpr size_t kMostStationsDrawnAlone = 16;

    struct Context {
        CPlovaneDoc& doc;
        CMapOptions& options;
        CStationList& stations;
        Profile& profile;
        AppHost& host;
        const Clock& clock;
        const CSymbolIcons& icons;
    };

    explicit CPlovaneView(const Context& context, QWidget* parent = nullptr);
    ~CPlovaneView() override;

    // The View menu's commands and the station pop-up's; false for any other id.
    bool OnCommand(Command id);
    // Stations changed (`all`: too many to list): keep the own station in view when asked,
    // draw them over the picture with the next frame and redraw the whole map soon after.
    void StationsChanged(const std::vector<std::string>& calls, bool all);
    // The 25-second tick: a complete redraw when its period has passed, otherwise the
    // stations are drawn again over the picture.
    void TimerTick();
    // Repaint; `full` draws the map again instead of copying the off-screen picture.
    void RefreshView(bool full);
    // What the header strip's status icons show.
    void SetHeaderStatus(const HeaderStatus& status);
    const HeaderStatus& headerStatus() const { return *status_; }
    void SetUnitsOfMeasure(int units) { unitsOfMeasure_ = units; }
    int unitsOfMeasure() const { return unitsOfMeasure_; }

    // Renders the whole client into an image (the screenshot, and tests).
    QImage RenderImage();
    // A drawing is in progress (status texts must not repaint synchronously then).
    bool painting() const { return painting_; }
    // How many times a station was drawn alone over the picture, since the widget was made.
    int64_t stationDrawings() const { return stationDrawings_; }

    CMapView& mapView() { return view_; }
    const CStationPick& pick() const { return pick_; }
    DragMode dragMode() const { return view_.dragMode(); }
    void SetDragMode(DragMode mode);

    // Shows a pick menu at a client point and returns the command chosen (0 for none).
    // Tests replace it; the program runs the menu modally.
    using MenuRunner = std::function<int(QMenu& menu, const QPoint& globalPos)>;
    void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }

    // A tap at a client point: the station pick and its pop-ups (on a group's bubble, the
    // stations of the group).
    void Tap(const QPoint& point);
    // A click on a group's bubble zooms in to fit its stations; false (nothing done) when
    // no bubble is there, its stations share one position, or the map cannot zoom in further.
    bool ZoomToGroup(const QPoint& point);
    // The zoom keys: about the pointer when it is over the map, else about the centre.
    bool ZoomAtPointer(bool in);
    // Centres the map on a station and marks it selected (a ring around its symbol);
    // false when it is unknown or has no position.
    bool CenterOnStation(const std::string& call);
    const std::string& selectedCall() const { return selected_; }
    // Centres the map on a position (map units); false when the view did not move.
    bool CenterOnPosition(int32_t colatitude, int32_t longitude);
    // The own station's position, for the distances the status bar shows.
    void RefreshOwnPosition();
    // The tooltip at a client point: a status icon of the header strip, or the station
    // under the pointer; empty for none.
    QString ToolTipAt(const QPoint& point);
    // What each status icon's tooltip says beyond the port's state (its last error).
    using LinkDetail = std::function<std::string(int icon)>;
    void SetLinkDetail(LinkDetail detail) { linkDetail_ = std::move(detail); }
    // A further tooltip line in any state (what the IGate and digipeater did); empty for none.
    void SetLinkCounts(LinkDetail counts) { linkCounts_ = std::move(counts); }
    // The map options dialog; true when OK was pressed.
    bool EditOptions();

    // Builds the tile background the map options name (again, when they changed) and puts
    // the view in Web Mercator with tiles, or back on the plain grid without.
    void ApplyTileSource();
    // A tile source chosen from the menu: stored in the settings and applied.
    void SetTileSource(const std::string& source);
    CTileLayer* tileLayer() const;
    const std::string& tileSource() const { return context_.options.TileSource; }
    // View > Night Map: the dark map style and windows, stored in the settings.
    void SetNightMap(bool on);
    bool nightMap() const { return context_.options.NightMap; }
    // Tiles are being fetched; the screenshot waits for them.
    bool TilesBusy() const;

    // What the History window shows over the map: stations where they were at the slider's
    // moment and tracks; an empty overlay shows nothing.
    void SetHistoryOverlay(HistoryOverlay overlay);
    const HistoryOverlay& historyOverlay() const { return history_; }
    // The next left-button drag marks an area instead of zooming or moving; `done` gets it.
    using AreaSink = std::function<void(const HistoryArea& area)>;
    void PickArea(AreaSink done);
    bool pickingArea() const { return static_cast<bool>(areaSink_); }

  signals:
    void dragModeChanged(plovane::DragMode mode);
    // "Station &Info..." or "Send &Message..." for the station picked last.
    void stationCommand(plovane::Command command, const QString& call);
    // The pointer's position for the status bar; empty when it left the map.
    void pointerText(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void FillScene(MapScene& scene);
    // Draws the map into the kept picture; false when nothing could be drawn.
    bool RenderPicture();
    void DrawStationsOverPicture(const std::vector<std::string>& calls);
    // Draws the stations changed since the last frame, unless a complete drawing is due.
    void DrawPendingStations();
    // Adds stations to those drawn with the next frame.
    void QueueStations(const std::vector<std::string>& calls);
    void Changed(bool viewMoved);
    int RunMenu(QMenu& menu, const QPoint& clientPoint);
    static int ZoomKeyOf(const QKeyEvent& key);
    QPoint PanOffset() const;
    void DrawSelection(QPainter& painter);
    void DrawHistory(QPainter& painter);
    // The last picture scaled to the view the wheel moved to; false when it cannot stand in.
    bool DrawScaledPicture(QPainter& painter);
    void ShowPointer(const QPoint& point);

    Context context_;
    CMapView view_;
    CStationPick pick_;
    std::unique_ptr<HostRenderReport> report_;  // before the renderer, which uses it
    std::unique_ptr<CMapRenderer> renderer_;
    std::unique_ptr<HeaderStatus> status_;
    int unitsOfMeasure_ = 0;
    QImage picture_;  // the last drawing, client-sized
    bool pictureStale_ = true;
    bool painting_ = false;
    int wheelRemainder_ = 0;
    QTimer settle_;
    MenuRunner menuRunner_;
    std::unique_ptr<TileBackground> tiles_;
    std::string tilesApplied_;  // the source, attribution and cache size tiles_ was built for
    QTimer tileRepaint_;        // arriving tiles are drawn in batches
    QTimer zoomSettle_;         // running: wheel notches still arriving
    QTimer stationFrame_;       // running: changed stations wait for the next frame
    std::vector<std::string> pendingStations_;
    std::unordered_set<std::string> pendingSet_;
    int64_t stationDrawings_ = 0;
    std::optional<MapProjection> pictureProjection_;  // what picture_ was drawn with
    bool panning_ = false;  // a middle-button drag
    QPoint panStart_;
    QPoint panNow_;
    std::string selected_;  // found or centred on
    bool ownKnown_ = false;
    GeoPoint ownPosition_;
    LinkDetail linkDetail_;
    LinkDetail linkCounts_;
    HistoryOverlay history_;
    AreaSink areaSink_;
    std::optional<QPoint> areaStart_;  // an area drag in progress
    QPoint areaNow_;
};

}  // namespace plovane
