// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the application's commands and the core's view requests.
#include "ui/gui_app.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "app/qsettings_profile.h"
#include "app/search_folders.h"
#include "core/latin1.h"
#include "core/version.h"
#include "maps/render/map_renderer.h"
#include "maps/render/symbol_icons.h"
#include "ui/data_paths.h"
#include "ui/display_text.h"
#include "ui/find_station_dialog.h"
#include "ui/history_window.h"
#include "ui/host_render_report.h"
#include "ui/list_windows.h"
#include "ui/logic/command_ids.h"
#include "ui/logic/map_tips.h"
#include "ui/logic/plovane_doc.h"
#include "ui/logic/send_feedback.h"
#include "ui/logic/status_icons.h"
#include "ui/logic/view_state.h"
#include "ui/main_frame.h"
#include "ui/message_alerts.h"

#include "ui/map_loader.h"
#include "ui/plovane_view.h"
#include "ui/qt_host.h"
#include "ui/setup_commands.h"
#include "ui/setup_widgets.h"
#include "ui/splash_window.h"
#include "ui/station_list_window.h"
#include "ui/stop_signals.h"
#include "ui/tile_background.h"
#include "ui/welcome_wizard.h"

namespace plovane {
namespace {

std::string PathBytes(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString PathText(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace

GuiApp::GuiApp(const GuiOptions& options, bool interactive)
    : options_(options), interactive_(interactive) {
    profile_ = options_.settingsPath.empty()
                   ? std::make_unique<QSettingsProfile>()
                   : std::make_unique<QSettingsProfile>(options_.settingsPath);
    host_ = std::make_unique<QtHost>();
    host_->SetInteractive(interactive_);
    app_ = std::make_unique<CPlovaneApp>(*profile_, *host_, clock_);
    doc_ = std::make_unique<CPlovaneDoc>(clock_);
    mapLoader_ = std::make_unique<MapLoader>(*host_);
    const QString dataDir = BundledDataDir();
    icons_ = dataDir.isEmpty() ? std::make_unique<CSymbolIcons>()
                               : std::make_unique<CSymbolIcons>(PathBytes(dataDir + "/icons"));

    frame_ = std::make_unique<CMainFrame>(*profile_);
    view_ = new CPlovaneView(
        {*doc_, mapOptions_, app_->stations(), *profile_, *host_, clock_, *icons_});
    frame_->SetView(view_);
    frame_->SetShutdown([this] {
        timer_.stop();
        logStateTimer_.stop();
        SaveView();
        windows_->SaveReadMarks(profile_->State());
        app_->Shutdown();
        // The program ends with its main window, even while a list window or the splash is
        // still open (they are windows of their own).
        emit quitRequested();
    });
    connect(frame_.get(), &CMainFrame::command, this, &GuiApp::OnCommand);
    connect(frame_.get(), &CMainFrame::openMap, this, [this](int index) {
        if (index >= 0 && static_cast<size_t>(index) < app_->mapList().size())
            OpenMapInBackground(app_->mapList()[static_cast<size_t>(index)].path);
    });
    for (QAction* top : frame_->menuBar()->actions()) {
        if (top->text() == "&Setup" && top->menu() != nullptr) {
            QAction* welcome = top->menu()->addAction("&Welcome...");
            welcome->setObjectName("welcomeAction");
            connect(welcome, &QAction::triggered, this, &GuiApp::ShowWelcome);
        }
    }
    host_->SetDialogParent(frame_.get());
    windows_ = std::make_unique<CListWindows>(*app_, *host_, *icons_, frame_.get(),
                                              [this] { ShowHeaderStatus(); });
    connect(view_, &CPlovaneView::stationCommand, windows_.get(), &CListWindows::StationCommand);
    alerts_ = std::make_unique<CMessageAlerts>(
        *app_, *windows_, *profile_,
        CMessageAlerts::Actions{[this] { RaiseWindow(); }, [this] { frame_->close(); },
                                [this](const QString& text) { frame_->ShowNotice(text); }},
        interactive_);
    windows_->SetCenterOn([this](const std::string& call) {
        CenterOnStation(call);
        RaiseWindow();
    });
    view_->SetLinkDetail([this](int icon) -> std::string {
        switch (static_cast<HeaderIcon>(icon)) {
            case HeaderIcon::kTnc:
                return app_->tncSettings().port;
            case HeaderIcon::kGps:
                return app_->gpsSettings().port;
            case HeaderIcon::kNet:
                if (const CNetManager* net = app_->net(); net != nullptr && net->LastError() != 0)
                    return std::strerror(net->LastError());
                return app_->netSettings().hostAddress + ":" + app_->netSettings().hostPort;
            default:
                return {};
        }
    });
    view_->SetLinkCounts([this](int icon) -> std::string {
        if (static_cast<HeaderIcon>(icon) == HeaderIcon::kTnc)
            return app_->relay().RadioStatus();
        if (static_cast<HeaderIcon>(icon) == HeaderIcon::kNet)
            return app_->relay().InternetStatus();
        return {};
    });

    QtHost::Receivers receivers;
    receivers.threadMessage = [this](ThreadMessage message, const std::string& text) {
        app_->OnThreadMessage(message, text);
    };
    receivers.notice = [this](const QString& text) { frame_->ShowNotice(text); };
    receivers.stationsChanged = [this](const std::vector<std::string>& calls, bool all) {
        view_->StationsChanged(calls, all);
        windows_->StationsChanged(calls, all);
    };
    receivers.messagesChanged = [this](const std::vector<uint64_t>& keys, bool all) {
        // An open conversation reads what it shows before the header counts.
        windows_->MessagesChanged(keys, all);
        alerts_->MessagesChanged(keys, all);
        ShowHeaderStatus();
    };
    // The host's progress does not nest: a reader that stops without hiding it cannot
    // leave the indicator standing. Once the work is done, the notice it replaced (the last
    // line heard, say) comes back.
    receivers.progressShow = [this](const QString& text) {
        if (!progressShown_) {
            noticeBeforeProgress_ = frame_->notice();
            frame_->BeginProgressDrawing();
        }
        progressShown_ = true;
        progressText_ = text;
        frame_->ShowNotice(text);
        frame_->Progress(0);
    };
    receivers.progressSet = [this](int percent) { frame_->Progress(percent); };
    receivers.progressHide = [this] {
        if (!progressShown_)
            return;
        frame_->EndProgressDrawing();
        progressShown_ = false;
        if (frame_->notice() == progressText_)
            frame_->ShowNotice(noticeBeforeProgress_);
    };
    host_->SetReceivers(std::move(receivers));

    timer_.setInterval(CPlovaneApp::kTimerPeriodMs);
    connect(&timer_, &QTimer::timeout, this, [this] { app_->OnTimer(); });
    logStateTimer_.setInterval(1000);
    connect(&logStateTimer_, &QTimer::timeout, this, &GuiApp::ShowLogState);
}

GuiApp::~GuiApp() {
    timer_.stop();
    logStateTimer_.stop();
    // The ports and the output thread stop before the windows and the host go.
    app_->Shutdown();
    app_->SetViews(nullptr);
    if (splash_)
        delete splash_.data();
}

std::vector<std::filesystem::path> GuiApp::Folders() const {
    return SearchFolders(*profile_, PathBytes(BundledDataDir()));
}

void GuiApp::ShowLogState() {
    const LogState state = ReadLogState(*app_);
    frame_->ShowLogState(DisplayText(state.text), DisplayText(state.tooltip), state.trouble);
    frame_->ShowPortIcons(ReadPortIcons(*app_));
}

void GuiApp::ShowStatus(const std::string& text) {
    if (splash_) {
        splash_->SetStatus(DisplayText(text));
    } else {
        frame_->ShowNotice(DisplayText(text));
    }
}

// The map a start shows: the one named on the command line, else the last one when the
// preferences ask for it, else the bundled world map. A large map is read behind the drawn
// window (the world map shows until it is in), except for a screenshot, which waits for it.
// Returns the notice of a last map that no longer reads.
QString GuiApp::OpenStartMap() {
    constexpr std::uintmax_t kReadBehindBytes = 4u << 20;
    const auto large = [](const std::string& path) {
        std::error_code ec;
        const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
        return !ec && bytes > kReadBehindBytes;
    };
    bool opened = false;
    QString skipped;
    std::string behind;  // a large map to read once the window is drawn
    bool behindQuiet = false;
    if (!options_.mapPath.empty()) {
        if (interactive_ && large(options_.mapPath))
            behind = options_.mapPath;
        else
            opened = OpenMap(options_.mapPath, true);
    } else if (mapOptions_.ReloadLastMap && !latin1::Trim(mapOptions_.LastMapPath).empty()) {
        // A last map that no longer reads is skipped with a notice rather than a box that
        // would stop every start.
        const std::string last(latin1::Trim(mapOptions_.LastMapPath));
        if (interactive_ && large(last)) {
            behind = last;
            behindQuiet = true;
        } else {
            opened = OpenMap(last, true, true);
            if (!opened)
                skipped = frame_->notice();
        }
    }
    if (!behind.empty())
        OpenMapInBackground(behind, behindQuiet, true);
    if (!opened && !doc_->map().loaded) {
        const QString world = WorldMapPath();
        if (!world.isEmpty())
            OpenMap(PathBytes(world), false);
    }
    RestoreView();
    RefreshViews(true);
    return skipped;
}

bool GuiApp::Start(bool show) {
    if (interactive_) {
        splash_ = new CSplashWnd;
        splash_->show();
        splash_->raise();
        QApplication::processEvents();
    }
    // The main window comes first: a port that cannot open reports over it, without
    // keeping it hidden or waiting for a click.
    // What a new installation takes from this machine; stored choices stay.
    WriteMachineDefaults(*profile_, "/dev", BaseLayerPath().toStdString());
    mapOptions_.Load(*profile_);
    if (!options_.tilesSource.empty())
        mapOptions_.TileSource = options_.tilesSource;  // for this run; not saved
    view_->ApplyTileSource();
    if (show) {
        frame_->RestoreWindowGeometry();
        frame_->show();
        frame_->raise();
        frame_->activateWindow();
    } else {
        // Laid out and drawable, but never on a screen.
        frame_->setAttribute(Qt::WA_DontShowOnScreen);
        frame_->show();
    }
    // The map first, drawn before the core starts: the station log's replay fills it.
    const QString skippedMap = OpenStartMap();
    // The splash covers the start only: it goes once the main window is drawn.
    if (splash_) {
        frame_->repaint();
        delete splash_.data();
    }
    if (show)
        QApplication::processEvents();
    app_->SetViews(this);
    AppStartOptions start;
    start.searchFolders = Folders();
    start.status = [this](const std::string& text) { ShowStatus(text); };
    host_->SetBoxesWait(false);
    const bool coreStarted = app_->Start(start);
    host_->SetBoxesWait(true);
    if (!coreStarted)
        return false;
    // What the log replayed was heard before: read as it was then, and not announced.
    windows_->LoadReadMarks(profile_->State());
    alerts_->SkipStored();

    view_->SetUnitsOfMeasure(app_->stationSettings().UnitsOfMeasure);
    ShowHeaderStatus();
    view_->RefreshOwnPosition();
    MapListChanged();
    timer_.start();
    started_ = true;
    ShowLogState();
    logStateTimer_.start();
    // SIGTERM and SIGINT stop the program as closing the main window does.
    stopSignals_ = std::make_unique<StopSignals>([this] { frame_->close(); });

    if (!skippedMap.isEmpty())
        frame_->ShowNotice(skippedMap);  // the start's own notices came after it
    RefreshViews(true);

    if (!options_.simulatePath.empty() && PlaySimulation(options_.simulatePath) < 0) {
        host_->MessageBox("Unable to open simulation file \"" + options_.simulatePath + "\".",
                          MessageBoxIcon::kExclamation);
    }
    // A station without a call sign is new: the guide helps it on the air. Screenshot and
    // test runs (not interactive) never show it.
    const CStationSettings& station = app_->stationSettings();
    if (interactive_ && (!station.IsConfigured() || latin1::Trim(station.MyCall).empty())) {
        QTimer::singleShot(0, this, &GuiApp::ShowWelcome);
    }
    return true;
}

void GuiApp::LogReplayed(const QString& path, long lines, const std::string& notice) {
    QApplication::restoreOverrideCursor();
    if (app_->exiting())
        return;  // ended just before the quit: nothing left to say it to
    UpdateViews();
    alerts_->SkipStored();
    if (lines < 0) {
        host_->MessageBox("Unable to open log file \"" + PathBytes(path) + "\".",
                          MessageBoxIcon::kExclamation);
        return;
    }
    // The status line says how many lines were replayed, but the next line heard takes its
    // place at once: the count is said in a box as well.
    host_->ShowNotice(notice);
    host_->MessageBox(notice, MessageBoxIcon::kInformation);
}

// --- The first-start guide ---

CWelcomeWizard* GuiApp::welcome() const {
    return welcome_.data();
}

void GuiApp::SetWelcomeProbes(const WelcomeProbes& probes) {
    welcomeProbes_ = std::make_unique<WelcomeProbes>(probes);
}

void GuiApp::ShowWelcome() {
    if (welcome_) {
        welcome_->raise();
        welcome_->activateWindow();
        return;
    }
    WelcomeProbes probes = welcomeProbes_ ? *welcomeProbes_ : WelcomeProbes();
    probes.baseLayer = BaseLayerPath();
    for (const TncFileEntry& file : app_->tncFiles())
        probes.tncFiles.push_back({file.path, file.name});
    auto* wizard = new CWelcomeWizard(*profile_, probes, icons_.get(), frame_.get());
    wizard->setAttribute(Qt::WA_DeleteOnClose);
    welcome_ = wizard;
    connect(wizard, &QWizard::accepted, this, [this, wizard] {
        WelcomeDone(wizard->Save(), wizard->Choices().radiusKm);
    });
    connect(wizard, &CWelcomeWizard::mapPickRequested, this, [this] {
        view_->installEventFilter(this);
        RaiseWindow();
    });
    wizard->show();
}

bool GuiApp::eventFilter(QObject* watched, QEvent* event) {
    // One left click on the map while the guide waits for a place: it goes to the guide, not
    // to the map's own drag.
    if (watched != view_ || event->type() != QEvent::MouseButtonPress)
        return QObject::eventFilter(watched, event);
    const auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() != Qt::LeftButton)
        return false;
    view_->removeEventFilter(this);
    const QPoint point = press->position().toPoint();
    if (!welcome_ || !view_->mapView().aspectFixed() || point.y() < kHeaderStripHeight)
        return false;
    const MapPoint at = view_->mapView().ScreenToMap(point.x(), point.y());
    welcome_->SetMapPosition({LatitudeDegrees(at.y), LongitudeDegrees(at.x)});
    return true;
}

void GuiApp::WelcomeDone(const WelcomeSettings& settings, int radiusKm) {
    // As the setup sheets' OK does: the station first, then the connections restart.
    view_->SetUnitsOfMeasure(settings.station.UnitsOfMeasure);
    app_->StationSetupDone(settings.station);
    view_->SetTileSource(settings.map.TileSource.empty() ? "none" : settings.map.TileSource);
    RefreshViews(true);
    host_->Post(ThreadMessage::kCommSetupDone);
    // The stations round the new position fill the map.
    if (settings.station.HasInitPosit && settings.station.HasTypedPosition()) {
        view_->mapView().ShowBox(RangeBox(
            {LatitudeDegrees(settings.station.Lat), LongitudeDegrees(settings.station.Lon)},
            radiusKm));
        RefreshViews(true);
    }
}

// --- The view kept across starts ---

void GuiApp::SaveView() {
    if (!doc_->map().loaded || !view_->mapView().aspectFixed())
        return;
    SaveViewState(*profile_, {view_->mapView().viewBox(), doc_->path()});
}

void GuiApp::RestoreView() {
    const std::optional<ViewState> saved = LoadViewState(*profile_);
    if (!saved || !doc_->map().loaded || saved->mapPath != doc_->path())
        return;
    doc_->map().fitted = true;  // the first drawing keeps the saved box instead
    view_->mapView().ShowBox(saved->box);
}

// --- Document ---

void GuiApp::ShowMapTitle() {
    const QString program = QString::fromLatin1(kProgramName);
    frame_->setWindowTitle(doc_->map().loaded ? DisplayText(doc_->Title()) + " - " + program
                                              : program);
}

bool GuiApp::OpenMap(const std::string& path, bool remember, bool quiet) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    HostRenderReport progress(*host_);
    CPlovaneDoc::FileRead read = CPlovaneDoc::Read(path, progress);
    QApplication::restoreOverrideCursor();
    return TakeMap(std::move(read), remember, quiet);
}

void GuiApp::OpenMapInBackground(const std::string& path, bool quiet, bool atStart) {
    if (!mapLoader_->Busy())
        QApplication::setOverrideCursor(Qt::BusyCursor);  // busy, yet the window answers
    mapLoader_->Load(path, [this, quiet, atStart](CPlovaneDoc::FileRead read) {
        QApplication::restoreOverrideCursor();
        const bool taken = TakeMap(std::move(read), true, quiet);
        if (taken && atStart) {
            RestoreView();
            RefreshViews(true);
        }
        emit mapOpened(taken);
    });
}

bool GuiApp::MapLoading() const {
    return mapLoader_->Busy();
}

bool GuiApp::TakeMap(CPlovaneDoc::FileRead read, bool remember, bool quiet) {
    const std::string error = doc_->Adopt(std::move(read));
    if (!error.empty()) {
        // The map shown stays, and so does the view.
        if (quiet) {
            std::string notice = error;
            std::replace(notice.begin(), notice.end(), '\n', ' ');
            frame_->ShowNotice(DisplayText(notice));
        } else {
            host_->MessageBox(error, MessageBoxIcon::kExclamation);
            frame_->ShowNotice("Ready");
        }
        return false;
    }
    if (remember) {
        // Only the map's own key: the rest of the record holds options this run may have
        // changed for itself (--tiles) and that other writers own.
        mapOptions_.LastMapPath = doc_->path();
        profile_->WriteString(CMapOptions::kSection, "LastMapPath", mapOptions_.LastMapPath);
    }
    ShowMapTitle();
    frame_->ShowNotice("Ready");
    RefreshViews(true);
    return true;
}

void GuiApp::CloseMap() {
    doc_->Close();
    ShowMapTitle();
    RefreshViews(true);
}

long GuiApp::PlaySimulation(const std::string& path) {
    frame_->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const long lines = app_->PlaySimulation(path);
    QApplication::restoreOverrideCursor();
    return lines;
}

// --- Commands ---

void GuiApp::OnCommand(Command id) {
    if (windows_->OnCommand(id))
        return;
    switch (id) {
        case Command::kOpenFile: {
            const QString start =
                doc_->path().empty() ? QString() : QFileInfo(PathText(doc_->path())).path();
            const QString path =
                QFileDialog::getOpenFileName(frame_.get(), "Open Map File...", start,
                                             "Map Files (*.map *.MAP *.pdb *.PDB);;All Files (*)");
            if (!path.isEmpty())
                OpenMapInBackground(PathBytes(path));
            return;
        }
        case Command::kCloseMap:
            CloseMap();
            return;
        case Command::kRefreshMapList:
            app_->RefreshMapList(Folders(), [this](const std::string& text) {
                frame_->ShowNotice(DisplayText(text));
            });
            return;
        case Command::kSimulate: {
            QFileDialog dialog(frame_.get(), "Open Simulation File...");
            dialog.setFileMode(QFileDialog::ExistingFile);
            dialog.setNameFilter("All Files (*)");
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                return;
            const std::string path = PathBytes(dialog.selectedFiles().front());
            if (PlaySimulation(path) < 0) {
                host_->MessageBox("Unable to open simulation file \"" + path + "\".",
                                  MessageBoxIcon::kExclamation);
            }
            return;
        }
        case Command::kReplayLog: {
            // One file at a time; one asked for during the start's replay follows it.
            if (app_->ReplayingFile()) {
                host_->MessageBox(
                    "A station log is being replayed. Replay another once it has ended.",
                    MessageBoxIcon::kExclamation);
                return;
            }
            // A day file of the station log, played like a simulation at its own times, on
            // the replay thread: the map goes on meanwhile.
            const QString path = QFileDialog::getOpenFileName(
                frame_.get(), "Replay Station Log...", PathText(app_->logFolder().string()),
                "Station Logs (*.log);;All Files (*)");
            if (path.isEmpty())
                return;
            QApplication::setOverrideCursor(Qt::BusyCursor);  // busy, yet the window answers
            frame_->ShowNotice("Replaying " + QFileInfo(path).fileName() + "...");
            app_->StartLogReplay(PathBytes(path), [this, path](long lines, std::string notice) {
                QMetaObject::invokeMethod(
                    this, [this, path, lines, notice] { LogReplayed(path, lines, notice); },
                    Qt::QueuedConnection);
            });
            return;
        }
        case Command::kHistory:
            ShowHistory();
            return;
        case Command::kSendPosition:
        case Command::kSendStatus:
        case Command::kSendMessages:
            SendNow(id);
            return;
        case Command::kFindStation:
            FindStation();
            return;
        case Command::kSetupStation:
            if (const auto settings = RunStationSetup(*profile_, frame_.get())) {
                view_->SetUnitsOfMeasure(settings->UnitsOfMeasure);
                app_->StationSetupDone(*settings);
            }
            return;
        case Command::kSetupCommunications:
            if (RunCommSetup(*profile_, *app_, frame_.get(), [this](const std::string& text) {
                    frame_->ShowNotice(SettingText(text));
                })) {
                RefreshViews(true);
                host_->Post(ThreadMessage::kCommSetupDone);
            }
            return;
        case Command::kSetupSound:
            if (RunSoundSetup(*profile_, frame_.get()))
                app_->SoundSetupDone();
            return;
        case Command::kSetupRelay:
            if (RunRelaySetup(*profile_, frame_.get()))
                app_->RelaySetupDone();
            return;
        default:
            return;
    }
}

CHistoryWindow* GuiApp::ShowHistory() {
    if (!history_) {
        const int64_t now = static_cast<int64_t>(
            (app_->clock().UtcNow() - CDateTime(1970, 1, 1, 0, 0, 0)).TotalSeconds());
        history_ = new CHistoryWindow(DefaultHistoryPath(), *view_, now, frame_.get());
        history_->setAttribute(Qt::WA_DeleteOnClose);
    }
    history_->show();
    history_->raise();
    history_->activateWindow();
    return history_.data();
}

// The send commands say in the status line what went where, or why nothing did. A position
// is not sent while the own station has none: the packet would put it at 0 N 0 E.
void GuiApp::SendNow(Command id) {
    const SendKind kind = id == Command::kSendPosition ? SendKind::kPosition
                          : id == Command::kSendStatus ? SendKind::kStatus
                                                       : SendKind::kMessages;
    const CStation own = app_->stations().OwnStation();
    SendFacts facts;
    facts.myCall = app_->stationSettings().MyCall;
    facts.hasPosition = own.hasPosition;
    facts.hasStatus = !own.lastInfo.empty();
    facts.tncOpen = app_->tnc().IsOpen();
    facts.netConnected = app_->net() != nullptr && app_->net()->IsOpen();
    if (!SendBlocked(kind, facts)) {
        if (kind == SendKind::kPosition)
            app_->SendPositionNow();
        else if (kind == SendKind::kStatus)
            app_->SendStatusNow();
        else
            app_->SendMessagesNow();
    }
    frame_->ShowNotice(DisplayText(SendFeedback(kind, facts)));
}

void GuiApp::FindStation() {
    std::vector<std::string> calls;
    app_->stations().ForEach([&calls](const CStation& s) {
        if (s.hasPosition)
            calls.push_back(s.call);
    });
    FindStationDialog dialog(std::move(calls), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted || dialog.chosenCall().empty())
        return;
    CenterOnStation(dialog.chosenCall());
}

void GuiApp::CenterOnStation(const std::string& call) {
    if (!view_->CenterOnStation(call)) {
        frame_->ShowNotice(DisplayText("Station " + call + " has no position on the map."));
        return;
    }
    if (CStationListWindow* list = windows_->stationWindow())
        list->SelectCall(call);
    frame_->ShowNotice(DisplayText("Centred on " + call));
}

// --- Views ---

void GuiApp::ShowHeaderStatus() {
    HeaderStatus status = ReadHeaderStatus(*app_);
    const size_t unread = windows_->UnreadCount();
    status.unreadMessages = static_cast<int>(std::min<size_t>(unread, INT32_MAX));
    view_->SetHeaderStatus(status);
    alerts_->UnreadChanged(unread);
}

void GuiApp::UpdateViews() {
    view_->SetUnitsOfMeasure(app_->stationSettings().UnitsOfMeasure);
    ShowHeaderStatus();
    view_->RefreshView(false);
}

void GuiApp::RefreshViews(bool full) {
    // The station setup may have changed the units the scale bar and marks use.
    view_->SetUnitsOfMeasure(app_->stationSettings().UnitsOfMeasure);
    view_->RefreshView(full);
}

void GuiApp::TimerTick() {
    if (splash_ && splash_->finished())
        delete splash_.data();
    view_->TimerTick();
}

void GuiApp::MapListChanged() {
    frame_->RebuildMapMenu(app_->mapList());
}

void GuiApp::RaiseWindow() {
    if (frame_->isMinimized())
        frame_->showNormal();
    frame_->show();
    frame_->raise();
    frame_->activateWindow();
}

bool GuiApp::SaveScreenshot(const QString& path) {
    // Pending deliveries first (stations changed by the simulation, notices).
    QApplication::processEvents();
    WaitForTiles();
    // At the screen's pixel density, as the window would show.
    const qreal ratio = frame_->devicePixelRatioF();
    QImage image(frame_->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    frame_->render(&image);
    return image.save(path, "PNG");
}

void GuiApp::WaitForTiles() {
    // An online tile source: draw once so the view asks for its tiles, then let them
    // arrive (at most kScreenshotTileWaitMs; a dead server leaves the base layer showing).
    if (!view_->tileLayer())
        return;
    view_->RenderImage();
    QElapsedTimer waited;
    waited.start();
    while (view_->TilesBusy() && waited.elapsed() < kScreenshotTileWaitMs)
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    // The last tiles came in after the picture was drawn; their batched redraw is not due yet.
    view_->RefreshView(true);
    QApplication::processEvents();
}

}  // namespace plovane
