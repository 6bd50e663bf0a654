// SPDX-License-Identifier: GPL-3.0-or-later
// The modal "Message" dialog: the user writes a message, a bulletin or an announcement. It
// only collects and checks the input (ui/logic/send_message_logic.h); SendNewMessage below
// hands what was confirmed to the message store.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/app_host.h"
#include "messages/message_list.h"
#include "ui/logic/send_message_logic.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace plovane {

// Thread-affine: the user-interface thread.
class CSendMessageDialog : public QDialog {
    Q_OBJECT
  public:
    // The store gives the bulletin and announcement identifiers; the host shows the
    // refusals. The preset addressee may be empty.
    CSendMessageDialog(CMessageList& store, AppHost& host, std::string_view presetAddressee,
                       QWidget* parent = nullptr);

    // The results once accepted: the addressee upper-cased without blanks (bytes for the
    // store) and the text as typed.
    const std::string& addressee() const { return addressee_; }
    const std::string& text() const { return text_; }

    QComboBox* typeBox() const { return type_; }
    QLineEdit* toEdit() const { return to_; }
    QLineEdit* textEdit() const { return messageText_; }
    QLabel* textCount() const { return textCount_; }
    // A warning line above the fields; empty hides it.
    void SetWarning(const std::string& warning);
    QLabel* warning() const { return warning_; }

  public slots:
    // OK: the checks; a refusal shows its message box and keeps the dialog open.
    void accept() override;

  private:
    void TypeChanged(int index);

    AppHost& host_;
    SendMessageForm form_;
    QComboBox* type_ = nullptr;
    QLineEdit* to_ = nullptr;
    QLineEdit* messageText_ = nullptr;
    QLabel* textCount_ = nullptr;
    QLabel* warning_ = nullptr;
    std::string addressee_;
    std::string text_;
};

// Runs the dialog with the addressee preset and, when the user confirms, stores and sends
// the new message (CMessageList::SendNewMessage). Returns the new message's key, 0 when the
// dialog was cancelled or nothing was stored.
// A `warning` (the own call is not set) is shown above the fields.
uint64_t SendNewMessage(QWidget* parent, CMessageList& store, AppHost& host,
                        std::string_view presetAddressee, const std::string& warning = {});

}  // namespace plovane
