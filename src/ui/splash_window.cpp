// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up splash window.
#include "ui/splash_window.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "core/version.h"
#include "ui/display_text.h"
#include "ui/logic/frame_model.h"

namespace plovane {
namespace {

// The designed position is the screen's centre; the window sits this much higher, but
// never above the top of the screen.
constexpr int kRaisePixels = 75;

QLabel* CentredLabel(const QString& text, QWidget* parent) {
    QLabel* label = NewPlainLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

CSplashWnd::CSplashWnd(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("splash");
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(palette);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    auto* title = CentredLabel(QString::fromLatin1(kProgramName), this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);
    layout->addWidget(CentredLabel(QString::fromStdString(VersionLine()), this));
    status_ = CentredLabel(QString(), this);
    status_->setObjectName("status");
    status_->setMinimumWidth(360);
    layout->addWidget(status_);
    warning_ = CentredLabel(QString::fromLatin1(kNavigationWarning), this);
    warning_->setObjectName("warning");
    QFont warningFont = warning_->font();
    warningFont.setBold(true);
    warning_->setFont(warningFont);
    layout->addWidget(warning_);
    ShowWarning(true);

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        QRect frame(QPoint(0, 0), sizeHint());
        frame.moveCenter(area.center());
        frame.moveTop(std::max(area.top(), frame.top() - kRaisePixels));
        move(frame.topLeft());
    }
    timerId_ = startTimer(SplashState::kTickMs);
}

void CSplashWnd::SetStatus(const QString& text) {
    status_->setText(text);
    // Start-up runs before the event loop: draw the new text now.
    if (isVisible())
        status_->repaint();
}

QString CSplashWnd::status() const {
    return status_->text();
}

void CSplashWnd::ShowWarning(bool visible) {
    // The line keeps its place while blinking: only its colour goes.
    QPalette palette = warning_->palette();
    palette.setColor(QPalette::WindowText, visible ? QColor(255, 0, 0) : QColor(192, 192, 192));
    warning_->setPalette(palette);
}

void CSplashWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId_) {
        QWidget::timerEvent(event);
        return;
    }
    if (state_.Tick()) {
        Dismiss();
        return;
    }
    ShowWarning(state_.warningVisible());
}

void CSplashWnd::Dismiss() {
    state_.Dismiss();
    if (timerId_ != 0) {
        killTimer(timerId_);
        timerId_ = 0;
    }
    hide();
}

void CSplashWnd::mousePressEvent(QMouseEvent*) {
    Dismiss();
}

void CSplashWnd::keyPressEvent(QKeyEvent*) {
    Dismiss();
}

}  // namespace plovane
