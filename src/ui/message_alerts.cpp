// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/message_alerts.h"

#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <algorithm>

#include "app/sound_settings.h"
#include "ui/desktop_notifier.h"
#include "ui/list_windows.h"
#include "ui/logic/conversation.h"

namespace plovane {

QString TrayToolTip(size_t unread) {
    if (unread == 0)
        return "Plovane: no unread messages";
    return QString("Plovane: %1 unread message%2").arg(unread).arg(unread == 1 ? "" : "s");
}

CMessageAlerts::CMessageAlerts(CPlovaneApp& app, CListWindows& windows, const Profile& settings,
                               Actions actions, bool interactive, QObject* parent)
    : QObject(parent),
      app_(app),
      windows_(windows),
      settings_(settings),
      actions_(std::move(actions)) {
    if (!interactive)
        return;
    SetBus(QDBusConnection::sessionBus());
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    // The installed theme icon; a program run from its build folder has none.
    const QIcon icon = QApplication::windowIcon().isNull()
                           ? QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation)
                           : QApplication::windowIcon();
    tray_ = new QSystemTrayIcon(icon, this);
    trayMenu_ = std::make_unique<QMenu>();
    trayMenu_->addAction("&Conversations...", this, [this] { windows_.ShowConversations(); });
    trayMenu_->addAction("&Quit", this, [this] {
        if (actions_.quit)
            actions_.quit();
    });
    tray_->setContextMenu(trayMenu_.get());
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger && actions_.raise)
                    actions_.raise();
            });
    UnreadChanged(0);
    tray_->show();
}

CMessageAlerts::~CMessageAlerts() = default;

void CMessageAlerts::SetBus(QDBusConnection bus) {
    notifier_ = std::make_unique<CDesktopNotifier>(std::move(bus), actions_.notice);
    connect(notifier_.get(), &CDesktopNotifier::conversationRequested, this,
            [this](const QString& peer) {
                windows_.ShowConversation(peer.toStdString());
                if (actions_.raise)
                    actions_.raise();
            });
}

void CMessageAlerts::SkipStored() {
    nextKey_ = app_.messages().NextKey();
}

void CMessageAlerts::MessagesChanged(const std::vector<uint64_t>& keys, bool all) {
    std::vector<CMessage> fresh;
    if (all) {
        for (CMessage& message : app_.messages().Snapshot()) {
            if (message.key >= nextKey_)
                fresh.push_back(std::move(message));
        }
    } else {
        for (const uint64_t key : keys) {
            if (key < nextKey_)
                continue;  // announced, or a duplicate copy of one
            if (auto message = app_.messages().Find(key))
                fresh.push_back(std::move(*message));
        }
        std::sort(fresh.begin(), fresh.end(),
                  [](const CMessage& a, const CMessage& b) { return a.key < b.key; });
    }
    if (fresh.empty())
        return;
    nextKey_ = std::max(nextKey_, fresh.back().key + 1);
    CSoundSettings alerts;
    alerts.Load(settings_);
    if (!notifier_ || !alerts.DesktopNotify)
        return;
    const std::string ownCall = app_.stationSettings().MyCall;
    for (const CMessage& message : fresh) {
        if (AnnouncesMessage(message, ownCall))
            notifier_->Notify(message.from, message.text);
    }
}

void CMessageAlerts::UnreadChanged(size_t unread) {
    if (tray_ != nullptr)
        tray_->setToolTip(TrayToolTip(unread));
}

}  // namespace plovane
