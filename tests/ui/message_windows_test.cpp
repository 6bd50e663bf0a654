// SPDX-License-Identifier: GPL-3.0-or-later
// The "Messages" window and the "Message" dialog, wired to a real message store.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "messages/message_test_support.h"
#include "ui/message_list_window.h"
#include "ui/send_message_dialog.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

using testing::WaitFor;

class MessageWindow : public ::testing::Test {
  protected:
    FakeClock clock;
    testing::RecordingHost host;
    testing::TestStation me{"K1ABC", clock, host};
    std::vector<std::string> dialogs;

    std::unique_ptr<CMessageListWindow> Open() {
        auto window = std::make_unique<CMessageListWindow>(
            me.list, host, me.settings,
            [this](const std::string& preset) { dialogs.push_back(preset); }, [] {});
        window->setAttribute(Qt::WA_DeleteOnClose, false);  // the test owns it
        return window;
    }
    static QString Cell(const CMessageListWindow& window, int row, int column) {
        return testing::Column(window, column).value(row);
    }
};

TEST_F(MessageWindow, RowsFollowChangesAndShowTextAsWritten) {
    me.list.ReceiveMessage("W1AW", "BLN1", "<b>x</b>");
    auto window = Open();
    window->viewOnly()->setCurrentIndex(static_cast<int>(MessageView::kBulletins));
    window->Reload();
    ASSERT_TRUE(WaitFor([&] { return !window->loading(); }));
    ASSERT_EQ(window->model().rowCount({}), 1);
    EXPECT_EQ(Cell(*window, 0, kMessageColumnText), "<b>x</b>");

    // A new bulletin gets a row; a message outside the view only counts.
    me.list.ReceiveMessage("W1AW", "BLN2", "second");
    window->MessagesChanged(host.messageChanges(), false);
    me.list.ReceiveMessage("W1AW", "K1ABC", "private{9");
    window->MessageChanged(me.list.Snapshot().back().key);
    EXPECT_EQ(window->model().rowCount({}), 2);
    EXPECT_EQ(window->statusText(), "Showing 2 of 3 messages");

    // A repeated bulletin updates its row's count in place.
    me.list.ReceiveMessage("W1AW", "BLN2", "second");
    window->MessageChanged(me.list.Snapshot()[1].key);
    EXPECT_EQ(Cell(*window, 1, kMessageColumnCount), "2");
}

// The buttons act on the selected row, kept through a sort (their rules are the logic's).
TEST_F(MessageWindow, ButtonsWorkOnTheSelectedRow) {
    const uint64_t own = me.list.SendNewMessage("W1AW", "mine");
    me.list.ReceiveMessage("W1AW", "K1ABC", "theirs{4");
    const uint64_t theirs = me.list.Snapshot().back().key;
    auto window = Open();
    ASSERT_TRUE(WaitFor([&] { return !window->loading(); }));
    window->SelectKey(theirs);
    window->list()->header()->sectionClicked(kMessageColumnFrom);
    window->list()->header()->sectionClicked(kMessageColumnFrom);  // descending: theirs first
    EXPECT_EQ(Cell(*window, 0, kMessageColumnFrom), "W1AW");
    EXPECT_EQ(window->SelectedKey(), theirs);
    window->button(2)->click();  // Reply
    EXPECT_EQ(dialogs, std::vector<std::string>{"W1AW"});
    window->SelectKey(own);
    host.QueueReply(MessageBoxResult::kYes);
    window->button(4)->click();  // Delete
    EXPECT_FALSE(me.list.Find(own).has_value());
    EXPECT_EQ(window->statusText(), "Showing 1 message");
}

// The dialog's rules are the logic's; here: the field limits, a refusal that keeps it open,
// and the text kept as UTF-8 within the byte limit.
TEST_F(MessageWindow, SendDialogChecksTheAddresseeAndLimitsTheTextInBytes) {
    {
        CSendMessageDialog dialog(me.list, host, "");
        EXPECT_EQ(dialog.toEdit()->maxLength(), 9);
        EXPECT_EQ(dialog.textEdit()->maxLength(), 67);
        QTest::keyClicks(dialog.toEdit(), "n0call/9");
        dialog.textEdit()->setText(QString(40, QChar(0x0436)));  // "ж" takes two bytes
        EXPECT_EQ(dialog.textEdit()->text().size(), 33);
        EXPECT_EQ(dialog.textCount()->text(), "1 of 67 bytes left");
        dialog.accept();
        EXPECT_EQ(host.boxes().back().text, kInvalidAddresseeText);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open

        dialog.toEdit()->clear();
        QTest::keyClicks(dialog.toEdit(), " w1aw-15 ");
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.addressee(), "W1AW-15");
        EXPECT_EQ(dialog.text(), QString(33, QChar(0x0436)).toStdString());
    }
    // A preset longer than nine characters is shown whole and refused on OK.
    CSendMessageDialog longPreset(me.list, host, "ABCDEFGHIJK");
    EXPECT_EQ(longPreset.toEdit()->text(), "ABCDEFGHIJK");
    longPreset.textEdit()->setText("hello");
    longPreset.accept();
    EXPECT_EQ(host.boxes().back().text, kLongAddresseeText);
}

TEST_F(MessageWindow, ConfirmedBulletinIsStoredAndAdvancesTheCounter) {
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CSendMessageDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->typeBox()->setCurrentIndex(1);
        dialog->textEdit()->setText("net tonight");
        dialog->accept();
    });
    const uint64_t key = SendNewMessage(nullptr, me.list, host, "");
    ASSERT_NE(key, 0u);
    const auto stored = me.list.Find(key);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->from, "K1ABC");
    EXPECT_EQ(stored->to, "BLN1");
    EXPECT_EQ(stored->text, "net tonight");
    EXPECT_EQ(me.list.NextBulletinId(false), "BLN2");

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(SendNewMessage(nullptr, me.list, host, "W1AW"), 0u);
    EXPECT_EQ(me.list.Count(), 1u);
}

}  // namespace
}  // namespace plovane
