// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop notifications through the freedesktop notification service on the session bus:
// one notice per new message to us, with the sender as its title and the text as its body,
// and a "default" action that asks for that station's conversation. Without a bus or a
// service nothing shows; the first failure is reported once, never again.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <string>

namespace plovane {

// Thread-affine: the user-interface thread.
class CDesktopNotifier : public QObject {
    Q_OBJECT
  public:
    static constexpr char kService[] = "org.freedesktop.Notifications";
    static constexpr char kPath[] = "/org/freedesktop/Notifications";

    // `report` gets the one line that says notifications are unavailable, at most once.
    explicit CDesktopNotifier(QDBusConnection bus, std::function<void(const QString&)> report,
                              QObject* parent = nullptr);

    // Shows a notice for a message from `peer`; the call does not wait for the service.
    void Notify(const std::string& peer, const std::string& text);

  signals:
    // The user clicked the notice for a message from `peer`.
    void conversationRequested(const QString& peer);

  private slots:
    void OnActionInvoked(uint id, const QString& action);
    void OnClosed(uint id, uint reason);

  private:
    void Unavailable(const QString& why);

    QDBusConnection bus_;
    std::function<void(const QString&)> report_;
    bool reported_ = false;
    std::map<uint, QString> peers_;  // shown notices by the service's id
};

}  // namespace plovane
