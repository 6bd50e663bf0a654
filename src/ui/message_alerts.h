// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop hears of new messages to us: a desktop notification for each (unless the
// alerts switch it off) whose click opens that station's conversation, and a tray icon,
// where the desktop has a tray, with the unread count in its tooltip, a click that raises
// the main window and a menu with Conversations... and Quit.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/plovane_app.h"
#include "core/profile.h"

class QMenu;
class QSystemTrayIcon;

namespace plovane {

class CDesktopNotifier;
class CListWindows;

// Thread-affine: the user-interface thread.
class CMessageAlerts : public QObject {
    Q_OBJECT
  public:
    struct Actions {
        std::function<void()> raise;  // brings the main window to the front
        std::function<void()> quit;   // closes the main window
        std::function<void(const QString&)> notice;
    };
    // `settings` holds the "Sound" section (read at each message, so a change in the alerts
    // dialog holds at once). Only an `interactive` program (not a screenshot or test run)
    // notifies over the session bus and shows a tray icon.
    CMessageAlerts(CPlovaneApp& app, CListWindows& windows, const Profile& settings,
                   Actions actions, bool interactive, QObject* parent = nullptr);
    ~CMessageAlerts() override;

    // Notifications go over this bus (tests give a private one).
    void SetBus(QDBusConnection bus);
    // The records stored so far (a replay of the log) are not announced.
    void SkipStored();
    // The store's change notifications: each new message to us is announced once.
    void MessagesChanged(const std::vector<uint64_t>& keys, bool all);
    // The unread count changed: the tray's tooltip follows.
    void UnreadChanged(size_t unread);

    QSystemTrayIcon* tray() const { return tray_; }

  private:
    CPlovaneApp& app_;
    CListWindows& windows_;
    const Profile& settings_;
    Actions actions_;
    std::unique_ptr<CDesktopNotifier> notifier_;  // none: nothing is announced
    uint64_t nextKey_ = 0;                        // records from this key on are not announced yet
    QSystemTrayIcon* tray_ = nullptr;
    std::unique_ptr<QMenu> trayMenu_;
};

// The tray icon's tooltip: "Plovane: 3 unread messages".
QString TrayToolTip(size_t unread);

}  // namespace plovane
