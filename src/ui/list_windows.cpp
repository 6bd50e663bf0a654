// SPDX-License-Identifier: GPL-3.0-or-later
// The List menu's windows and the station pop-up's dialogs.
#include "ui/list_windows.h"

#include <QApplication>
#include <QWidget>
#include <optional>

#include "core/geo.h"

#include "history/history_store.h"
#include "maps/map_station_pick.h"
#include "ui/conversation_window.h"
#include "ui/display_text.h"
#include "ui/graphs_window.h"
#include "ui/logic/command_ids.h"
#include "ui/logic/send_feedback.h"
#include "ui/logic/station_actions.h"
#include "ui/logic/station_context.h"
#include "ui/message_list_window.h"
#include "ui/send_message_dialog.h"
#include "ui/station_info_sheet.h"
#include "ui/station_list_window.h"

namespace plovane {

CListWindows::CListWindows(CPlovaneApp& app, AppHost& host, const CSymbolIcons& icons,
                           QWidget* frame, std::function<void()> messageWaitingCleared)
    : app_(app),
      host_(host),
      icons_(icons),
      frame_(frame),
      messageWaitingCleared_(std::move(messageWaitingCleared)) {}

CListWindows::~CListWindows() {
    // The windows are children of the frame; a frame that outlives this object must not
    // keep windows that call back into it.
    delete messageWindow_.data();
    delete chooser_.data();
    for (auto& [peer, window] : conversations_)
        delete window.data();
    delete stationWindow_.data();
}

CStationListWindow* CListWindows::stationWindow() const {
    return stationWindow_.data();
}
CMessageListWindow* CListWindows::messageWindow() const {
    return messageWindow_.data();
}

CConversationChooser* CListWindows::conversationChooser() const {
    return chooser_.data();
}

bool CListWindows::OnCommand(Command id) {
    switch (id) {
        case Command::kStations:
            ShowStationList();
            return true;
        case Command::kMessages:
            ShowMessageList();
            return true;
        case Command::kConversations:
            ShowConversations();
            return true;
        default:
            return false;
    }
}

void CListWindows::StationCommand(Command id, const QString& call) {
    const auto station = app_.stations().FindStation(CoreText(call));
    if (!station)
        return;  // gone since it was picked
    if (id == Command::kStationInfo)
        ShowStationInfo(*station);
    else if (id == Command::kSendMessage && OffersMessage(*station))
        SendNewMessage(MessageAddresseeFor(*station));
    else if (id == Command::kConversation)
        ShowConversation(MessageAddresseeFor(*station));
}

void CListWindows::ShowStationList() {
    if (!stationWindow_) {
        stationWindow_ = new CStationListWindow(
            app_.stations(), host_, &icons_,
            [this](const CStation& station) { ShowStationInfo(station); },
            [this](const std::string& preset) { SendNewMessage(preset); }, frame_.data());
        stationWindow_->SetCenterOn(centerOn_);
    }
    stationWindow_->ShowStationList();
}

void CListWindows::SetCenterOn(std::function<void(const std::string&)> centerOn) {
    centerOn_ = std::move(centerOn);
    if (stationWindow_)
        stationWindow_->SetCenterOn(centerOn_);
}

void CListWindows::ShowMessageList() {
    if (!messageWindow_) {
        messageWindow_ = new CMessageListWindow(
            app_.messages(), host_, app_.stationSettings(),
            [this](const std::string& preset) { SendNewMessage(preset); },
            [this] {
                if (messageWaitingCleared_)
                    messageWaitingCleared_();
            },
            frame_.data());
    }
    messageWindow_->show();
    messageWindow_->raise();
    messageWindow_->activateWindow();
}

void CListWindows::ShowConversations() {
    if (!chooser_) {
        chooser_ = new CConversationChooser(
            app_.messages(), app_.stationSettings(), readMarks_,
            [this](const std::string& peer) { ShowConversation(peer); }, frame_.data());
    }
    chooser_->show();
    chooser_->raise();
    chooser_->activateWindow();
}

CConversationWindow* CListWindows::ShowConversation(const std::string& peer) {
    QPointer<CConversationWindow>& window = conversations_[peer];
    if (!window) {
        window = new CConversationWindow(app_.messages(), host_, app_.stationSettings(), readMarks_,
                                         peer, frame_.data());
    }
    window->show();
    window->raise();
    window->activateWindow();
    if (chooser_)
        chooser_->Reload();  // its unread count is gone
    // Everything to us has been read: the envelope's mark goes as the messages window
    // clears it.
    if (UnreadCount() == 0)
        app_.messages().ClearMessageWaiting();
    if (messageWaitingCleared_)
        messageWaitingCleared_();
    return window.data();
}

size_t CListWindows::UnreadCount() const {
    return readMarks_.TotalUnread(app_.messages().Snapshot(), app_.stationSettings().MyCall);
}

namespace {
constexpr char kReadSection[] = "Conversations";
constexpr char kReadKey[] = "Read";
}  // namespace

void CListWindows::LoadReadMarks(const Profile& state) {
    readMarks_.Load(state.GetString(kReadSection, kReadKey, ""), app_.clock().BiasMinutes());
}

void CListWindows::SaveReadMarks(Profile& state) const {
    state.WriteString(kReadSection, kReadKey, readMarks_.Save(app_.clock().BiasMinutes()));
}

void CListWindows::SendNewMessage(const std::string& presetAddressee) {
    QWidget* parent = QApplication::activeWindow();
    plovane::SendNewMessage(parent != nullptr ? parent : frame_.data(), app_.messages(), host_,
                            presetAddressee, NoCallMessageWarning(app_.stationSettings().MyCall));
}

void CListWindows::ShowStationInfo(const CStation& station) {
    // The path, the distance and bearing from the own station (its fix, or the position
    // typed in the setup) and the report's age, for every kind of station.
    const CStation own = app_.stations().OwnStation();
    std::optional<GeoPoint> from;
    if (own.hasPosition)
        from = GeoPoint{own.position.colatitude, own.position.longitude};
    const int units = app_.stationSettings().UnitsOfMeasure;
    const StationContextText context =
        FormatStationContext(station, from, app_.clock().Now(), units);
    QWidget* parent = QApplication::activeWindow();
    const std::string call = station.call;
    const auto openGraphs = [this, call, units] {
        const int64_t now = static_cast<int64_t>(
            (app_.clock().UtcNow() - CDateTime(1970, 1, 1, 0, 0, 0)).TotalSeconds());
        ShowGraphs({DefaultHistoryPath(), call, units, now}, frame_.data());
    };
    plovane::ShowStationInfo(parent != nullptr ? parent : frame_.data(), station, units,
                             app_.clock().BiasMinutes(), &context, openGraphs);
}

void CListWindows::StationsChanged(const std::vector<std::string>& calls, bool all) {
    if (stationWindow_)
        stationWindow_->StationsChanged(calls, all);
}

void CListWindows::MessagesChanged(const std::vector<uint64_t>& keys, bool all) {
    if (messageWindow_)
        messageWindow_->MessagesChanged(keys, all);
    for (auto it = conversations_.begin(); it != conversations_.end();) {
        if (it->second) {
            it->second->Reload();
            ++it;
        } else {
            it = conversations_.erase(it);  // closed
        }
    }
    if (chooser_)
        chooser_->Reload();
}

}  // namespace plovane
