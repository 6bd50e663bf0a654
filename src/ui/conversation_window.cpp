// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/conversation_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/logic/list_text.h"
#include "ui/logic/send_feedback.h"
#include "ui/logic/send_message_logic.h"

namespace plovane {
namespace {

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CConversationWindow::CConversationWindow(CMessageList& store, AppHost& host,
                                         const CStationSettings& settings,
                                         ConversationReadMarks& marks, std::string peer,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window),
      store_(store),
      host_(host),
      settings_(settings),
      marks_(marks),
      peer_(std::move(peer)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Conversation with " + Utf8(peer_));
    exchange_ = new QListWidget(this);
    exchange_->setWordWrap(true);
    exchange_->setSelectionMode(QAbstractItemView::NoSelection);
    exchange_->setSpacing(3);
    warning_ = new QLabel(this);
    warning_->setWordWrap(true);
    reply_ = new QLineEdit(this);
    byteCount_ = new QLabel(this);
    auto* send = new QPushButton("&Send", this);

    auto* replyRow = new QHBoxLayout;
    replyRow->addWidget(reply_, 1);
    replyRow->addWidget(send);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(exchange_, 1);
    layout->addWidget(warning_);
    layout->addLayout(replyRow);
    layout->addWidget(byteCount_);

    // As in the Message dialog: the text never grows past the limit, nor is a character cut.
    connect(reply_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const std::string utf8 = text.toStdString();
        const std::string_view fitting = FitMessageText(utf8);
        if (fitting.size() != utf8.size()) {
            const int cursor = reply_->cursorPosition();
            reply_->setText(QString::fromUtf8(fitting.data(), qsizetype(fitting.size())));
            reply_->setCursorPosition(std::min(cursor, int(reply_->text().size())));
            return;
        }
        byteCount_->setText(Utf8(MessageTextCount(utf8)));
    });
    connect(reply_, &QLineEdit::returnPressed, this, [this] { SendReply(); });
    connect(send, &QPushButton::clicked, this, [this] { SendReply(); });
    byteCount_->setText(Utf8(MessageTextCount({})));
    resize(420, 480);
    reply_->setFocus();
    Reload();
}

void CConversationWindow::Reload() {
    const std::string warning = NoCallMessageWarning(settings_.MyCall);
    warning_->setText(Utf8(warning));
    warning_->setVisible(!warning.empty());

    const auto lines = ConversationWith(store_.Snapshot(), settings_.MyCall, peer_);
    exchange_->clear();
    const QPalette palette = exchange_->palette();
    for (const ConversationLine& line : lines) {
        std::string footer = ListDateText(line.time);
        if (line.ours)
            footer += "  " + line.mark;
        // QListWidgetItem shows plain text only: received markup stays as written.
        auto* item = new QListWidgetItem(Utf8(line.text) + "\n" + Utf8(footer));
        item->setTextAlignment((line.ours ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        item->setBackground(line.ours ? palette.color(QPalette::AlternateBase)
                                      : palette.color(QPalette::Base));
        item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(line.key));
        exchange_->addItem(item);
        marks_.MarkRead(peer_, line.key, line.time);
    }
    exchange_->scrollToBottom();
}

bool CConversationWindow::SendReply() {
    const std::string text(FitMessageText(reply_->text().toStdString()));
    const char* error = MessageTextError(text);
    if (error == nullptr)
        error = AddresseeError(peer_);
    if (error != nullptr) {
        host_.MessageBox(error, MessageBoxIcon::kExclamation, MessageBoxButtons::kOk);
        return false;
    }
    if (store_.SendNewMessage(NormalizeAddressee(peer_), text) == 0)
        return false;
    reply_->clear();
    Reload();
    return true;
}

CConversationChooser::CConversationChooser(CMessageList& store, const CStationSettings& settings,
                                           const ConversationReadMarks& marks,
                                           std::function<void(const std::string&)> open,
                                           QWidget* parent)
    : QWidget(parent, Qt::Window),
      store_(store),
      settings_(settings),
      marks_(marks),
      open_(std::move(open)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Conversations");
    list_ = new QListWidget(this);
    auto* openButton = new QPushButton("&Open", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(openButton, 0, Qt::AlignRight);
    connect(list_, &QListWidget::itemActivated, this, [this] { OpenSelected(); });
    connect(openButton, &QPushButton::clicked, this, [this] { OpenSelected(); });
    resize(300, 360);
    Reload();
}

void CConversationChooser::Reload() {
    const QString selected =
        list_->currentItem() != nullptr ? list_->currentItem()->data(Qt::UserRole).toString() : "";
    list_->clear();
    for (const ConversationSummary& summary :
         marks_.Summaries(store_.Snapshot(), settings_.MyCall)) {
        auto* item = new QListWidgetItem(Utf8(ConversationSummaryText(summary)), list_);
        item->setData(Qt::UserRole, Utf8(summary.peer));
        QFont font = item->font();
        font.setBold(summary.unread > 0);
        item->setFont(font);
        if (item->data(Qt::UserRole).toString() == selected)
            list_->setCurrentItem(item);
    }
}

void CConversationChooser::OpenSelected() {
    if (list_->currentItem() != nullptr && open_)
        open_(list_->currentItem()->data(Qt::UserRole).toString().toStdString());
}

}  // namespace plovane
