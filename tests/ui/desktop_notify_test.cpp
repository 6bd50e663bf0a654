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

// Answers Notify as a desktop would, numbering the notices from 1; keeps each as
// "app|replaces|summary|body|actions".
class FakeNotifications : public QDBusVirtualObject {
  public:
    QStringList notices;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        const QList<QVariant> a = message.arguments();
        if (message.member() != "Notify" || a.size() != 8)
            return false;
        notices << QStringList{a[0].toString(), a[1].toString(), a[3].toString(), a[4].toString(),
                               a[5].toStringList().join(',')}
                       .join('|');
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
        daemon_.kill();
        daemon_.waitForFinished();
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    QDBusConnection Bus(const QString& name) {
        return QDBusConnection::connectToBus(address_, name);
    }
    // The stand-in service, on a connection of its own.
    void Serve() {
        service_ = Bus("notify-service");
        ASSERT_TRUE(service_.registerVirtualObject(CDesktopNotifier::kPath, &fake_));
        ASSERT_TRUE(service_.registerService(CDesktopNotifier::kService));
    }

    QProcess daemon_;
    QString address_;
    FakeNotifications fake_;
    QDBusConnection service_{""};
};

// Without a service a notice goes nowhere, and the first failure alone is reported.
TEST_F(DesktopNotify, NoServiceIsReportedOnce) {
    QStringList reports;
    CDesktopNotifier notifier(Bus("notify-client"), [&](const QString& text) { reports << text; });
    notifier.Notify("W1AAA", "one");
    notifier.Notify("W1AAA", "two");
    Serve();
    notifier.Notify("W1AAA", "three");  // answered after the two failures
    ASSERT_TRUE(WaitFor([&] { return !fake_.notices.empty(); }));
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].startsWith("Desktop notifications unavailable: "))
        << reports[0].toStdString();
}

TEST_F(DesktopNotify, AMessageToUsIsAnnouncedAndItsClickOpensTheConversation) {
    GuiRig rig;
    rig.settings->WriteString("Station", "MyCall", "K1ABC");
    GuiApp& gui = rig.Start();
    Serve();
    gui.alerts().SetBus(Bus("notify-client"));
    auto hear = [&](const std::string& from, const std::string& to, const std::string& text) {
        rig.gui->app().decoder().DecodeLine(from + ">APRS::" + AddresseeField(to) + ":" + text,
                                            "FILE>");
    };

    // Ours, another SSID's, a query the station answers, a bulletin and a duplicate are not
    // announced.
    hear("W1AAA", "K1ABC", "first{1");
    gui.app().messages().SendNewMessage("W1AAA", "from us");
    hear("W1BBB", "K1ABC-5", "not us{4");
    hear("W1BBB", "K1ABC", "?APRSP");
    hear("W1BBB", "BLN1", "a bulletin");
    ASSERT_TRUE(WaitFor([&] { return fake_.notices.size() == 1; }));
    hear("W1AAA", "K1ABC", "first{1");
    hear("W1AAA", "K1ABC", "<b>hi</b> & bye{5");
    ASSERT_TRUE(WaitFor([&] { return fake_.notices.size() == 2; }));
    EXPECT_EQ(fake_.notices, QStringList({"Plovane|0|W1AAA|first|default,Open conversation",
                                          "Plovane|0|W1AAA|&lt;b&gt;hi&lt;/b&gt; &amp; "
                                          "bye|default,Open conversation"}));

    // Unread: the two from W1AAA (the query needs no reading), in the header and the list.
    EXPECT_EQ(gui.view().headerStatus().unreadMessages, 2);
    gui.windows().ShowConversations();
    QListWidget& list = *gui.windows().conversationChooser()->list();
    ASSERT_GE(list.count(), 1);
    EXPECT_EQ(list.item(0)->text().toStdString(), "W1AAA (3 messages, 2 unread)");

    // A click on the notice: the conversation opens and everything is read.
    service_.send(QDBusMessage::createSignal(CDesktopNotifier::kPath, CDesktopNotifier::kService,
                                             "ActionInvoked")
                  << uint(2) << QString("default"));
    ASSERT_TRUE(WaitFor([] {
        QWidget* window = QApplication::activeWindow();
        return window != nullptr && window->windowTitle() == "Conversation with W1AAA";
    }));
    EXPECT_EQ(gui.view().headerStatus().unreadMessages, 0);
    EXPECT_FALSE(gui.view().headerStatus().messageWaiting);
    EXPECT_EQ(list.item(0)->text().toStdString(), "W1AAA (3 messages)");

    // The next start replays the log: the messages come back read and are not announced again
    // (the next one heard is the next notice).
    gui.frame().close();
    GuiApp& again = rig.Start();
    again.alerts().SetBus(Bus("notify-client"));
    hear("W1CCC", "K1ABC", "new{1");
    ASSERT_TRUE(WaitFor([&] { return fake_.notices.size() == 3; }));
    EXPECT_TRUE(fake_.notices[2].contains("W1CCC"));
    EXPECT_EQ(again.view().headerStatus().unreadMessages, 1);
}

}  // namespace
}  // namespace plovane
