// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: menu bar, toolbar, status bar with the one-line notice and the progress
// indicator, and the map view as its client. It rebuilds Map > Open from the map list,
// shows the About box and the help page, and carries out the first half of shut-down.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <vector>

#include "app/file_search.h"
#include "core/profile.h"
#include "maps/map_view.h"
#include "ui/logic/command_ids.h"
#include "ui/logic/status_icons.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QMessageBox;
class QToolBar;

namespace plovane {

class CPlovaneView;
class HelpViewer;
class ProgressIndicator;

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kDefaultWidth = 1024;
    static constexpr int kDefaultHeight = 720;

    explicit CMainFrame(Profile& profile, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The map view becomes the client; the frame's View commands go to it.
    void SetView(CPlovaneView* view);
    CPlovaneView* view() const { return view_; }

    // The one-line notice in the status bar.
    void ShowNotice(const QString& text);
    // The station log's mark at the right of the status bar; `trouble` shows it in red.
    void ShowLogState(const QString& text, const QString& tooltip, bool trouble);
    // A mark per TNC port left of the log's, coloured by its state, its tooltip saying which.
    void ShowPortIcons(const std::vector<PortIcon>& ports);
    const std::vector<QLabel*>& portIcons() const { return portIcons_; }
    QString notice() const;

    // The progress indicator: drawn only between Begin and End, which nest.
    void BeginProgressDrawing();
    void EndProgressDrawing();
    void Progress(int percent);
    int progressUsers() const { return progressUsers_; }
    int progressPercent() const;

    // Map > Open from the map list: one item per map, at most 1000, or the placeholder.
    void RebuildMapMenu(const std::vector<MapListEntry>& maps);
    QMenu* mapOpenMenu() const { return mapOpen_; }

    QAction* action(Command id) const;
    QToolBar* toolBar() const { return toolBar_; }
    // Shows the current drag mode checked in the View menu and pressed on the toolbar.
    void ShowDragMode(DragMode mode);

    // The About box (not shown); the caller runs it.
    QMessageBox* MakeAboutBox();
    // Opens the help page in the program's viewer at a section ("stations"); an empty topic
    // picks the section of the active window. False when the page cannot be found.
    bool OpenHelp(const QString& topic = {});
    HelpViewer* helpViewer() const;
    // Whether the map shows OpenStreetMap tiles (their credit goes in the About box).
    // The pointer position shown at the right of the status bar.
    QString pointerText() const;

    // The size and place the window had when it was last closed (Qt ignores damaged data).
    void RestoreWindowGeometry();

    // Runs after the toolbar state is saved and "Exiting Plovane..." is shown: closes the
    // ports. Set by the application.
    void SetShutdown(std::function<void()> shutdown) { shutdown_ = std::move(shutdown); }

    // A command from a menu or the toolbar: the frame's own (Exit, About, Help Topics),
    // then the view's, then the application's (the `command` signal).
    void OnCommand(Command id);

  signals:
    void command(plovane::Command id);
    // An item of Map > Open: the map at this index of the map list.
    void openMap(int index);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBar();
    QAction* MakeAction(Command id, const QString& text);
    void SaveBarState();

    Profile& profile_;
    CPlovaneView* view_ = nullptr;
    std::map<Command, QAction*> actions_;
    QActionGroup* dragModes_ = nullptr;
    QMenu* mapOpen_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* notice_ = nullptr;
    QLabel* pointer_ = nullptr;
    QLabel* logState_ = nullptr;
    std::vector<QLabel*> portIcons_;
    QPointer<HelpViewer> help_;
    ProgressIndicator* progress_ = nullptr;
    int progressUsers_ = 0;
    std::function<void()> shutdown_;
    bool closed_ = false;
};

}  // namespace plovane
