// The main window built from the tables: menus, toolbar, notices, progress, the map menu and
// the close sequence.
#include "ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <memory>

#include "app/qsettings_profile.h"
#include "core/profile.h"
#include "ui/logic/command_ids.h"
#include "ui/logic/frame_model.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

// The menu bar as built, flattened like the model: (menu title, text, id, enabled, key).
struct Built {
    QString menu;
    QString text;
    int id;
    bool enabled;
    QString shortcut;
};

void Walk(const QString& menu, const QMenu* qmenu, std::vector<Built>& out) {
    for (const QAction* action : qmenu->actions()) {
        if (action->isSeparator())
            continue;
        if (action->menu() != nullptr) {
            Walk(menu, action->menu(), out);
            continue;
        }
        out.push_back({menu, action->text(), action->data().toInt(), action->isEnabled(),
                       action->shortcut().toString(QKeySequence::PortableText)});
    }
}

void FlattenModel(const std::string& menu, const std::vector<MenuEntry>& entries,
                  std::vector<Built>& out) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::kSubmenu) {
            FlattenModel(menu, entry.children, out);
        } else if (entry.kind == MenuEntry::Kind::kCommand) {
            out.push_back({QString::fromStdString(menu), QString::fromStdString(entry.text),
                           entry.id, entry.enabled, QString::fromStdString(entry.shortcut)});
        }
    }
}

TEST(MainFrame, MenuBarMatchesTheModelItemForItem) {
    MemoryProfile profile;
    CMainFrame frame(profile);
    std::vector<Built> built;
    for (QAction* top : frame.menuBar()->actions())
        Walk(top->text(), top->menu(), built);
    std::vector<Built> expected;
    for (const MenuEntry& top : MainMenuBar())
        FlattenModel(top.text, top.children, expected);
    ASSERT_EQ(built.size(), expected.size());
    for (size_t i = 0; i < built.size(); ++i) {
        SCOPED_TRACE(expected[i].text.toStdString());
        EXPECT_EQ(built[i].menu, expected[i].menu);
        EXPECT_EQ(built[i].text, expected[i].text);
        EXPECT_EQ(built[i].id, expected[i].id);
        EXPECT_EQ(built[i].enabled, expected[i].enabled);
        EXPECT_EQ(built[i].shortcut, expected[i].shortcut);
    }
}

TEST(MainFrame, ToolbarInOrderWithDragToZoomPressed) {
    MemoryProfile profile;
    CMainFrame frame(profile);
    std::vector<int> ids;
    for (const QAction* action : frame.toolBar()->actions()) {
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    }
    EXPECT_EQ(ids, (std::vector<int>{kCommandRefresh, 0, kCommandDragToZoom, kCommandDragToMove, 0,
                                     kCommandHome, 0, kCommandZoomIn, kCommandZoomOut}));
    EXPECT_TRUE(frame.action(kCommandDragToZoom)->isChecked());
    EXPECT_FALSE(frame.action(kCommandDragToMove)->isChecked());

    // The modes are radio items: choosing one releases the other, in menu and toolbar alike.
    frame.ShowDragMode(DragMode::kMove);
    EXPECT_FALSE(frame.action(kCommandDragToZoom)->isChecked());
    EXPECT_TRUE(frame.action(kCommandDragToMove)->isChecked());
}

TEST(MainFrame, NoticeReachesTheStatusBarAsOnePlainLine) {
    MemoryProfile profile;
    CMainFrame frame(profile);
    EXPECT_EQ(frame.notice(), "Ready");
    frame.ShowNotice("TNC>N0CALL>APQ102:<b>bold</b>\r\n");
    EXPECT_EQ(frame.notice(), "TNC>N0CALL>APQ102:<b>bold</b>");
    const auto* label = frame.statusBar()->findChild<QLabel*>("notice");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), frame.notice());
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

TEST(MainFrame, ProgressDrawsOnlyInsideNestedBeginEndPairs) {
    MemoryProfile profile;
    CMainFrame frame(profile);
    frame.Progress(40);
    EXPECT_EQ(frame.progressPercent(), -1);
    frame.BeginProgressDrawing();
    frame.BeginProgressDrawing();
    frame.Progress(150);
    EXPECT_EQ(frame.progressPercent(), 100);
    frame.Progress(-5);
    EXPECT_EQ(frame.progressPercent(), 0);
    frame.EndProgressDrawing();
    EXPECT_EQ(frame.progressUsers(), 1);
    frame.EndProgressDrawing();
    frame.EndProgressDrawing();  // one too many does not go below zero
    EXPECT_EQ(frame.progressUsers(), 0);
    EXPECT_EQ(frame.progressPercent(), -1);
}

TEST(MainFrame, MapMenuHoldsAtMostAThousandMapsOrThePlaceholder) {
    MemoryProfile profile;
    CMainFrame frame(profile);
    QSignalSpy commands(&frame, &CMainFrame::command);

    std::vector<MapListEntry> maps;
    for (int i = 0; i < 1200; ++i) {
        maps.push_back({"/m/" + std::to_string(i), "R&&D " + std::to_string(i)});
    }
    maps[1].title = "Puget\tSound \xc3\xa9t\xc3\xa9";  // a tab, and UTF-8
    frame.RebuildMapMenu(maps);
    const QList<QAction*> items = frame.mapOpenMenu()->actions();
    ASSERT_EQ(items.size(), 1000);
    EXPECT_EQ(items.front()->text(), "R&&D 0");
    EXPECT_EQ(items.front()->data().toInt(), 12000);
    EXPECT_EQ(items.back()->data().toInt(), 12999);
    EXPECT_EQ(items[1]->text(), QString::fromUtf8("Puget Sound \xc3\xa9t\xc3\xa9"));
    items[5]->trigger();
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands.front().front().toInt(), 12005);

    frame.RebuildMapMenu({});
    ASSERT_EQ(frame.mapOpenMenu()->actions().size(), 1);
    EXPECT_EQ(frame.mapOpenMenu()->actions().front()->text(), "Map List");
    EXPECT_FALSE(frame.mapOpenMenu()->actions().front()->isEnabled());
}

TEST(MainFrame, ApplicationCommandsAreSignalledAndExitCloses) {
    MemoryProfile profile;
    CMainFrame frame(profile);
    QSignalSpy commands(&frame, &CMainFrame::command);
    frame.action(kCommandSendPosition)->trigger();
    frame.action(kCommandSimulate)->trigger();
    ASSERT_EQ(commands.count(), 2);
    EXPECT_EQ(commands[0][0].toInt(), kCommandSendPosition);
    EXPECT_EQ(commands[1][0].toInt(), kCommandSimulate);

    bool shutDown = false;
    frame.SetShutdown([&] { shutDown = true; });
    frame.show();
    frame.action(kCommandExit)->trigger();
    EXPECT_TRUE(shutDown);
    EXPECT_FALSE(frame.isVisible());
}

TEST(MainFrame, AboutBoxNamesTheVersionAndWarns) {
    MemoryProfile profile;
    CMainFrame frame(profile);
    std::unique_ptr<QMessageBox> box(frame.MakeAboutBox());
    EXPECT_EQ(box->windowTitle(), "About Plovane...");
    EXPECT_EQ(box->text(), "Plovane\nVersion 1.02\n\nNot to be used as an aid to navigation!");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

TEST(MainFrame, CloseWritesTheToolbarStateIntoTheSettingsFile) {
    testing::ScratchDir dir;
    const std::string ini = dir / "plovane.conf";
    std::vector<std::string> order;
    {
        QSettingsProfile profile(ini);
        CMainFrame frame(profile);
        frame.SetShutdown([&] { order.push_back("shutdown:" + frame.notice().toStdString()); });
        frame.show();
        frame.close();
        frame.close();  // a second close does not shut down twice
    }
    EXPECT_EQ(order, (std::vector<std::string>{"shutdown:Exiting Plovane..."}));

    QSettings stored(QString::fromStdString(ini), QSettings::IniFormat);
    const QByteArray state = stored.value("ToolBar/RestoreInfo").toByteArray();
    ASSERT_FALSE(state.isEmpty());
    EXPECT_EQ(stored.value("ToolBar/LastVersion").toByteArray(), QByteArray("1\0.\0"
                                                                            "0\0"
                                                                            "2\0",
                                                                            8));
    // What was saved is a state a new window takes back.
    MemoryProfile other;
    CMainFrame again(other);
    EXPECT_TRUE(again.restoreState(state));
}

}  // namespace
}  // namespace plovane
