// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: notices, progress, commands and the close sequence.
#include "ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>

#include "app/qsettings_profile.h"
#include "core/profile.h"
#include "ui/logic/command_ids.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

TEST(MainFrame, ProgressDrawsInsideNestedPairsAndNoticesAreOnePlainLine) {
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

    frame.ShowNotice("TNC>N0CALL>APQ102:<b>bold</b>\r\n");
    const auto* label = frame.statusBar()->findChild<QLabel*>("notice");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "TNC>N0CALL>APQ102:<b>bold</b>");
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

TEST(MainFrame, CommandsAreSignalledAndExitWritesTheToolbarState) {
    testing::ScratchDir dir;
    const std::string ini = dir / "plovane.conf";
    std::vector<std::string> order;
    {
        QSettingsProfile profile(ini);
        CMainFrame frame(profile);
        QSignalSpy commands(&frame, &CMainFrame::command);
        frame.action(Command::kSimulate)->trigger();
        ASSERT_EQ(commands.count(), 1);
        EXPECT_EQ(commands[0][0].value<Command>(), Command::kSimulate);
        frame.SetShutdown([&] { order.push_back("shutdown:" + frame.notice().toStdString()); });
        frame.show();
        frame.action(Command::kExit)->trigger();
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
