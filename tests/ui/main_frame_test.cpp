// The main window built from the tables: menus, toolbar, notices, progress, the map menu and
// the close sequence.
#include "ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>

#include "app/qsettings_profile.h"
#include "core/profile.h"
#include "ui/logic/command_ids.h"
#include "ui/logic/frame_model.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

// Each command as "text id enabled key", from the built menus or from the model.
void Walk(const QMenu* qmenu, QStringList& out) {
    for (const QAction* action : qmenu->actions()) {
        if (action->menu() != nullptr)
            Walk(action->menu(), out);
        else if (!action->isSeparator())
            out << QString("%1 %2 %3 %4")
                       .arg(action->text())
                       .arg(action->data().toInt())
                       .arg(action->isEnabled())
                       .arg(action->shortcut().toString(QKeySequence::PortableText));
    }
}

void Walk(const std::vector<MenuEntry>& entries, QStringList& out) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::kSubmenu)
            Walk(entry.children, out);
        else if (entry.kind == MenuEntry::Kind::kCommand)
            out << QString("%1 %2 %3 %4")
                       .arg(QString::fromStdString(entry.text))
                       .arg(entry.id)
                       .arg(entry.enabled)
                       .arg(QString::fromStdString(entry.shortcut));
    }
}

TEST(MainFrame, MenuBarMatchesTheModelAndDragModesAreRadioItems) {
    MemoryProfile profile;
    CMainFrame frame(profile);
    QStringList built;
    for (QAction* top : frame.menuBar()->actions())
        Walk(top->menu(), built);
    QStringList expected;
    Walk(MainMenuBar(), expected);
    EXPECT_EQ(built, expected);

    EXPECT_TRUE(frame.action(kCommandDragToZoom)->isChecked());
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

// The list's cap and placeholder are the model's; the menu shows titles literally.
TEST(MainFrame, MapMenuShowsTitlesAsWrittenAndSignalsTheChosenMap) {
    MemoryProfile profile;
    CMainFrame frame(profile);
    QSignalSpy commands(&frame, &CMainFrame::command);
    frame.RebuildMapMenu(
        {{"/m/0", "R&&D 0"}, {"/m/1", "Puget\tSound \xc3\xa9t\xc3\xa9"}, {"/m/2", "x"}});
    const QList<QAction*> items = frame.mapOpenMenu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items.front()->text(), "R&&D 0");
    EXPECT_EQ(items[1]->text(), QString::fromUtf8("Puget Sound \xc3\xa9t\xc3\xa9"));
    items[2]->trigger();
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands.front().front().toInt(), 12002);
}

// Commands are signalled; Exit closes the window, which writes the toolbar state.
TEST(MainFrame, CommandsAreSignalledAndExitWritesTheToolbarState) {
    testing::ScratchDir dir;
    const std::string ini = dir / "plovane.conf";
    std::vector<std::string> order;
    {
        QSettingsProfile profile(ini);
        CMainFrame frame(profile);
        QSignalSpy commands(&frame, &CMainFrame::command);
        frame.action(kCommandSimulate)->trigger();
        ASSERT_EQ(commands.count(), 1);
        EXPECT_EQ(commands[0][0].toInt(), kCommandSimulate);
        frame.SetShutdown([&] { order.push_back("shutdown:" + frame.notice().toStdString()); });
        frame.show();
        frame.action(kCommandExit)->trigger();
        EXPECT_FALSE(frame.isVisible());
        frame.close();  // a second close does not shut down twice
    }
    EXPECT_EQ(order, (std::vector<std::string>{"shutdown:Exiting Plovane..."}));

    QSettings stored(QString::fromStdString(ini), QSettings::IniFormat);
    const QByteArray state = stored.value("ToolBar/RestoreInfo").toByteArray();
    ASSERT_FALSE(state.isEmpty());
    EXPECT_EQ(stored.value("ToolBar/LastVersion").toByteArray(),
              QByteArray(reinterpret_cast<const char*>(u"1.02"), 8));  // UTF-16LE
    // What was saved is a state a new window takes back.
    MemoryProfile other;
    CMainFrame again(other);
    EXPECT_TRUE(again.restoreState(state));
}

}  // namespace
}  // namespace plovane
