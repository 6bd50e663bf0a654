// SPDX-License-Identifier: GPL-3.0-or-later
// The GUI's AppHost: everything the core asks of the program arrives here, from any thread,
// and is delivered on the GUI thread through queued calls. Deliveries that only say "look
// again" are merged while they wait, so a flood from a read thread cannot grow the event
// queue without bound:
// - each thread message kind is queued once until delivered; a later post of the same kind
//   only replaces its text (the echo line is a single slot that the write threads overwrite);
// - changed stations and messages gather in sets, delivered together;
// - notices, progress and sounds from other threads keep only their latest state.
// Message boxes from other threads never block their thread: the box is shown on the GUI
// thread without waiting, and the caller gets the cautious answer (OK, No or Cancel); a
// read thread waiting for the GUI thread could otherwise deadlock with a shut-down that
// waits for the read thread.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/app_host.h"

class QMessageBox;

namespace plovane {

class SoundPlayer;

// Thread-safe: every AppHost call may come from any thread. The receivers are set on the
// GUI thread before any worker starts and are only called on it.
class QtHost final : public QObject, public AppHost {
    Q_OBJECT
  public:
    // More distinct changed stations than this waiting at once are delivered as "all".
    static constexpr size_t kMaxPendingChanges = 20000;

    struct Receivers {
        std::function<void(ThreadMessage, const std::string&)> threadMessage;
        std::function<void(const QString&)> notice;
        // The calls changed since the last delivery; `all` when too many to list.
        std::function<void(const std::vector<std::string>& calls, bool all)> stationsChanged;
        std::function<void(const std::vector<uint64_t>& keys, bool all)> messagesChanged;
        std::function<void(const QString&)> progressShow;
        std::function<void(int)> progressSet;
        std::function<void()> progressHide;
    };

    // Must be created on the GUI thread.
    explicit QtHost(QObject* parent = nullptr);
    ~QtHost() override;

    void SetReceivers(Receivers receivers) { receivers_ = std::move(receivers); }
    // The window message boxes are centred on.
    void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }
    // Not interactive (screenshots, tests): message boxes are written to standard error and
    // answered cautiously instead of waiting for a click.
    void SetInteractive(bool interactive) { interactive_ = interactive; }
    // While false (start-up), boxes asked for on the GUI thread are shown without waiting
    // as well, and the caller gets the cautious answer: the main window stays usable.
    void SetBoxesWait(bool wait) { boxesWait_ = wait; }
    bool interactive() const { return interactive_; }
    SoundPlayer& sounds() { return *sounds_; }

    void Post(ThreadMessage message, std::string text = {}) override;
    void ShowNotice(std::string_view text) override;
    void ReportError(std::string_view text) override;
    MessageBoxResult MessageBox(std::string_view text, MessageBoxIcon icon,
                                MessageBoxButtons buttons = MessageBoxButtons::kOk,
                                std::string_view title = {}) override;
    void StationChanged(const std::string& call) override;
    void MessageChanged(uint64_t messageKey) override;
    void ShowProgress(std::string_view text) override;
    void SetProgress(int percent) override;
    void HideProgress() override;
    void PlaySound(const std::string& path) override;

    bool OnGuiThread() const;

  private:
    static constexpr size_t kMessageKinds = 4;
    struct PostSlot {
        bool pending = false;
        std::string text;
    };
    struct ProgressState {
        bool pending = false;
        bool showChanged = false;
        bool visible = false;
        QString text;
        int percent = -1;
    };

    // Changed stations (by call) or messages (by key) waiting for their delivery, each once,
    // in the order they changed; past kMaxPendingChanges they are delivered as "all".
    template <typename Key>
    struct PendingChanges {
        std::unordered_set<Key> set;
        std::vector<Key> keys;
        bool all = false;

        void Add(const Key& key) {
            if (all || !set.insert(key).second)
                return;
            keys.push_back(key);
            if (keys.size() > kMaxPendingChanges) {
                all = true;
                keys.clear();
                set.clear();
            }
        }
        // Hands the keys over and starts afresh; returns `all`.
        bool Take(std::vector<Key>& out) {
            out.swap(keys);
            set.clear();
            return std::exchange(all, false);
        }
    };

    // From any thread: runs `gather` under the lock, then queues `deliver` to the GUI thread
    // unless `queued` says a delivery is already on its way.
    template <typename Gather, typename Deliver>
    void GatherAndQueue(bool& queued, Gather gather, Deliver deliver);
    static size_t SlotIndex(ThreadMessage message);
    void DeliverPost(ThreadMessage message);
    void DeliverStations();
    void DeliverMessages();
    void DeliverNotice();
    void DeliverProgress();
    void DeliverSounds();
    QMessageBox* MakeBox(const QString& text, MessageBoxIcon icon, MessageBoxButtons buttons,
                         const QString& title) const;
    void PrintBox(const QString& text) const;
    // Shows a box without waiting for it, from any thread; one per text at a time.
    void QueueNonModalBox(std::string key, const QString& shownText, MessageBoxIcon icon,
                          MessageBoxButtons buttons, const QString& shownTitle);
    void QueueProgressLocked();

    Receivers receivers_;
    QPointer<QWidget> dialogParent_;
    bool interactive_ = true;
    bool boxesWait_ = true;
    SoundPlayer* sounds_;  // child

    std::mutex mutex_;  // guards everything below
    std::array<PostSlot, kMessageKinds> posts_;
    PendingChanges<std::string> stationChanges_;
    bool stationsQueued_ = false;
    PendingChanges<uint64_t> messageChanges_;
    bool messagesQueued_ = false;
    bool noticeQueued_ = false;
    std::string notice_;
    ProgressState progress_;
    std::set<std::string> soundPaths_;
    bool soundsQueued_ = false;
    std::set<std::string> boxesShown_;  // texts of boxes from other threads still open
};

}  // namespace plovane
