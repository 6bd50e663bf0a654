// SPDX-License-Identifier: GPL-3.0-or-later
// The splash window shown while the program starts: the program's name, "Version 1.02",
// a status line the start-up steps write, and a red warning that blinks. It hides after
// about 15 seconds or at a click or key press; the application timer then destroys it.
#pragma once

#include <QString>
#include <QWidget>

#include "ui/logic/splash_state.h"

class QLabel;

namespace plovane {

class CSplashWnd : public QWidget {
    Q_OBJECT
  public:
    explicit CSplashWnd(QWidget* parent = nullptr);

    void SetStatus(const QString& text);
    QString status() const;
    bool finished() const { return state_.finished(); }
    bool warningVisible() const { return state_.warningVisible(); }

  protected:
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Dismiss();
    void ShowWarning(bool visible);

    SplashState state_;
    int timerId_ = 0;
    QLabel* status_;
    QLabel* warning_;
};

}  // namespace plovane
