// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop notifications against a stand-in notification service on a private session bus
// (a dbus-daemon of the test's own), the header's and the list's unread counts.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <vector>

#include "gui_rig.h"
#include "maps/header_status.h"
#include "messages/message.h"
#include "ui/conversation_window.h"
#include "ui/desktop_notifier.h"
#include "ui/list_windows.h"
#include "ui/main_frame.h"
#include "ui/message_alerts.h"
#include "ui/plovane_view.h"

namespace plovane {
namespace {

using testing::GuiRig;
using testing::WaitFor;

// Answers Notify as a desktop would, numbering the notices from 1.
class FakeNotifications : public QDBusVirtualObject {
  public:
    struct Notice {
        QString app, summary, body;
        uint replaces = 0;
        QStringList actions;
    };
    std::vector<Notice> notices;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        if (message.member() != "Notify" || message.arguments().size() != 8)
            return false;
        const QList<QVariant> a = message.arguments();
        notices.push_back({a[0].toString(), a[3].toString(), a[4].toString(), a[1].toUInt(),
                           a[5].toStringList()});
        bus.send(message.createReply(QVariant::fromValue(uint(notices.size()))));
        return true;
    }
};

class DesktopNotify : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed";
        daemon_.start("dbus-daemon", {"--session", "--print-address", "--nofork"});
        ASSERT_TRUE(daemon_.waitForReadyRead(10000));
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus("notify-client");
        QDBusConnection::disconnectFromBus("notify-service");
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.kill();
            daemon_.waitForFinished();
        }
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    QDBusConnection Bus(const QString& name) {
        return QDBusConnection::connectToBus(address_, name);
    }

    QProcess daemon_;
    QString address_;
};

TEST_F(DesktopNotify, AMessageToUsIsAnnouncedAndItsClickOpensTheConversation) {
    GuiRig rig;
    rig.settings->WriteString("Station", "MyCall", "K1ABC");
    GuiApp& gui = rig.Start();
    gui.alerts().SetBus(Bus("notify-client"));
    CPlovaneApp& app = gui.app();
    auto hear = [&](const std::string& from, const std::string& to, const std::string& text) {
        app.decoder().DecodeLine(from + ">APRS::" + AddresseeField(to) + ":" + text, "FILE>");
    };

    // No service on the bus: the first message says so once on the status line.
    hear("W1AAA", "K1ABC", "anyone?{1");
    ASSERT_TRUE(WaitFor([&] { return gui.frame().notice().startsWith("Desktop notifications"); }));
    gui.frame().ShowNotice("");
    hear("W1AAA", "K1ABC", "still nobody{2");
    WaitFor([] { return false; }, 300);
    EXPECT_FALSE(gui.frame().notice().startsWith("Desktop notifications"));

    FakeNotifications fake;
    QDBusConnection service = Bus("notify-service");
    ASSERT_TRUE(service.registerVirtualObject(CDesktopNotifier::kPath, &fake));
    ASSERT_TRUE(service.registerService(CDesktopNotifier::kService));
    gui.alerts().SetBus(Bus("notify-client"));

    // Ours, another SSID's, a query the station answers and a duplicate are not announced.
    app.messages().SendNewMessage("W1AAA", "from us");
    hear("W1BBB", "K1ABC-5", "not us{4");
    hear("W1BBB", "K1ABC", "?APRSP");
    hear("W1AAA", "K1ABC", "<b>hi</b> & bye{5");
    ASSERT_TRUE(WaitFor([&] { return !fake.notices.empty(); }));
    hear("W1AAA", "K1ABC", "<b>hi</b> & bye{5");
    WaitFor([] { return false; }, 300);
    ASSERT_EQ(fake.notices.size(), 1u);
    const FakeNotifications::Notice& notice = fake.notices[0];
    EXPECT_EQ(notice.app, "Plovane");
    EXPECT_EQ(notice.summary, "W1AAA");
    EXPECT_EQ(notice.body, "&lt;b&gt;hi&lt;/b&gt; &amp; bye");
    EXPECT_EQ(notice.replaces, 0u);
    EXPECT_TRUE(notice.actions.contains("default"));

    // Unread: the three from W1AAA (the query needs no reading), in the header and the list.
    EXPECT_EQ(gui.view().headerStatus().unreadMessages, 3);
    gui.windows().ShowConversations();
    QListWidget& list = *gui.windows().conversationChooser()->list();
    ASSERT_GE(list.count(), 1);
    EXPECT_EQ(list.item(0)->text().toStdString(), "W1AAA (4 messages, 3 unread)");

    // A click on the notice: the conversation opens and everything is read.
    service.send(QDBusMessage::createSignal(CDesktopNotifier::kPath, CDesktopNotifier::kService,
                                            "ActionInvoked")
                 << uint(1) << QString("default"));
    auto conversation = [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->windowTitle() == "Conversation with W1AAA")
                return window;
        }
        return static_cast<QWidget*>(nullptr);
    };
    ASSERT_TRUE(WaitFor([&] { return conversation() != nullptr; }));
    EXPECT_EQ(gui.view().headerStatus().unreadMessages, 0);
    EXPECT_FALSE(gui.view().headerStatus().messageWaiting);
    EXPECT_EQ(list.item(0)->text().toStdString(), "W1AAA (4 messages)");
    conversation()->close();

    // The next start replays the log: the messages come back read and are not announced again.
    gui.frame().close();
    rig.gui.reset();
    GuiApp& again = rig.Start();
    again.alerts().SetBus(Bus("notify-client"));
    again.windows().ShowConversations();
    QListWidget& replayed = *again.windows().conversationChooser()->list();
    ASSERT_GE(replayed.count(), 1);
    EXPECT_EQ(replayed.item(0)->text().toStdString(), "W1AAA (3 messages)");
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(again.view().headerStatus().unreadMessages, 0);
    EXPECT_EQ(fake.notices.size(), 1u);
    // There is no tray offscreen, nor is one made.
    EXPECT_EQ(again.alerts().tray() != nullptr, QSystemTrayIcon::isSystemTrayAvailable());
}

}  // namespace
}  // namespace plovane
