// SPDX-License-Identifier: GPL-3.0-or-later
// The lock file and local socket that keep one copy running.
#include "ui/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace plovane {
namespace {

constexpr int kConnectWaitMs = 2000;

QString LockDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), key_(key) {}

SingleInstance::~SingleInstance() {
    if (server_ != nullptr)
        server_->close();
}

QString SingleInstance::KeyFor(const QString& settingsPath) {
    QString key = QStringLiteral("plovane-%1").arg(static_cast<qulonglong>(::getuid()));
    if (!settingsPath.isEmpty()) {
        const QByteArray path = QFileInfo(settingsPath).absoluteFilePath().toUtf8();
        key += '-' + QString::fromLatin1(
                         QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16));
    }
    return key;
}

SingleInstance::Result SingleInstance::Claim() {
    lock_ = std::make_unique<QLockFile>(LockDirectory() + '/' + key_ + ".lock");
    // A lock whose process is gone is stale at once; a live one never is.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        QLocalSocket socket;
        socket.connectToServer(key_);
        if (!socket.waitForConnected(kConnectWaitMs))
            return Result::kFailed;
        socket.write("raise\n");
        socket.waitForBytesWritten(kConnectWaitMs);
        socket.disconnectFromServer();
        return Result::kNotified;
    }
    // We hold the lock, so a socket file left behind belongs to a copy that is gone.
    QLocalServer::removeServer(key_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    server_->listen(key_);  // without it the program still runs; later starts cannot raise it
    return Result::kFirst;
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Any connection is a request to come forward; what it says is not needed.
        socket->readAll();
        socket->disconnectFromServer();
        emit raiseRequested();
    }
}

}  // namespace plovane
