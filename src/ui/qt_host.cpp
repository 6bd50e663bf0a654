// SPDX-License-Identifier: GPL-3.0-or-later
// Delivery of the core's requests on the GUI thread.
#include "ui/qt_host.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdio>

#include "core/cautious_answer.h"
#include "core/version.h"
#include "ui/display_text.h"
#include "ui/sound_player.h"

namespace plovane {
namespace {

QMessageBox::Icon ToQtIcon(MessageBoxIcon icon) {
    switch (icon) {
        case MessageBoxIcon::kInformation:
            return QMessageBox::Information;
        case MessageBoxIcon::kExclamation:
            return QMessageBox::Warning;
        case MessageBoxIcon::kStop:
            return QMessageBox::Critical;
        case MessageBoxIcon::kQuestion:
            return QMessageBox::Question;
        case MessageBoxIcon::kNone:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageBoxButtons buttons) {
    switch (buttons) {
        case MessageBoxButtons::kOkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageBoxButtons::kYesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageBoxButtons::kYesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageBoxButtons::kOk:
            break;
    }
    return QMessageBox::Ok;
}

MessageBoxResult FromQtButton(int button, MessageBoxButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageBoxResult::kOk;
        case QMessageBox::Yes:
            return MessageBoxResult::kYes;
        case QMessageBox::No:
            return MessageBoxResult::kNo;
        case QMessageBox::Cancel:
            return MessageBoxResult::kCancel;
        default:
            break;
    }
    // Closed with Escape or the window's close button.
    return CautiousAnswer(buttons);
}

}  // namespace

QtHost::QtHost(QObject* parent) : QObject(parent), sounds_(new SoundPlayer(this)) {}

QtHost::~QtHost() = default;

bool QtHost::OnGuiThread() const {
    return QThread::currentThread() == thread();
}

// --- Thread messages ---

size_t QtHost::SlotIndex(ThreadMessage message) {
    switch (message) {
        case ThreadMessage::kEchoLine:
            return 0;
        case ThreadMessage::kPortStatus:
            return 1;
        case ThreadMessage::kStationSetupDone:
            return 2;
        case ThreadMessage::kCommSetupDone:
            return 3;
    }
    return 0;
}

template <typename Gather, typename Deliver>
void QtHost::GatherAndQueue(bool& queued, Gather gather, Deliver deliver) {
    {
        std::lock_guard lock(mutex_);
        gather();
        if (std::exchange(queued, true))
            return;
    }
    QMetaObject::invokeMethod(this, deliver, Qt::QueuedConnection);
}

void QtHost::Post(ThreadMessage message, std::string text) {
    PostSlot& slot = posts_[SlotIndex(message)];
    GatherAndQueue(
        slot.pending, [&] { slot.text = std::move(text); },
        [this, message] { DeliverPost(message); });
}

void QtHost::DeliverPost(ThreadMessage message) {
    std::string text;
    {
        std::lock_guard lock(mutex_);
        PostSlot& slot = posts_[SlotIndex(message)];
        text = std::move(slot.text);
        slot.text.clear();
        slot.pending = false;
    }
    if (receivers_.threadMessage)
        receivers_.threadMessage(message, text);
}

// --- Change notifications ---

void QtHost::StationChanged(const std::string& call) {
    GatherAndQueue(
        stationsQueued_, [&] { stationChanges_.Add(call); }, &QtHost::DeliverStations);
}

void QtHost::DeliverStations() {
    std::vector<std::string> calls;
    bool all = false;
    {
        std::lock_guard lock(mutex_);
        all = stationChanges_.Take(calls);
        stationsQueued_ = false;
    }
    if (receivers_.stationsChanged)
        receivers_.stationsChanged(calls, all);
}

void QtHost::MessageChanged(uint64_t messageKey) {
    GatherAndQueue(
        messagesQueued_, [&] { messageChanges_.Add(messageKey); }, &QtHost::DeliverMessages);
}

void QtHost::DeliverMessages() {
    std::vector<uint64_t> keys;
    bool all = false;
    {
        std::lock_guard lock(mutex_);
        all = messageChanges_.Take(keys);
        messagesQueued_ = false;
    }
    if (receivers_.messagesChanged)
        receivers_.messagesChanged(keys, all);
}

// --- Notices and progress ---

void QtHost::ShowNotice(std::string_view text) {
    if (OnGuiThread()) {
        {
            // A newer notice than one still waiting from another thread.
            std::lock_guard lock(mutex_);
            notice_.clear();
        }
        if (receivers_.notice)
            receivers_.notice(DisplayText(text));
        return;
    }
    GatherAndQueue(
        noticeQueued_, [&] { notice_.assign(text); }, &QtHost::DeliverNotice);
}

void QtHost::DeliverNotice() {
    std::string text;
    {
        std::lock_guard lock(mutex_);
        text.swap(notice_);
        noticeQueued_ = false;
    }
    if (!text.empty() && receivers_.notice)
        receivers_.notice(DisplayText(text));
}

void QtHost::QueueProgressLocked() {
    if (progress_.pending)
        return;
    progress_.pending = true;
    QMetaObject::invokeMethod(this, &QtHost::DeliverProgress, Qt::QueuedConnection);
}

void QtHost::ShowProgress(std::string_view text) {
    if (OnGuiThread()) {
        if (receivers_.progressShow)
            receivers_.progressShow(DisplayText(text));
        return;
    }
    std::lock_guard lock(mutex_);
    progress_.showChanged = true;
    progress_.visible = true;
    progress_.text = DisplayText(text);
    progress_.percent = -1;
    QueueProgressLocked();
}

void QtHost::SetProgress(int percent) {
    if (OnGuiThread()) {
        if (receivers_.progressSet)
            receivers_.progressSet(percent);
        return;
    }
    std::lock_guard lock(mutex_);
    progress_.percent = percent;
    QueueProgressLocked();
}

void QtHost::HideProgress() {
    if (OnGuiThread()) {
        if (receivers_.progressHide)
            receivers_.progressHide();
        return;
    }
    std::lock_guard lock(mutex_);
    progress_.showChanged = true;
    progress_.visible = false;
    progress_.percent = -1;
    QueueProgressLocked();
}

void QtHost::DeliverProgress() {
    ProgressState state;
    {
        std::lock_guard lock(mutex_);
        state = progress_;
        progress_.pending = false;
        progress_.showChanged = false;
        progress_.percent = -1;
    }
    if (state.showChanged) {
        if (state.visible && receivers_.progressShow)
            receivers_.progressShow(state.text);
        if (!state.visible && receivers_.progressHide)
            receivers_.progressHide();
    }
    if (state.percent >= 0 && receivers_.progressSet)
        receivers_.progressSet(state.percent);
}

// --- Sounds ---

void QtHost::PlaySound(const std::string& path) {
    if (path.empty())
        return;
    if (OnGuiThread()) {
        sounds_->Play(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
        return;
    }
    GatherAndQueue(
        soundsQueued_, [&] { soundPaths_.insert(path); }, &QtHost::DeliverSounds);
}

void QtHost::DeliverSounds() {
    std::set<std::string> paths;
    {
        std::lock_guard lock(mutex_);
        paths.swap(soundPaths_);
        soundsQueued_ = false;
    }
    for (const std::string& path : paths) {
        sounds_->Play(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
    }
}

// --- Message boxes ---

void QtHost::PrintBox(const QString& text) const {
    const QByteArray bytes = text.toLocal8Bit();
    std::fprintf(stderr, "plovane: %s\n", bytes.constData());
}

QMessageBox* QtHost::MakeBox(const QString& text, MessageBoxIcon icon, MessageBoxButtons buttons,
                             const QString& title) const {
    auto* box =
        new QMessageBox(ToQtIcon(icon), title, text, ToQtButtons(buttons), dialogParent_.data());
    box->setTextFormat(Qt::PlainText);
    return box;
}

MessageBoxResult QtHost::MessageBox(std::string_view text, MessageBoxIcon icon,
                                    MessageBoxButtons buttons, std::string_view title) {
    const QString shownText = DisplayText(text);
    const QString shownTitle =
        title.empty() ? QString::fromLatin1(kProgramName) : DisplayText(title);
    if (OnGuiThread() && boxesWait_) {
        if (!interactive_) {
            PrintBox(shownText);
            return CautiousAnswer(buttons);
        }
        QMessageBox* box = MakeBox(shownText, icon, buttons, shownTitle);
        const int button = box->exec();
        delete box;
        return FromQtButton(button, buttons);
    }
    QueueNonModalBox(std::string(text), shownText, icon, buttons, shownTitle);
    return CautiousAnswer(buttons);
}

// Errors from below the user interface: the status line at once, and a box that does not
// hold up the window (nor the start-up behind it).
void QtHost::ReportError(std::string_view text) {
    ShowNotice(text);
    QueueNonModalBox(std::string(text), DisplayText(text), MessageBoxIcon::kExclamation,
                     MessageBoxButtons::kOk, QString::fromLatin1(kProgramName));
}

void QtHost::QueueNonModalBox(std::string key, const QString& shownText, MessageBoxIcon icon,
                              MessageBoxButtons buttons, const QString& shownTitle) {
    {
        // The same text already waiting or open: one box is enough.
        std::lock_guard lock(mutex_);
        if (!boxesShown_.insert(key).second)
            return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, shownText, icon, buttons, shownTitle, key = std::move(key)] {
            if (!interactive_) {
                PrintBox(shownText);
                std::lock_guard lock(mutex_);
                boxesShown_.erase(key);
                return;
            }
            QMessageBox* box = MakeBox(shownText, icon, buttons, shownTitle);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->setModal(false);
            connect(box, &QObject::destroyed, this, [this, key] {
                std::lock_guard lock(mutex_);
                boxesShown_.erase(key);
            });
            box->show();
        },
        Qt::QueuedConnection);
}

}  // namespace plovane
