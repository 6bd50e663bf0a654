// SPDX-License-Identifier: GPL-3.0-or-later
// The map widget.
#include "ui/plovane_view.h"

#include <QAction>
#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "maps/render/map_renderer.h"
#include "maps/render/symbol_icons.h"
#include "stations/station_list.h"
#include "ui/host_render_report.h"
#include "ui/logic/command_ids.h"
#include "ui/logic/map_tips.h"
#include "ui/logic/plovane_doc.h"
#include "ui/map_options_dialog.h"
#include "ui/tile_background.h"

namespace plovane {
namespace {

PixelPoint ToPixel(const QPoint& p) {
    return {p.x(), p.y()};
}

QRect ToQRect(const PixelRect& r) {
    const PixelRect n = r.Normalized();
    return QRect(QPoint(n.left, n.top), QPoint(n.right - 1, n.bottom - 1));
}

// One wheel notch.
constexpr int kWheelStep = 120;

}  // namespace

CPlovaneView::CPlovaneView(const Context& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      view_(context.clock.TickMs()),
      status_(std::make_unique<HeaderStatus>()) {
    setObjectName("mapView");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // the pointer position in the status bar
    setMinimumSize(120, 80);
    report_ = std::make_unique<HostRenderReport>(context_.host);
    renderer_ = std::make_unique<CMapRenderer>(*report_, context_.clock, context_.icons);
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleRedrawMs);
    connect(&settle_, &QTimer::timeout, this, [this] { RefreshView(true); });
    tileRepaint_.setSingleShot(true);
    tileRepaint_.setInterval(kTileRepaintMs);
    connect(&tileRepaint_, &QTimer::timeout, this, [this] { RefreshView(true); });
    zoomSettle_.setSingleShot(true);
    zoomSettle_.setInterval(kZoomSettleMs);
    connect(&zoomSettle_, &QTimer::timeout, this, [this] { update(); });
    stationFrame_.setSingleShot(true);
    stationFrame_.setInterval(kStationFrameMs);
    connect(&stationFrame_, &QTimer::timeout, this, [this] { update(); });
}

CPlovaneView::~CPlovaneView() = default;

void CPlovaneView::FillScene(MapScene& scene) {
    scene.view = &view_;
    scene.map = &context_.doc.map();
    scene.options = &context_.options;
    scene.stations = &context_.stations;
    scene.unitsOfMeasure = unitsOfMeasure_;
    scene.status = *status_;
    scene.tiles = tileLayer();
    scene.selectedCall = selected_;
}

bool CPlovaneView::RenderPicture() {
    DrawPendingStations();
    view_.Resize(width(), height());
    // On a high-density screen the picture has more pixels than the widget, so lines and
    // text stay sharp; the drawing itself works in the widget's pixels.
    const qreal ratio = devicePixelRatioF();
    if (picture_.deviceIndependentSize() != QSizeF(size()) ||
        picture_.devicePixelRatio() != ratio) {
        picture_ = QImage(size() * ratio, QImage::Format_RGB32);
        if (picture_.isNull())
            return false;  // out of memory: nothing to show
        picture_.setDevicePixelRatio(ratio);
    }
    picture_.fill(Qt::white);
    pictureStale_ = false;
    zoomSettle_.stop();
    QPainter painter(&picture_);
    MapScene scene;
    FillScene(scene);
    const bool drawn = renderer_->DrawMap(&painter, scene);
    pictureProjection_ = view_.Projection();  // the projection the picture was drawn with
    return drawn;
}

QImage CPlovaneView::RenderImage() {
    RenderPicture();
    return picture_;
}

void CPlovaneView::paintEvent(QPaintEvent*) {
    painting_ = true;
    DrawPendingStations();
    QPainter painter(this);
    if (pictureStale_ && zoomSettle_.isActive() &&
        picture_.deviceIndependentSize() == QSizeF(size()) && DrawScaledPicture(painter)) {
        painting_ = false;  // the wheel is still turning: the map is drawn when it stops
        return;
    }
    if (pictureStale_ || picture_.deviceIndependentSize() != QSizeF(size()))
        RenderPicture();
    const QPoint offset = PanOffset();
    if (!offset.isNull()) {
        // Live panning: the picture follows the pointer; what it uncovers is blank until
        // the button is released and the map is drawn there.
        painter.fillRect(rect(), Qt::white);
        painter.drawImage(offset, picture_);
        painting_ = false;
        return;
    }
    painter.drawImage(0, 0, picture_);
    if (view_.dragMode() == DragMode::kZoom) {
        if (const std::optional<PixelRect> band = view_.DragRectangle()) {
            // The rubber band: a dotted line over a white one shows on any map colour.
            const QRect rect = ToQRect(*band);
            painter.setPen(QPen(Qt::white, 1));
            painter.drawRect(rect);
            painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter.drawRect(rect);
        }
    }
    DrawSelection(painter);
    DrawHistory(painter);
    if (areaStart_) {
        painter.setPen(QPen(QColor(200, 0, 160), 2, Qt::DashLine));
        painter.setBrush(QColor(200, 0, 160, 40));
        painter.drawRect(QRect(*areaStart_, areaNow_).normalized());
    }
    painting_ = false;
}

void CPlovaneView::SetHistoryOverlay(HistoryOverlay overlay) {
    history_ = std::move(overlay);
    update();
}

void CPlovaneView::PickArea(AreaSink done) {
    areaSink_ = std::move(done);
    areaStart_.reset();
    setCursor(areaSink_ ? Qt::CrossCursor : Qt::ArrowCursor);
}

// Tracks as lines, stations as dots with their calls, in a colour of their own so that
// they stand apart from the stations heard now.
void CPlovaneView::DrawHistory(QPainter& painter) {
    if (history_.empty() || !view_.aspectFixed())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour(200, 0, 160);
    const auto at = [this](const PositionSample& p) {
        const PixelPoint point = view_.MapToScreen(p.longitude, p.colatitude);
        return QPoint(point.x, point.y);
    };
    painter.setPen(QPen(colour, 2));
    for (const HistoryTrack& track : history_.tracks) {
        QPolygon line;
        for (const PositionSample& p : track.samples)
            line << at(p);
        painter.drawPolyline(line);
    }
    for (const PlaybackMark& mark : history_.marks) {
        const QPoint point = at(mark.at);
        if (point.y() < kHeaderStripHeight)
            continue;
        painter.setPen(QPen(Qt::white, 2));
        painter.setBrush(colour);
        painter.drawEllipse(point, 6, 6);
        const QString call = QString::fromStdString(mark.call);
        const QPoint text = point + QPoint(9, 4);
        painter.setPen(Qt::white);
        for (const QPoint& halo : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
            painter.drawText(text + halo, call);
        painter.setPen(colour.darker());
        painter.drawText(text, call);
    }
    painter.restore();
}

QPoint CPlovaneView::PanOffset() const {
    QPoint offset;
    if (panning_) {
        offset = panNow_ - panStart_;
    } else if (view_.dragMode() == DragMode::kMove) {
        // While dragging to move, the drag rectangle is the client moved with the pointer.
        if (const std::optional<PixelRect> moved = view_.DragRectangle())
            offset = {moved->left, moved->top};
    }
    if (offset.isNull())
        return offset;
    // The picture stops at the world's edges, as the view does when the drag ends.
    const PixelPoint allowed = view_.PanAllowed(offset.x(), offset.y());
    return {allowed.x, allowed.y};
}

void CPlovaneView::DrawSelection(QPainter& painter) {
    if (selected_.empty() || !view_.aspectFixed())
        return;
    const auto station = context_.stations.FindStation(selected_);
    if (!station || !station->hasPosition)
        return;
    const PixelPoint at =
        view_.MapToScreen(station->position.longitude, station->position.colatitude);
    if (at.y < kHeaderStripHeight)
        return;
    // A ring around the symbol marks the station found or chosen.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255), 5));
    painter.drawEllipse(QPoint(at.x, at.y), 13, 13);
    painter.setPen(QPen(QColor(0, 120, 255), 3));
    painter.drawEllipse(QPoint(at.x, at.y), 13, 13);
}

void CPlovaneView::resizeEvent(QResizeEvent*) {
    view_.Resize(width(), height());
    pictureStale_ = true;
}

void CPlovaneView::Changed(bool viewMoved) {
    if (viewMoved)
        view_.SetBackgroundValid(false);
    pictureStale_ = true;
    update();
}

void CPlovaneView::RefreshView(bool full) {
    if (full)
        view_.SetBackgroundValid(false);
    pictureStale_ = true;
    update();
}

void CPlovaneView::SetHeaderStatus(const HeaderStatus& status) {
    const HeaderStatus& old = *status_;
    if (old.gpsConfigured == status.gpsConfigured && old.tnc == status.tnc &&
        old.gps == status.gps && old.net == status.net &&
        old.messageWaiting == status.messageWaiting &&
        old.unreadMessages == status.unreadMessages) {
        return;
    }
    *status_ = status;
    RefreshView(true);
}

void CPlovaneView::SetDragMode(DragMode mode) {
    if (view_.dragMode() == mode)
        return;
    view_.SetDragMode(mode);
    emit dragModeChanged(mode);
}

bool CPlovaneView::OnCommand(Command id) {
    switch (id) {
        case Command::kDragToZoom:
            SetDragMode(DragMode::kZoom);
            return true;
        case Command::kDragToMove:
            SetDragMode(DragMode::kMove);
            return true;
        case Command::kHome:
            if (view_.Home(context_.doc.map()))
                Changed(true);
            return true;
        case Command::kZoomIn:
            if (view_.ZoomIn())
                Changed(true);
            return true;
        case Command::kZoomOut:
            if (view_.ZoomOut())
                Changed(true);
            return true;
        case Command::kRefresh:
            if (view_.Refresh())
                Changed(false);
            return true;
        case Command::kMapOptions:
            EditOptions();
            return true;
        case Command::kCenterOnStation:
            if (pick_.chosen())
                CenterOnStation(pick_.chosen()->call);
            return true;
        case Command::kStationInfo:
        case Command::kSendMessage:
        case Command::kConversation:
            if (pick_.chosen()) {
                emit stationCommand(id, QString::fromLatin1(pick_.chosen()->call.c_str()));
            }
            return true;
        default:
            return false;
    }
}

bool CPlovaneView::EditOptions() {
    MapOptionsDialog dialog(context_.profile, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    context_.options = dialog.stored();
    ApplyTileSource();
    RefreshView(true);
    return true;
}

// --- Stations ---

void CPlovaneView::DrawStationsOverPicture(const std::vector<std::string>& calls) {
    if (!view_.aspectFixed())
        return;  // never drawn yet: the first paint draws everything
    MapScene scene;
    FillScene(scene);
    stationDrawings_ += static_cast<int64_t>(calls.size());
    if (pictureStale_ || picture_.isNull()) {
        // A repaint is due. When it copies the kept off-screen picture instead of drawing
        // the map again, that copy must hold these stations too.
        for (const std::string& call : calls)
            renderer_->DrawStation(nullptr, scene, call);
        return;
    }
    QPainter painter(&picture_);
    for (const std::string& call : calls)
        renderer_->DrawStation(&painter, scene, call);
}

void CPlovaneView::DrawPendingStations() {
    if (pendingStations_.empty())
        return;
    std::vector<std::string> calls;
    calls.swap(pendingStations_);
    pendingSet_.clear();
    stationFrame_.stop();
    if (pictureStale_ && !view_.backgroundValid())
        return;  // the complete drawing that is due shows them
    if (calls.size() > kMostStationsDrawnAlone) {
        // Drawn one by one they would cost more than the whole map drawn once.
        RefreshView(true);
        return;
    }
    DrawStationsOverPicture(calls);
}

void CPlovaneView::QueueStations(const std::vector<std::string>& calls) {
    for (const std::string& call : calls) {
        if (pendingSet_.insert(call).second)
            pendingStations_.push_back(call);
    }
    if (!stationFrame_.isActive())
        stationFrame_.start();
}

void CPlovaneView::StationsChanged(const std::vector<std::string>& calls, bool all) {
    const std::string own = context_.stations.OwnCall();
    const bool ownChanged = all || std::find(calls.begin(), calls.end(), own) != calls.end();
    if (ownChanged)
        RefreshOwnPosition();
    if (ownChanged && context_.options.TrackMe) {
        const CStation ownStation = context_.stations.OwnStation();
        if (view_.TrackMe(context_.options, ownStation.hasPosition, ownStation.position.colatitude,
                          ownStation.position.longitude)) {
            Changed(true);
            return;
        }
    }
    if (all) {
        RefreshView(true);
        return;
    }
    // Drawn with the next frame: a busy feed changes a station several times a frame, and
    // each change drawn at once would hold up the window.
    QueueStations(calls);
    if (!settle_.isActive())
        settle_.start();
}

void CPlovaneView::TimerTick() {
    if (view_.IsCompleteRedrawDue(context_.options, context_.clock.TickMs())) {
        RefreshView(true);
        return;
    }
    std::vector<std::string> calls;
    context_.stations.ForEach([&calls](const CStation& station) { calls.push_back(station.call); });
    QueueStations(calls);
}

// --- Mouse ---

void CPlovaneView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    // The navigation state needs the projection of the picture on screen.
    if (pictureStale_)
        RenderPicture();
    if (areaSink_ && event->button() == Qt::LeftButton) {
        areaStart_ = areaNow_ = point;
        event->accept();
        return;
    }
    switch (event->button()) {
        case Qt::LeftButton:
            view_.OnLButtonDown(ToPixel(point));
            break;
        case Qt::MiddleButton:
            // The middle button always pans, whichever drag mode is chosen.
            panning_ = true;
            panStart_ = panNow_ = point;
            break;
        case Qt::RightButton:
            // The stations under the pointer and their pop-up, as desktop programs do.
            Tap(point);
            break;
        default:
            QWidget::mousePressEvent(event);
            return;
    }
    event->accept();
}

void CPlovaneView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    ShowPointer(point);
    if (panning_) {
        panNow_ = point;
        update();
        return;
    }
    if (areaStart_) {
        areaNow_ = point;
        update();
        return;
    }
    if (!view_.tracking())
        return;
    view_.OnMouseMove(ToPixel(point));
    update();  // the rubber band or the moved picture; the map is not drawn again
}

void CPlovaneView::leaveEvent(QEvent* event) {
    emit pointerText(QString());
    QWidget::leaveEvent(event);
}

void CPlovaneView::ShowPointer(const QPoint& point) {
    if (!view_.aspectFixed() || point.y() < kHeaderStripHeight) {
        emit pointerText(QString());
        return;
    }
    const QPoint offset = PanOffset();
    const MapPoint at = view_.ScreenToMap(point.x() - offset.x(), point.y() - offset.y());
    std::optional<GeoPoint> own;
    if (ownKnown_)
        own = ownPosition_;
    emit pointerText(QString::fromStdString(PointerStatusText({at.y, at.x}, own, unitsOfMeasure_)));
}

void CPlovaneView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && panning_) {
        const QPoint offset = panNow_ - panStart_;
        panning_ = false;
        if (!offset.isNull() && view_.Pan(offset.x(), offset.y()))
            Changed(true);
        else
            update();
        return;
    }
    if (areaStart_ && event->button() == Qt::LeftButton) {
        const MapPoint a = view_.ScreenToMap(areaStart_->x(), areaStart_->y());
        const QPoint end = event->position().toPoint();
        const MapPoint b = view_.ScreenToMap(end.x(), end.y());
        areaStart_.reset();
        AreaSink done = std::move(areaSink_);
        PickArea({});
        update();
        done(AreaBetween(a.x, a.y, b.x, b.y));
        return;
    }
    if (event->button() != Qt::LeftButton || !view_.tracking())
        return;
    const DragOutcome outcome = view_.OnLButtonUp(ToPixel(event->position().toPoint()));
    switch (outcome.result) {
        case DragResult::kZoomed:
        case DragResult::kMoved:
            Changed(true);
            break;
        case DragResult::kTap:
            update();  // remove the rubber band before the pop-up
            if (!ZoomToGroup(event->position().toPoint()))
                Tap(event->position().toPoint());
            break;
        case DragResult::kNone:
            break;
    }
}

void CPlovaneView::wheelEvent(QWheelEvent* event) {
    // Each notch zooms about the pointer, so the place under it stays put. The notches of a
    // burst only move the view; the map is drawn once they stop, and meanwhile the last
    // picture is shown scaled to the new view.
    const PixelPoint at = ToPixel(event->position().toPoint());
    view_.Resize(width(), height());
    view_.PrepareForDrawing(context_.doc.map());  // fitted as the picture on screen is
    wheelRemainder_ += event->angleDelta().y();
    bool changed = false;
    while (wheelRemainder_ >= kWheelStep) {
        wheelRemainder_ -= kWheelStep;
        changed = view_.ZoomAbout(at, true) || changed;
    }
    while (wheelRemainder_ <= -kWheelStep) {
        wheelRemainder_ += kWheelStep;
        changed = view_.ZoomAbout(at, false) || changed;
    }
    if (changed) {
        view_.SetBackgroundValid(false);
        pictureStale_ = true;
        zoomSettle_.start();
        update();
    }
    event->accept();
}

bool CPlovaneView::DrawScaledPicture(QPainter& painter) {
    if (!pictureProjection_ || picture_.isNull() || !view_.aspectFixed())
        return false;
    const MapProjection& was = *pictureProjection_;
    const MapProjection now = view_.Projection();
    if (was.mercator() != now.mercator())
        return false;
    // Where the old map area lands in the new view, in view units, then pixels.
    const auto x = [&](double units) { return (units - now.viewUnits().left) / now.ux(); };
    const auto y = [&](double units) {
        return kHeaderStripHeight + (units - now.viewUnits().top) / now.viewUy();
    };
    const double left = was.viewUnits().left, top = was.viewUnits().top;
    const QRectF target(QPointF(x(left), y(top)),
                        QPointF(x(left + double(was.areaWidth()) * was.ux()),
                                y(top + double(was.areaHeight()) * was.viewUy())));
    const qreal ratio = picture_.devicePixelRatio();
    const QRectF source(0, kHeaderStripHeight * ratio, was.areaWidth() * ratio,
                        was.areaHeight() * ratio);
    painter.fillRect(rect(), Qt::white);
    painter.save();
    painter.setClipRect(0, kHeaderStripHeight, width(), height() - kHeaderStripHeight);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, picture_, source);
    painter.restore();
    // The header strip as it was: its texts are not scaled.
    painter.drawImage(QRectF(0, 0, width(), kHeaderStripHeight), picture_,
                      QRectF(0, 0, width() * ratio, kHeaderStripHeight * ratio));
    return true;
}

bool CPlovaneView::ZoomAtPointer(bool in) {
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    if (!rect().contains(pointer) || pointer.y() < kHeaderStripHeight)
        return OnCommand(in ? Command::kZoomIn : Command::kZoomOut);
    if (pictureStale_)
        RenderPicture();
    if (view_.ZoomAbout(ToPixel(pointer), in))
        Changed(true);
    return true;
}

// The zoom keys belong to the map while it has the focus: they zoom about the pointer
// rather than about the centre as the menu and toolbar commands do.
int CPlovaneView::ZoomKeyOf(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier & ~Qt::ShiftModifier;
    if (mods != Qt::NoModifier && mods != Qt::ControlModifier)
        return 0;
    switch (key.key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            return 1;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            return -1;
        default:
            return 0;
    }
}

bool CPlovaneView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        ZoomKeyOf(*static_cast<QKeyEvent*>(event)) != 0) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = ToolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

void CPlovaneView::keyPressEvent(QKeyEvent* event) {
    if (const int zoom = ZoomKeyOf(*event)) {
        ZoomAtPointer(zoom > 0);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// --- Stations found, the own position, tooltips ---

bool CPlovaneView::CenterOnStation(const std::string& call) {
    const auto station = context_.stations.FindStation(call);
    if (!station || !station->hasPosition)
        return false;
    selected_ = station->call;
    if (pictureStale_)
        RenderPicture();  // the view box the centring starts from
    view_.CenterOn(station->position.colatitude, station->position.longitude);
    Changed(true);
    return true;
}

bool CPlovaneView::CenterOnPosition(int32_t colatitude, int32_t longitude) {
    if (pictureStale_)
        RenderPicture();
    if (!view_.CenterOn(colatitude, longitude))
        return false;
    Changed(true);
    return true;
}

void CPlovaneView::RefreshOwnPosition() {
    const CStation own = context_.stations.OwnStation();
    ownKnown_ = own.hasPosition;
    ownPosition_ = {own.position.colatitude, own.position.longitude};
}

QString CPlovaneView::ToolTipAt(const QPoint& point) {
    if (point.y() < kHeaderStripHeight) {
        const HeaderIcon icon = HeaderIconAt(width(), status_->gpsConfigured, point.x(), point.y());
        if (icon == HeaderIcon::kNone)
            return {};
        const std::string detail =
            linkDetail_ ? linkDetail_(static_cast<int>(icon)) : std::string();
        std::string tip = HeaderIconTip(icon, *status_, detail);
        if (const std::string counts = linkCounts_ ? linkCounts_(static_cast<int>(icon)) : "";
            !counts.empty())
            tip += "\n" + counts;
        return QString::fromStdString(tip);
    }
    if (!view_.aspectFixed() || view_.tracking() || panning_)
        return {};
    if (const auto group = renderer_->GroupAt(ToPixel(point)))
        return QString("%1 stations here: click to zoom in").arg(group->calls.size());
    CStationPick probe;
    probe.Tap(view_, ToPixel(point), context_.stations);
    if (probe.page().empty())
        return {};
    const CStation& station = probe.page().front();
    StationTip tip;
    tip.call = station.call;
    tip.symbolTable = station.symbolTable;
    tip.symbolCode = station.symbolCode;
    tip.ageSeconds = (context_.clock.Now() - station.lastHeard).TotalSeconds();
    tip.comment = station.killed ? std::string() : station.comment;
    QString text = QString::fromStdString(StationTipText(tip));
    if (probe.total() > 1)
        text += QString("\n(%1 stations here)").arg(probe.total());
    return text;
}

// --- Station pick ---

bool CPlovaneView::ZoomToGroup(const QPoint& point) {
    const std::optional<CMapRenderer::GroupHit> group = renderer_->GroupAt(ToPixel(point));
    if (!group || group->samePlace)
        return false;  // stations on one spot are listed instead
    // Room round the stations for their symbols and calls.
    constexpr int kMargin = 24;
    const QRect box = group->box.adjusted(-kMargin, -kMargin, kMargin, kMargin);
    const MapBox before = view_.viewBox();
    if (!view_.ZoomToRect({box.left(), box.top(), box.right() + 1, box.bottom() + 1}) ||
        view_.viewBox() == before)
        return false;
    Changed(true);
    return true;
}

int CPlovaneView::RunMenu(QMenu& menu, const QPoint& clientPoint) {
    const QPoint global = mapToGlobal(clientPoint);
    if (menuRunner_)
        return menuRunner_(menu, global);
    int chosen = 0;
    connect(&menu, &QMenu::triggered, &menu,
            [&chosen](QAction* action) { chosen = PickCommandOf(action); });
    menu.exec(global);
    return chosen;
}

void CPlovaneView::Tap(const QPoint& point) {
    const IconPainter icons = [this](QPainter& painter, const StationIcon& icon, int x, int y) {
        context_.icons.Draw(painter, icon, x, y);
    };
    const std::optional<CMapRenderer::GroupHit> group = renderer_->GroupAt(ToPixel(point));
    PickMenu menu = group ? pick_.TapBox(view_, ToPixel(point),
                                         {group->box.left(), group->box.top(),
                                          group->box.right() + 1, group->box.bottom() + 1},
                                         context_.stations)
                          : pick_.Tap(view_, ToPixel(point), context_.stations);
    // Each round shows one pop-up; "&More..." and a station of the list lead to the next.
    while (menu.kind != PickMenu::Kind::kNone) {
        if (menu.kind == PickMenu::Kind::kStationPopup) {
            menu.items.push_back({PickMenuItem::Kind::kCommand,
                                  kCenterOnStationCommand,
                                  "&Center on Station",
                                  false,
                                  {}});
            menu.items.push_back({PickMenuItem::Kind::kCommand,
                                  kConversationCommand,
                                  "C&onversation...",
                                  false,
                                  {}});
        }
        std::unique_ptr<QMenu> qmenu(BuildPickMenu(menu, icons, this));
        const int command = RunMenu(*qmenu, point);
        if (command == 0)
            return;
        // The pop-up's own ids become the window's commands.
        if (command == kStationInfoCommand) {
            OnCommand(Command::kStationInfo);
            return;
        }
        if (command == kSendMessageCommand) {
            OnCommand(Command::kSendMessage);
            return;
        }
        if (command == kConversationCommand) {
            OnCommand(Command::kConversation);
            return;
        }
        if (command == kCenterOnStationCommand) {
            OnCommand(Command::kCenterOnStation);
            return;
        }
        menu = pick_.Choose(command, context_.stations);
    }
}

}  // namespace plovane
