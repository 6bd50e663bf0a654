// The map widget.
#include "ui/plovane_view.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "maps/render/map_renderer.h"
#include "maps/render/symbol_icons.h"
#include "stations/station_list.h"
#include "ui/host_render_report.h"
#include "ui/logic/command_ids.h"
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
    setMinimumSize(120, 80);
    report_ = std::make_unique<HostRenderReport>(context_.host);
    renderer_ = std::make_unique<CMapRenderer>(*report_, context_.clock, context_.icons);
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleRedrawMs);
    connect(&settle_, &QTimer::timeout, this, [this] { RefreshView(true); });
    tileRepaint_.setSingleShot(true);
    tileRepaint_.setInterval(kTileRepaintMs);
    connect(&tileRepaint_, &QTimer::timeout, this, [this] { RefreshView(true); });
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
}

bool CPlovaneView::RenderPicture() {
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
    QPainter painter(&picture_);
    MapScene scene;
    FillScene(scene);
    return renderer_->DrawMap(&painter, scene);
}

QImage CPlovaneView::RenderImage() {
    RenderPicture();
    return picture_;
}

void CPlovaneView::paintEvent(QPaintEvent*) {
    painting_ = true;
    if (pictureStale_ || picture_.deviceIndependentSize() != QSizeF(size()))
        RenderPicture();
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
    if (const std::optional<PixelRect> band = view_.DragRectangle()) {
        // The rubber band: a dotted line over a white one shows on any map colour.
        const QRect rect = ToQRect(*band);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(rect);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(rect);
    }
    painting_ = false;
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
        old.messageWaiting == status.messageWaiting) {
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

bool CPlovaneView::OnCommand(int id) {
    switch (id) {
        case kCommandDragToZoom:
            SetDragMode(DragMode::kZoom);
            return true;
        case kCommandDragToMove:
            SetDragMode(DragMode::kMove);
            return true;
        case kCommandHome:
            if (view_.Home(context_.doc.map()))
                Changed(true);
            return true;
        case kCommandZoomIn:
            if (view_.ZoomIn())
                Changed(true);
            return true;
        case kCommandZoomOut:
            if (view_.ZoomOut())
                Changed(true);
            return true;
        case kCommandRefresh:
            if (view_.Refresh())
                Changed(false);
            return true;
        case kCommandMapOptions:
            EditOptions();
            return true;
        case kStationInfoCommand:
        case kSendMessageCommand:
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

void CPlovaneView::StationsChanged(const std::vector<std::string>& calls, bool all) {
    const std::string own = context_.stations.OwnCall();
    const bool ownChanged = all || std::find(calls.begin(), calls.end(), own) != calls.end();
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
    DrawStationsOverPicture(calls);
    update();
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
    DrawStationsOverPicture(calls);
    update();
}

// --- Mouse ---

void CPlovaneView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The navigation state needs the projection of the picture on screen.
    if (pictureStale_)
        RenderPicture();
    view_.OnLButtonDown(ToPixel(event->position().toPoint()));
}

void CPlovaneView::mouseMoveEvent(QMouseEvent* event) {
    if (!view_.tracking())
        return;
    view_.OnMouseMove(ToPixel(event->position().toPoint()));
    update();  // the rubber band only; the picture stays
}

void CPlovaneView::mouseReleaseEvent(QMouseEvent* event) {
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
            Tap(event->position().toPoint());
            break;
        case DragResult::kNone:
            break;
    }
}

void CPlovaneView::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    bool changed = false;
    while (wheelRemainder_ >= kWheelStep) {
        wheelRemainder_ -= kWheelStep;
        changed = view_.ZoomIn() || changed;
    }
    while (wheelRemainder_ <= -kWheelStep) {
        wheelRemainder_ += kWheelStep;
        changed = view_.ZoomOut() || changed;
    }
    if (changed)
        Changed(true);
    event->accept();
}

// --- Station pick ---

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
    PickMenu menu = pick_.Tap(view_, ToPixel(point), context_.stations);
    // Each round shows one pop-up; "&More..." and a station of the list lead to the next.
    while (menu.kind != PickMenu::Kind::kNone) {
        std::unique_ptr<QMenu> qmenu(BuildPickMenu(menu, icons, this));
        const int command = RunMenu(*qmenu, point);
        if (command == 0)
            return;
        if (command == kStationInfoCommand || command == kSendMessageCommand) {
            OnCommand(command);
            return;
        }
        menu = pick_.Choose(command, context_.stations);
    }
}

}  // namespace plovane
