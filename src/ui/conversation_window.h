// SPDX-License-Identifier: GPL-3.0-or-later
// The chat view of the messages with one station ("Conversation with W1AAA"): the exchange
// in time order, ours on the right with their marks, theirs on the left, and a reply line
// that sends with Enter. "Conversations" lists the stations we exchanged messages with and
// their unread counts. The rules live in ui/logic/conversation.h; both windows delete
// themselves when closed and reload on the store's change notifications.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "core/app_host.h"
#include "core/station_settings.h"
#include "messages/message_list.h"
#include "ui/logic/conversation.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace plovane {

// Thread-affine: the user-interface thread.
class CConversationWindow : public QWidget {
    Q_OBJECT
  public:
    // `marks` records what this window showed; it must outlive the window.
    CConversationWindow(CMessageList& store, AppHost& host, const CStationSettings& settings,
                        ConversationReadMarks& marks, std::string peer, QWidget* parent = nullptr);

    const std::string& peer() const { return peer_; }
    // The store changed: the exchange is read again.
    void Reload();
    // The reply line's text goes to the peer as the Message dialog sends it. False when
    // it was refused (the host shows why) or the store stored nothing.
    bool SendReply();

    QListWidget* exchange() const { return exchange_; }
    QLineEdit* reply() const { return reply_; }
    QLabel* byteCount() const { return byteCount_; }

  private:
    CMessageList& store_;
    AppHost& host_;
    const CStationSettings& settings_;
    ConversationReadMarks& marks_;
    const std::string peer_;
    QListWidget* exchange_ = nullptr;
    QLineEdit* reply_ = nullptr;
    QLabel* byteCount_ = nullptr;
    QLabel* warning_ = nullptr;
};

// Thread-affine: the user-interface thread.
class CConversationChooser : public QWidget {
    Q_OBJECT
  public:
    // `open` shows the conversation with a peer.
    CConversationChooser(CMessageList& store, const CStationSettings& settings,
                         const ConversationReadMarks& marks,
                         std::function<void(const std::string&)> open, QWidget* parent = nullptr);
    void Reload();
    QListWidget* list() const { return list_; }

  private:
    void OpenSelected();

    CMessageList& store_;
    const CStationSettings& settings_;
    const ConversationReadMarks& marks_;
    std::function<void(const std::string&)> open_;
    QListWidget* list_ = nullptr;
};

}  // namespace plovane
