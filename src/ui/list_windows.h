// SPDX-License-Identifier: GPL-3.0-or-later
// The list windows and dialogs of the List menu and the station pop-up, for the GUI program:
// the "Stations" window (made once, then only shown), the "Messages" window (made on
// demand, gone when closed), the "Message" dialog and the "Station Info for ..." sheet. It
// routes the host's change notifications to whichever window is open.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/plovane_app.h"
#include "core/app_host.h"
#include "core/profile.h"
#include "ui/logic/command_ids.h"
#include "ui/logic/conversation.h"

class QWidget;

namespace plovane {

class CConversationChooser;
class CConversationWindow;
class CMessageListWindow;
class CStationListWindow;
class CSymbolIcons;

// Thread-affine: the user-interface thread.
class CListWindows : public QObject {
    Q_OBJECT
  public:
    // `frame` parents the windows and dialogs; `messageWaitingCleared` runs when the
    // messages window clears the message-waiting mark or a conversation was read, so the
    // map redraws its header.
    CListWindows(CPlovaneApp& app, AppHost& host, const CSymbolIcons& icons, QWidget* frame,
                 std::function<void()> messageWaitingCleared);
    ~CListWindows() override;

    // "&Stations...", "&Messages...", "&Conversations...", and the station pop-up's
    // "Station &Info...", "Send &Message..." and "C&onversation..." (for the station
    // picked, by call). False for other commands.
    bool OnCommand(Command id);
    void StationCommand(Command id, const QString& call);

    void ShowStationList();
    void ShowMessageList();
    // The list of conversations, and the chat window with one station (one per station).
    void ShowConversations();
    CConversationWindow* ShowConversation(const std::string& peer);
    // The "Message" dialog with a preset addressee; the confirmed message is stored and sent.
    void SendNewMessage(const std::string& presetAddressee);
    void ShowStationInfo(const CStation& station);

    // The messages to us no conversation window has shown yet.
    size_t UnreadCount() const;
    // What the conversation windows showed, kept in the state file across runs.
    void LoadReadMarks(const Profile& state);
    void SaveReadMarks(Profile& state) const;

    // The host's change notifications.
    void StationsChanged(const std::vector<std::string>& calls, bool all);
    void MessagesChanged(const std::vector<uint64_t>& keys, bool all);

    CStationListWindow* stationWindow() const;
    // "&Center on Station" of the station list.
    void SetCenterOn(std::function<void(const std::string&)> centerOn);
    CMessageListWindow* messageWindow() const;
    CConversationChooser* conversationChooser() const;

  private:
    CPlovaneApp& app_;
    AppHost& host_;
    const CSymbolIcons& icons_;
    QPointer<QWidget> frame_;
    std::function<void()> messageWaitingCleared_;
    QPointer<CStationListWindow> stationWindow_;  // a child of the frame once made
    QPointer<CMessageListWindow> messageWindow_;
    QPointer<CConversationChooser> chooser_;
    std::map<std::string, QPointer<CConversationWindow>, std::less<>> conversations_;
    ConversationReadMarks readMarks_;
    std::function<void(const std::string&)> centerOn_;
};

}  // namespace plovane
