// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM and SIGINT end the GUI as closing its main window does: the handler only writes
// the signal's number into a socket pair; a notifier reads it on the GUI thread and calls
// the stop function there, so the ports close and the threads join in their usual order.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace plovane {

// Thread-affine: the GUI thread. One at a time (the handler reaches it through the one
// write end a signal handler can see); a second one fails to install.
class StopSignals : public QObject {
    Q_OBJECT
  public:
    explicit StopSignals(std::function<void()> stop, QObject* parent = nullptr);
    // Puts the previous handlers back.
    ~StopSignals() override;

    bool installed() const { return installed_; }

  private:
    void OnReadable();

    std::function<void()> stop_;
    int fds_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
};

}  // namespace plovane
