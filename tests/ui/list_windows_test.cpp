// SPDX-License-Identifier: GPL-3.0-or-later
// The List menu and the station pop-up commands on a running application core.
#include "ui/list_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "core/profile.h"
#include "maps/map_station_pick.h"
#include "maps/render/symbol_icons.h"
#include "support/recording_host.h"
#include "ui/conversation_window.h"
#include "ui/logic/command_ids.h"
#include "ui/message_list_window.h"
#include "ui/send_message_dialog.h"
#include "ui/station_info_sheet.h"
#include "ui/station_list_window.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

class ListWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(app.Start({})); }
    void TearDown() override { app.Shutdown(); }

    void Report(const char* call) {
        app.stations().UpdatePosition(call, "/>", "4903.50N", "07201.75W", "", "", -1);
    }

    MemoryProfile profile;
    testing::RecordingHost host;
    FakeClock clock;
    CPlovaneApp app{profile, host, clock};
    CSymbolIcons icons;
    QWidget frame;
    int headerRedraws = 0;
    CListWindows windows{app, host, icons, &frame, [this] { ++headerRedraws; }};
};

TEST_F(ListWindowsTest, ListMenuOpensTheWindowsAndRoutesChanges) {
    EXPECT_FALSE(windows.OnCommand(Command::kSendPosition));
    Report("W5ABC");
    ASSERT_TRUE(windows.OnCommand(Command::kStations));
    CStationListWindow* stations = windows.stationWindow();
    ASSERT_NE(stations, nullptr);
    EXPECT_TRUE(stations->isVisible());
    ASSERT_TRUE(testing::WaitFor([&] { return !stations->loading(); }));
    stations->hide();
    windows.OnCommand(Command::kStations);  // shown again, the same window
    EXPECT_EQ(windows.stationWindow(), stations);
    EXPECT_TRUE(stations->isVisible());

    Report("K1NEW");
    windows.StationsChanged({"K1NEW"}, false);
    EXPECT_TRUE(stations->model().rows().RowOf("K1NEW").has_value());

    const std::string me = app.stations().OwnCall();
    app.messages().ReceiveMessage("W1AW", me, "hello{1");
    ASSERT_TRUE(app.messages().MessageWaiting());
    ASSERT_TRUE(windows.OnCommand(Command::kMessages));
    CMessageListWindow* messages = windows.messageWindow();
    ASSERT_NE(messages, nullptr);
    EXPECT_FALSE(app.messages().MessageWaiting());
    EXPECT_EQ(headerRedraws, 1);
    ASSERT_TRUE(testing::WaitFor([&] { return !messages->loading(); }));
    app.messages().ReceiveMessage("W1AW", me, "again{2");
    windows.MessagesChanged(host.messageChanges(), false);
    EXPECT_EQ(messages->model().rowCount({}), 2);

    // Closed, the window is gone and notifications stop reaching it.
    messages->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(windows.messageWindow(), nullptr);
    windows.MessagesChanged(host.messageChanges(), true);
}

TEST_F(ListWindowsTest, StationPopupOpensInfoOrAMessageToTheOwner) {
    Report("W5ABC");
    Report("BALLOON");
    app.stations().SetObjectOwner("BALLOON", "K1ABC");

    QString preset;
    EXPECT_TRUE(testing::WithModal<CSendMessageDialog>(
        [&] { windows.StationCommand(Command::kSendMessage, "BALLOON"); },
        [&](CSendMessageDialog& dialog) {
            preset = dialog.toEdit()->text();
            dialog.reject();
        }));
    EXPECT_EQ(preset, "K1ABC");

    // Heard over APRS-IS, with the own position typed in the setup: the sheet gives the path,
    // the distance and bearing from us and the report's age.
    app.stations().SetDeviceAndPath("W5ABC", "APRS", "TCPIP*,qAC,T2TEXAS", "");
    CStationSettings typed = app.stationSettings();
    typed.HasInitPosit = true;
    typed.Lat = 32400000 - 49 * 360000;  // 49 N
    typed.Lon = 64800000 - 72 * 360000;  // 72 W
    app.stations().ApplySettings(typed, false);
    QString title, context;
    EXPECT_TRUE(testing::WithModal<CStationInfo>(
        [&] { windows.StationCommand(Command::kStationInfo, "W5ABC"); },
        [&](CStationInfo& sheet) {
            title = sheet.windowTitle();
            context = sheet.contextText();
            sheet.reject();
        }));
    EXPECT_EQ(title, "Station Info for W5ABC");
    for (const char* shown : {"TCPIP*,qAC,T2TEXAS", "4.24 mi at 342\u00b0 NNW", "just now"})
        EXPECT_TRUE(context.contains(QString::fromUtf8(shown))) << context.toStdString();

    // A station gone since it was picked opens nothing.
    const auto opens = [&](Command command, const char* call) {
        return testing::WithModal<QDialog>([&] { windows.StationCommand(command, call); },
                                           [](QDialog& dialog) { dialog.reject(); });
    };
    EXPECT_FALSE(opens(Command::kStationInfo, "GONE"));
    // Nor does a message to a killed object.
    app.stations().MarkObjectKilled("BALLOON");
    EXPECT_FALSE(opens(Command::kSendMessage, "BALLOON"));
}

// A received message shows on the left; a reply typed with Enter goes out through the store
// and shows on the right with its mark.
TEST_F(ListWindowsTest, ConversationShowsTheExchangeAndSendsReplies) {
    const std::string me = app.stationSettings().MyCall;
    ASSERT_EQ(app.stations().OwnCall(), me);
    app.decoder().DecodeLine("W1AAA>APRS::" + AddresseeField(me) + ":hello <b>{1", "FILE>");
    ASSERT_TRUE(windows.OnCommand(Command::kConversations));
    CConversationChooser* chooser = windows.conversationChooser();
    ASSERT_NE(chooser, nullptr);
    ASSERT_EQ(chooser->list()->count(), 1);
    EXPECT_EQ(chooser->list()->item(0)->text(), "W1AAA (1 message, 1 unread)");

    chooser->list()->setCurrentRow(0);
    emit chooser->list()->itemActivated(chooser->list()->item(0));
    CConversationWindow* window = windows.ShowConversation("W1AAA");  // the same window
    EXPECT_EQ(window->windowTitle(), "Conversation with W1AAA");
    EXPECT_EQ(chooser->list()->item(0)->text(), "W1AAA (1 message)");
    QListWidget& exchange = *window->exchange();
    ASSERT_EQ(exchange.count(), 1);
    EXPECT_TRUE(exchange.item(0)->text().startsWith("hello <b>\n"));
    EXPECT_EQ(exchange.item(0)->textAlignment() & Qt::AlignHorizontal_Mask, int(Qt::AlignLeft));

    QTest::keyClicks(window->reply(), "hi ");
    window->reply()->insert(QString::fromUtf8("\u00e4"));  // two bytes on the air
    EXPECT_EQ(window->byteCount()->text(), "62 of 67 bytes left");
    QTest::keyClick(window->reply(), Qt::Key_Return);
    EXPECT_TRUE(window->reply()->text().isEmpty());
    const CMessage sent = app.messages().Snapshot().back();
    EXPECT_EQ(sent.from, me);
    EXPECT_EQ(sent.to, "W1AAA");
    EXPECT_EQ(sent.text, "hi \u00e4");
    windows.MessagesChanged({sent.key}, false);
    ASSERT_EQ(exchange.count(), 2);
    EXPECT_TRUE(exchange.item(1)->text().startsWith(QString::fromUtf8("hi \u00e4\n")));
    // No port is open here, so it waits for the next message slot.
    EXPECT_TRUE(exchange.item(1)->text().endsWith("queued"))
        << exchange.item(1)->text().toStdString();
    EXPECT_EQ(exchange.item(1)->textAlignment() & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
    if (const char* shot = std::getenv("PLOVANE_CONVERSATION_GRAB"))
        window->grab().save(shot);

    // The station pop-up opens the same window.
    app.stations().UpdatePosition("W1AAA", "/>", "4903.50N", "07201.75W", "", "", -1);
    windows.StationCommand(Command::kConversation, "W1AAA");
    EXPECT_EQ(windows.ShowConversation("W1AAA"), window);
}

}  // namespace
}  // namespace plovane
