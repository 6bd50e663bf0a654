// SPDX-License-Identifier: GPL-3.0-or-later
// One running copy per settings store: the first start takes a lock file and listens on a
// local socket; a second start finds the lock taken, connects to the socket, which asks the
// first copy to bring its window forward, and quits without starting anything. A lock left
// by a copy that crashed is taken over.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace plovane {

// Thread-affine: the user-interface thread.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // `key` names the lock and the socket: the same key means the same station.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Result {
        kFirst,     // this copy runs; raiseRequested() fires when another one starts
        kNotified,  // another copy runs and was asked to come forward
        kFailed,    // another copy holds the lock but could not be reached
    };
    Result Claim();

    // The key of the user's own settings, or of a settings file named on the command line.
    static QString KeyFor(const QString& settingsPath);

  signals:
    void raiseRequested();

  private:
    void OnConnection();

    QString key_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace plovane
