// SPDX-License-Identifier: GPL-3.0-or-later
// The GUI program around the application core: the settings store, the Qt host, the core,
// the map preferences, the document, the main frame with its map view, the splash window and
// the 25-second timer. It runs the start-up order, answers the core's view requests
// (AppViews) and the menu commands that belong to the application.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/plovane_app.h"
#include "core/clock.h"
#include "maps/map_options.h"
#include "ui/logic/command_ids.h"
#include "ui/logic/command_line.h"
#include "ui/logic/plovane_doc.h"
#include "ui/splash_window.h"

namespace plovane {

class CMainFrame;
class CPlovaneDoc;
class CPlovaneView;
class CSymbolIcons;
class CListWindows;
class CMessageAlerts;

class MapLoader;
class CWelcomeWizard;
class CHistoryWindow;
struct WelcomeProbes;
struct WelcomeSettings;
class QSettingsProfile;
class QtHost;
class StopSignals;

// Thread-affine: the user-interface thread.
class GuiApp : public QObject, public AppViews {
    Q_OBJECT
  public:
    // Builds the objects; nothing starts yet. A settings path in the options points the
    // settings at that INI file. Without `interactive` (screenshots, tests) there is no
    // splash window and message boxes are answered without waiting.
    GuiApp(const GuiOptions& options, bool interactive);
    ~GuiApp() override;

    // The start-up order: splash, search for TNC files and maps, the core, the map
    // preferences, the main window (shown unless `show` is false), the timer, the map
    // (--map, else the last one when asked for, else on a first start the bundled world map)
    // and the simulation of --simulate. False ends the program.
    bool Start(bool show = true);

    // Opens a map file; `remember` makes it the "LastMapPath" preference. A file that does
    // not read leaves the map shown and says why in a box, or with `quiet` on the status line.
    bool OpenMap(const std::string& path, bool remember = true, bool quiet = false);
    // The same, read on a worker while the window goes on (Map > Open): the map is taken,
    // or the box (`quiet`: the status line) says why not, once it is read; then mapOpened
    // tells which. `atStart`: the saved view of that map is shown once it is in.
    void OpenMapInBackground(const std::string& path, bool quiet = false, bool atStart = false);
    bool MapLoading() const;
    void CloseMap();
    // Plays a simulation file; the number of lines, -1 when it cannot be read.
    long PlaySimulation(const std::string& path);

    // Renders the main window into a PNG file (after the tiles of an online source
    // arrived, or kScreenshotTileWaitMs passed).
    bool SaveScreenshot(const QString& path);
    static constexpr int kScreenshotTileWaitMs = 20000;
    // Brings the main window to the front (a second start asked for it).
    void RaiseWindow();

    // The application's menu commands (Map, List, Ops and Setup menus, Map > Open items).
    void OnCommand(Command id);

    // AppViews.
    void UpdateViews() override;
    void RefreshViews(bool full) override;
    void TimerTick() override;
    void MapListChanged() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    // The main window has closed and the ports are shut: the event loop may end.
    void quitRequested();
    // A map read in the background was taken (true) or refused with a box (false).
    void mapOpened(bool opened);

  public:
    CMainFrame& frame() { return *frame_; }
    CListWindows& windows() { return *windows_; }
    CMessageAlerts& alerts() { return *alerts_; }
    CPlovaneView& view() { return *view_; }
    QtHost& host() { return *host_; }
    CPlovaneApp& app() { return *app_; }
    CPlovaneDoc& doc() { return *doc_; }
    CMapOptions& mapOptions() { return mapOptions_; }
    QSettingsProfile& profile() { return *profile_; }
    CSplashWnd* splash() const { return splash_.data(); }
    QTimer& timer() { return timer_; }

    // Centres the map on a station and selects it in the station list.
    void CenterOnStation(const std::string& call);
    // Setup > Welcome...: the first-start guide, shown beside the main window; Finish makes
    // the program take what it wrote.
    void ShowWelcome();
    // Map > History...: find in the history and play tracks back on the map (one window).
    CHistoryWindow* ShowHistory();
    CWelcomeWizard* welcome() const;
    // Where the guide looks for a TNC, gpsd and the APRS-IS (tests point it at loopback).
    void SetWelcomeProbes(const WelcomeProbes& probes);

  private:
    void WaitForTiles();
    void ShowStatus(const std::string& text);
    void ShowLogState();
    // The header strip's link states, message-waiting mark and unread count (the tray's too).
    void ShowHeaderStatus();
    QString OpenStartMap();
    void SendNow(Command id);
    // File > Replay Log... ended: the count, or why the file was not read.
    void LogReplayed(const QString& path, long lines, const std::string& notice);
    void SaveView();
    void RestoreView();
    void FindStation();
    void ShowMapTitle();
    bool TakeMap(CPlovaneDoc::FileRead read, bool remember, bool quiet);
    void WelcomeDone(const WelcomeSettings& settings, int radiusKm);
    std::vector<std::filesystem::path> Folders() const;

    GuiOptions options_;
    bool interactive_;
    std::unique_ptr<QSettingsProfile> profile_;
    SystemClock clock_;
    std::unique_ptr<QtHost> host_;
    std::unique_ptr<CPlovaneApp> app_;
    CMapOptions mapOptions_;
    std::unique_ptr<CPlovaneDoc> doc_;
    std::unique_ptr<MapLoader> mapLoader_;  // before the host and the document go
    std::unique_ptr<CSymbolIcons> icons_;
    std::unique_ptr<CMainFrame> frame_;
    CPlovaneView* view_ = nullptr;            // owned by the frame
    std::unique_ptr<CListWindows> windows_;   // the List menu's windows, gone before the frame
    std::unique_ptr<CMessageAlerts> alerts_;  // notifications and the tray icon
    QPointer<CSplashWnd> splash_;
    QPointer<CWelcomeWizard> welcome_;
    QPointer<CHistoryWindow> history_;
    std::unique_ptr<WelcomeProbes> welcomeProbes_;
    QTimer timer_;
    QTimer logStateTimer_;  // the status bar's station-log mark follows the log
    std::unique_ptr<StopSignals> stopSignals_;
    bool progressShown_ = false;
    QString progressText_;
    QString noticeBeforeProgress_;
    bool started_ = false;
};

}  // namespace plovane
