// SPDX-License-Identifier: GPL-3.0-or-later
// The "Message" dialog.
#include "ui/send_message_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/display_text.h"
#include "ui/logic/display_utf8.h"

namespace plovane {

CSendMessageDialog::CSendMessageDialog(CMessageList& store, AppHost& host,
                                       std::string_view presetAddressee, QWidget* parent)
    : QDialog(parent),
      host_(host),
      form_([&store](bool advance) { return store.NextBulletinId(advance); },
            [&store](bool advance) { return store.NextAnnouncementId(advance); },
            DisplayUtf8(presetAddressee)) {
    setWindowTitle(tr("Message"));

    type_ = new QComboBox(this);
    for (const char* name : kMessageTypeNames)
        type_->addItem(tr(name));
    to_ = new QLineEdit(this);
    const QString preset = QString::fromStdString(form_.toText());
    // Typing stops at nine characters; a longer preset is shown whole and refused on OK
    // rather than cut short without a word.
    to_->setMaxLength(std::max<int>(kMaxAddresseeLength, static_cast<int>(preset.size())));
    to_->setText(preset);
    messageText_ = new QLineEdit(this);
    messageText_->setMaxLength(kMaxMessageTextLength);
    textCount_ = NewPlainLabel(QString::fromStdString(MessageTextCount("")), this);

    auto* fields = new QFormLayout;
    fields->addRow(tr("&Message Type:"), type_);
    fields->addRow(tr("&To:"), to_);
    fields->addRow(tr("Message Te&xt:"), messageText_);
    fields->addRow(QString(), textCount_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    warning_ = NewPlainLabel({}, this);
    warning_->setWordWrap(true);
    warning_->setStyleSheet("color: #b00000;");
    warning_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warning_);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * (kMaxMessageTextLength + 20));

    connect(buttons, &QDialogButtonBox::accepted, this, &CSendMessageDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSendMessageDialog::reject);
    connect(type_, &QComboBox::currentIndexChanged, this, &CSendMessageDialog::TypeChanged);
    // The limit is in bytes of UTF-8: a text that grows past it is cut back, never in the
    // middle of a character.
    connect(messageText_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const std::string utf8 = text.toStdString();
        const std::string_view fitting = FitMessageText(utf8);
        if (fitting.size() != utf8.size()) {
            const int cursor = messageText_->cursorPosition();
            messageText_->setText(
                QString::fromUtf8(fitting.data(), static_cast<qsizetype>(fitting.size())));
            messageText_->setCursorPosition(std::min(cursor, int(messageText_->text().size())));
            return;  // setText signals again with the fitting text
        }
        textCount_->setText(QString::fromStdString(MessageTextCount(utf8)));
    });
    connect(to_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.EditTo(text.toStdString()); });

    if (form_.focusOnText())
        messageText_->setFocus();
    else
        to_->setFocus();
}

void CSendMessageDialog::TypeChanged(int index) {
    if (index < 0 || index >= static_cast<int>(kMessageTypeNames.size()))
        return;
    form_.SetType(static_cast<MessageType>(index));
    to_->setText(QString::fromStdString(form_.toText()));
    to_->setEnabled(form_.toEnabled());
}

void CSendMessageDialog::accept() {
    // The text first: a refused text must not advance a bulletin or announcement counter.
    // Typed text goes out as UTF-8.
    const std::string text(FitMessageText(messageText_->text().toStdString()));
    if (const char* error = MessageTextError(text)) {
        host_.MessageBox(error, MessageBoxIcon::kExclamation, MessageBoxButtons::kOk);
        messageText_->setFocus();
        return;
    }
    const SendMessageForm::Result result = form_.Accept();
    if (!result.accepted()) {
        host_.MessageBox(result.error, MessageBoxIcon::kExclamation, MessageBoxButtons::kOk);
        return;
    }
    // An accepted addressee holds only 0-9, A-Z and "-", so its UTF-8 is its bytes.
    addressee_ = result.addressee;
    text_ = text;
    QDialog::accept();
}

void CSendMessageDialog::SetWarning(const std::string& warning) {
    warning_->setText(QString::fromStdString(warning));
    warning_->setVisible(!warning.empty());
}

uint64_t SendNewMessage(QWidget* parent, CMessageList& store, AppHost& host,
                        std::string_view presetAddressee, const std::string& warning) {
    CSendMessageDialog dialog(store, host, presetAddressee, parent);
    dialog.SetWarning(warning);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    return store.SendNewMessage(dialog.addressee(), dialog.text());
}

}  // namespace plovane
