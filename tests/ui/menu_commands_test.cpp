// SPDX-License-Identifier: GPL-3.0-or-later
// Every command of every menu of the real main window does what its menu says: a window
// opens, a dialog shows, the view changes. A menu entry without an expectation here fails.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QNetworkProxy>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "gui_rig.h"
#include "maps/tile_source.h"
#include "ui/list_windows.h"
#include "ui/logic/plovane_doc.h"
#include "ui/main_frame.h"
#include "ui/night_palette.h"
#include "ui/plovane_view.h"
#include "ui/tile_background.h"

namespace plovane {
namespace {

// What one command did.
struct Effect {
    QStringList dialogs;   // titles of the modal dialogs it showed
    QStringList windows;   // titles of the windows it opened
    QStringList boxTexts;  // what the message boxes among them said
    bool viewMoved = false;
    bool redrawAsked = false;
    QString notice;
};

struct Expectation {
    using Check = std::function<bool(const Effect&, GuiApp&)>;
    Expectation(Check c = {}, std::function<void(GuiApp&)> b = {},
                std::function<void(QDialog&)> a = {})
        : check(std::move(c)), before(std::move(b)), answer(std::move(a)) {}
    Check check;
    std::function<void(GuiApp&)> before;   // sets the stage, e.g. a drag mode to change from
    std::function<void(QDialog&)> answer;  // default: the dialog is cancelled
};

// Menu paths ("View/Map Tiles/None") of every command, submenus walked recursively.
void CollectPaths(QMenu& menu, const QString& prefix, QStringList& paths) {
    for (QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        const QString path = prefix + "/" + QString(action->text()).remove('&');
        if (action->menu())
            CollectPaths(*action->menu(), path, paths);
        else
            paths << path;
    }
}

QAction* FindAction(QMenuBar& bar, const QString& path) {
    QList<QAction*> actions = bar.actions();
    QAction* found = nullptr;
    for (const QString& part : path.split('/')) {
        found = nullptr;
        for (QAction* action : actions) {
            if (QString(action->text()).remove('&') == part)
                found = action;
        }
        if (found == nullptr)
            return nullptr;
        actions = found->menu() ? found->menu()->actions() : QList<QAction*>{};
    }
    return found;
}

// The mnemonics of one menu's entries must differ, or the key picks the wrong one.
void ExpectDistinctMnemonics(const QList<QAction*>& actions, const QString& where) {
    std::map<QChar, QString> taken;
    for (QAction* action : actions) {
        const QString text = action->text();
        const qsizetype at = QString(text).replace("&&", "__").indexOf('&');
        if (action->isSeparator() || at < 0 || at + 1 >= text.size())
            continue;
        const QChar key = text[at + 1].toLower();
        const auto [it, fresh] = taken.emplace(key, text);
        EXPECT_TRUE(fresh) << where.toStdString() << ": " << text.toStdString() << " and "
                           << it->second.toStdString() << " share '" << QString(key).toStdString()
                           << "'";
        if (action->menu())
            ExpectDistinctMnemonics(action->menu()->actions(), where + "/" + text);
    }
}

// The Alt letters one page of a window answers to: its own labels, buttons and group titles
// and those of the window outside any tab page (OK, Cancel...). Two different texts may not
// share a letter; one text repeated (a row of the same controls twice) may.
void ExpectDistinctMnemonics(QWidget& window) {
    std::set<QWidget*> tabPages;
    for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i)
            tabPages.insert(tabs->widget(i));
    }
    std::map<QWidget*, std::vector<QString>> pages;  // null: outside every tab page
    const auto note = [&](QWidget* w, const QString& text) {
        if (w->isHidden() || text.isEmpty())
            return;
        QWidget* page = w->parentWidget();
        while (page != nullptr && page != &window && tabPages.count(page) == 0)
            page = page->parentWidget();
        pages[tabPages.count(page) > 0 ? page : nullptr].push_back(text);
    };
    for (QLabel* label : window.findChildren<QLabel*>())
        note(label, label->text());
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
        note(button, button->text());
    for (QGroupBox* group : window.findChildren<QGroupBox*>())
        note(group, group->title());
    const std::vector<QString> outside = pages[nullptr];
    for (auto& [page, texts] : pages) {
        if (page != nullptr)
            texts.insert(texts.end(), outside.begin(), outside.end());
        std::map<QChar, QString> taken;
        for (const QString& text : texts) {
            const qsizetype at = QString(text).replace("&&", "__").indexOf('&');
            if (at < 0 || at + 1 >= text.size())
                continue;
            const auto [it, fresh] = taken.emplace(text[at + 1].toLower(), text);
            EXPECT_TRUE(fresh || it->second == text)
                << window.windowTitle().toStdString() << ": " << text.toStdString() << " and "
                << it->second.toStdString() << " share a letter";
        }
    }
}

TEST(MenuCommands, EveryCommandOfEveryMenuDoesWhatItSays) {
    // Nothing leaves the machine: any web request goes to a closed loopback port.
    QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, "127.0.0.1", 9));
    testing::GuiRig rig;
    std::filesystem::create_directory(rig.dir / "replay");
    const std::string log = (rig.dir.path() / "replay" / "2026-12-06.log").string();
    std::ofstream(log) << "#2026-12-06T12:00:00Z RX TNC\nW1AAA>APRS:>a\n"
                       << "#2026-12-06T12:00:01Z RX NET\nW1BBB>APRS:!4903.50N/07201.75W-\n";
    GuiApp& gui = rig.Start(true);  // boxes shown, as the user sees them
    CMainFrame& frame = gui.frame();
    QMenuBar& bar = *frame.menuBar();
    ExpectDistinctMnemonics(bar.actions(), "menu bar");

    const auto dialog = [](const QString& title) {
        return [title](const Effect& e, GuiApp&) { return e.dialogs == QStringList{title}; };
    };
    const auto window = [](const QString& title) {
        return [title](const Effect& e, GuiApp&) { return e.windows.contains(title); };
    };
    const auto moved = [](const Effect& e, GuiApp&) { return e.viewMoved; };
    const auto said = [](const Effect& e, GuiApp&) { return !e.notice.isEmpty(); };
    const auto tiles = [](const char* source) {
        return [source](const Effect&, GuiApp& g) { return g.view().tileSource() == source; };
    };
    const auto zoomedIn = [](GuiApp& g) { g.view().mapView().ZoomIn(); };
    std::map<QString, Expectation> expected = {
        {"Map/Open/World",
         {[](const Effect&, GuiApp& g) {
              // Read on a worker: taken once read.
              return testing::WaitFor([&g] { return !g.MapLoading(); }) && g.doc().map().loaded;
          },
          [](GuiApp& g) { FindAction(*g.frame().menuBar(), "Map/Close")->trigger(); }}},
        {"Map/Open File...", {dialog("Open Map File...")}},
        {"Map/Close", {[](const Effect&, GuiApp& g) { return !g.doc().map().loaded; }}},
        {"Map/Refresh Map List", {said}},
        {"Map/Simulate...", {dialog("Open Simulation File...")}},
        {"Map/Replay Log...",
         // Replayed behind the window, then said in a box too: the status line is soon taken
         // by the lines heard.
         {[](const Effect& e, GuiApp& g) {
              QStringList boxes = e.boxTexts;  // the box may have come already
              testing::WithModal<QMessageBox>(
                  [&] { testing::WaitFor([&] { return !boxes.isEmpty(); }, 20000); },
                  [&](QMessageBox& box) {
                      boxes << box.text();
                      box.reject();
                  });
              return e.dialogs.value(0) == "Replay Station Log..." &&
                     g.frame().notice().contains("2 lines replayed") &&
                     boxes.filter("2 lines replayed").size() == 1;
          },
          {},
          [&](QDialog& box) {
              if (auto* files = qobject_cast<QFileDialog*>(&box)) {
                  // Typed as a user would: the whole path in the file name box.
                  files->findChild<QLineEdit*>("fileNameEdit")
                      ->setText(QString::fromStdString(log));
                  box.accept();
              } else {
                  box.reject();  // the box saying what happened
              }
          }}},
        {"Map/History...", {window("History")}},
        {"Map/Exit", {[](const Effect&, GuiApp& g) { return !g.frame().isVisible(); }}},
        {"View/Refresh", {[](const Effect& e, GuiApp&) { return e.redrawAsked && !e.viewMoved; }}},
        {"View/Drag To Zoom",
         {[](const Effect&, GuiApp& g) { return g.view().dragMode() == DragMode::kZoom; },
          [](GuiApp& g) { g.view().SetDragMode(DragMode::kMove); }}},
        {"View/Drag To Move",
         {[](const Effect&, GuiApp& g) { return g.view().dragMode() == DragMode::kMove; },
          [](GuiApp& g) { g.view().SetDragMode(DragMode::kZoom); }}},
        {"View/Home", {moved, zoomedIn}},
        {"View/Zoom Out", {moved, zoomedIn}},
        {"View/Zoom In", {moved}},
        {"View/Options...", {dialog("Map Options")}},
        {"View/Map Tiles/None",
         {tiles(""), [](GuiApp& g) { g.view().SetTileSource(kOsmTileUrl); }}},
        {"View/Map Tiles/OpenStreetMap",
         {tiles(kOsmTileUrl), [](GuiApp& g) { g.view().SetTileSource("none"); }}},
        {"View/Map Tiles/MBTiles File...", {dialog("Open MBTiles File")}},
        {"View/Map Tiles/Tile Folder...", {dialog("Folder of z/x/y Tiles")}},
        {"View/Night Map",
         {[](const Effect& e, GuiApp& g) {
              return e.redrawAsked && g.view().nightMap() && IsDarkPalette(QApplication::palette());
          },
          [](GuiApp& g) { g.view().SetNightMap(false); }}},
        {"List/Stations...", {window("Stations")}},
        {"List/Messages...", {window("Messages")}},
        {"List/Conversations...", {window("Conversations")}},
        {"List/Find Station...", {dialog("Find Station")}},
        {"Ops/Send Position", {said}},
        {"Ops/Send Status", {said}},
        {"Ops/Send Messages", {said}},
        {"Setup/Station...", {dialog("Setup Station")}},
        {"Setup/Communications...", {dialog("Setup Communications")}},
        {"Setup/Sound...", {dialog("Alerts")}},
        {"Setup/IGate and Digipeater...", {dialog("IGate and Digipeater")}},
        {"Setup/Welcome...",
         {window("Welcome to Plovane"), [](GuiApp&) {
              for (QWidget* top : QApplication::topLevelWidgets()) {
                  if (top->windowTitle() == "Welcome to Plovane")
                      top->close();
              }
          }}},
        {"Help/Help Topics", {window("Plovane Help")}},
        {"Help/About Plovane...", {dialog("About Plovane...")}},
    };
    if (!BaseLayerPath().isEmpty())
        expected["View/Map Tiles/Base Layer (Offline)"] = {[](const Effect&, GuiApp& g) {
            return g.view().tileSource() == BaseLayerPath().toStdString();
        }};

    QStringList paths;
    for (QAction* top : bar.actions())
        CollectPaths(*top->menu(), QString(top->text()).remove('&'), paths);
    // Exit last: it closes the window the others need.
    paths.move(paths.indexOf("Map/Exit"), paths.size() - 1);
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        QAction* action = FindAction(bar, path);
        ASSERT_NE(action, nullptr);
        const auto it =
            expected.find(QString(path).replace(QRegularExpression("/Open/.*"), "/Open/World"));
        if (it == expected.end()) {
            ADD_FAILURE() << "no expectation for this menu entry";
            continue;
        }
        if (!action->isEnabled())
            continue;  // e.g. Base Layer without the bundled file
        const Expectation& expectation = it->second;
        if (expectation.before)
            expectation.before(gui);
        QApplication::processEvents();

        Effect effect;
        std::set<QWidget*> shownBefore;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                shownBefore.insert(w);
        }
        const MapBox box = gui.view().mapView().viewBox();
        gui.view().mapView().SetBackgroundValid(true);
        frame.ShowNotice({});
        // Each modal dialog is noted and answered (cancelled unless the entry says otherwise).
        QTimer poll;
        QSet<QDialog*> answered;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (modal == nullptr || answered.contains(modal))
                return;
            answered.insert(modal);
            effect.dialogs << modal->windowTitle();
            if (qobject_cast<QMessageBox*>(modal) == nullptr &&
                qobject_cast<QFileDialog*>(modal) == nullptr)
                ExpectDistinctMnemonics(*modal);
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                effect.boxTexts << box->text();
            // Answered from the event loop, not from this timer: an answer that opens
            // another dialog leaves the timer free to answer that one too.
            QTimer::singleShot(0, modal, [&expectation, modal] {
                if (expectation.answer)
                    expectation.answer(*modal);
                else
                    modal->reject();
            });
        });
        poll.start(5);
        action->trigger();
        effect.redrawAsked = !gui.view().mapView().backgroundValid();
        QApplication::processEvents();
        poll.stop();
        effect.viewMoved = !(gui.view().mapView().viewBox() == box);
        effect.notice = frame.notice();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && !shownBefore.contains(w) &&
                w != QApplication::activeModalWidget()) {
                effect.windows << w->windowTitle();
                if (auto* box = qobject_cast<QMessageBox*>(w))
                    effect.boxTexts << box->text();
                w->close();
            }
        }
        EXPECT_TRUE(expectation.check(effect, gui))
            << "dialogs: " << effect.dialogs.join(", ").toStdString()
            << "; windows: " << effect.windows.join(", ").toStdString()
            << "; notice: " << effect.notice.toStdString()
            << "; boxes: " << effect.boxTexts.join(", ").toStdString();
        if (path == "Map/Close") {
            FindAction(bar, paths.front())->trigger();  // the map back for the commands after
            EXPECT_TRUE(testing::WaitFor([&gui] { return !gui.MapLoading(); }));
        }
    }
    QNetworkProxy::setApplicationProxy(QNetworkProxy::DefaultProxy);
}

}  // namespace
}  // namespace plovane
