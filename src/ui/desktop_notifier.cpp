// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace plovane {
namespace {

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A service may stop answering; the notice is then dropped rather than waited for.
constexpr int kCallTimeoutMs = 5000;
// Shown notices remembered for their click; beyond this the oldest are forgotten (a service
// that never says "closed" cannot make the map grow).
constexpr size_t kMaxRemembered = 200;

}  // namespace

CDesktopNotifier::CDesktopNotifier(QDBusConnection bus, std::function<void(const QString&)> report,
                                   QObject* parent)
    : QObject(parent), bus_(std::move(bus)), report_(std::move(report)) {
    if (!bus_.isConnected())
        return;
    bus_.connect(kService, kPath, kService, "ActionInvoked", this,
                 SLOT(OnActionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kService, "NotificationClosed", this, SLOT(OnClosed(uint, uint)));
}

void CDesktopNotifier::Notify(const std::string& peer, const std::string& text) {
    if (!bus_.isConnected()) {
        Unavailable("no session bus");
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "Notify");
    // The body may carry markup; received text is shown as written.
    call << QString("Plovane") << uint(0) << QString("org.drennic.Plovane") << Utf8(peer)
         << Utf8(text).toHtmlEscaped() << QStringList{"default", "Open conversation"}
         << QVariantMap{{"category", "im.received"}} << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, peer = Utf8(peer)] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError()) {
            Unavailable(reply.error().message());
            return;
        }
        if (peers_.size() >= kMaxRemembered)
            peers_.erase(peers_.begin());
        peers_[reply.value()] = peer;
    });
}

void CDesktopNotifier::OnActionInvoked(uint id, const QString& action) {
    const auto found = peers_.find(id);
    if (found == peers_.end() || action != "default")
        return;
    emit conversationRequested(found->second);
}

void CDesktopNotifier::OnClosed(uint id, uint /*reason*/) {
    peers_.erase(id);
}

void CDesktopNotifier::Unavailable(const QString& why) {
    if (reported_)
        return;
    reported_ = true;
    if (report_)
        report_("Desktop notifications unavailable: " + why);
}

}  // namespace plovane
