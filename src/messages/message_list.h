// SPDX-License-Identifier: GPL-3.0-or-later
// The one message store: every message, bulletin, announcement and query received or sent.
// It matches incoming acks to the messages the user sent, acks messages addressed to the own
// station, answers them automatically when asked to, and sends the user's unacknowledged
// messages again whenever the scheduler's message slot comes due.
//
// Thread-safe: every operation takes the store lock; received messages arrive on the one
// intake thread, the windows and the output thread read and send. The lock guards the records'
// fields as well as the list, and the look-up-then-add of a received message runs under one lock,
// so the same message arriving from the TNC and the network at once is stored once. Readers get
// copies. Lock order: this store, then a port queue (QueueText is called under the lock); nothing
// else is taken under it. The own call is read from the station store before the lock is
// taken. Host notifications (MessageChanged, sounds), the scheduler's ArmMessageSlot and the
// view redraw are made after the lock is released.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/clock.h"
#include "core/open_index.h"
#include "core/output_port.h"
#include "core/sinks.h"
#include "core/station_settings.h"
#include "core/station_source.h"
#include "core/transmit_control.h"
#include "messages/message.h"

namespace plovane {

// Gives the own station record's call (the application wires it to CStationList::OwnCall).
// Called from any thread, never while the message store's lock is held.
using OwnCallSource = std::function<std::string()>;

// The "NewMessage" and "NewAck" alerts.
struct MessageSoundSettings {
    bool newMessageEnabled = false;
    std::string newMessageFile;
    bool newAckEnabled = false;
    std::string newAckFile;
};

class CMessageList final : public PendingSender {
  public:
    static constexpr int32_t kMaxAcks = 5;          // acks sent for one received message
    static constexpr int32_t kAcksAfterRepeat = 3;  // a repetition earns two more acks
    // The store never holds more than this, even with the message limit off, so a flood of
    // distinct messages cannot exhaust memory.
    static constexpr size_t kMaxMessages = 100000;
    static constexpr int64_t kQueryIntervalMs = 60 * 1000;
    static constexpr int64_t kGeneralQueryIntervalMs = 5 * 60 * 1000;

    // The settings are copied (see ApplySettings). An empty ownCall leaves the store
    // unconnected: received messages are dropped and nothing is sent.
    CMessageList(const CStationSettings& settings, const Clock& clock, ChangeSink& changes,
                 SoundSink& sounds, OwnCallSource ownCall);
    ~CMessageList() override;
    CMessageList(const CMessageList&) = delete;
    CMessageList& operator=(const CMessageList&) = delete;

    // --- Wiring (usually once at start-up; each waits for the lock without a time limit) ---
    // Either port may be null; a port that is null or not open is skipped.
    void SetPorts(OutputPort* tnc, OutputPort* network);
    // Re-arms the message slot after a message to us or from us; may stay null (headless
    // decoding), then nothing is re-armed.
    void SetTransmitControl(TransmitControl* control);
    // Called when a numbered message to the own call arrived, so the main window redraws its
    // view and the map shows the message-waiting indicator (see MessageWaiting). It runs on
    // the thread that decoded the message, outside the lock: it should only post the redraw.
    void SetViewRedraw(std::function<void()> redraw);
    // Whether the calling thread is restoring records from the station log (a replay running
    // beside live traffic): a message to us it adds earns no further acks, under the same lock
    // that adds it, so the message slot on another thread cannot ack it again. Set it before
    // any thread decodes.
    void SetRestoring(std::function<bool()> restoring) { restoring_ = std::move(restoring); }
    bool SetSounds(const MessageSoundSettings& sounds);
    // Settings are written on the user-interface thread while the store works on others, so
    // the store keeps its own copy (MyCall, destination, AutoReply, AutoReplyText,
    // bMyMessagesOnly, bLimitMessages, LimitMessages), replaced here under its lock. Call it
    // after every load of the settings; ApplyLimit then cuts the list down.
    bool ApplySettings(const CStationSettings& settings);
    // Removes the oldest messages until the message limit holds.
    void ApplyLimit();

    // --- Traffic ---
    // A decoded message, ack or query: the sender, the addressee without blanks, the text
    // as received and the header it came with ("W1AW>APRS,WIDE1-1*", for "?APRST").
    // Queries addressed to us are answered (each sender and query at most once a minute);
    // a general "?APRS?" re-arms our position at most once in kGeneralQueryInterval.
    void ReceiveMessage(std::string_view from, std::string_view to, std::string_view text,
                        std::string_view route = {});
    // Sends every due own message (only those to `addresseeFilter` when it is not empty,
    // compared without regard to case) and, without a filter, every due ack once, on the air
    // (a received message is acked once over every port as it arrives).
    void SendPending(std::string_view addresseeFilter) override;
    // The store's half of the send-message dialog: stores a new own message to the addressee
    // with the next message number, re-arms the message slot and sends at once. Returns the
    // new record's key, or 0 when nothing was stored. Only the new message goes out.
    uint64_t SendNewMessage(std::string_view addressee, std::string_view text);

    // --- Replay of the station log (nothing is sent) ---
    // One of our own messages, sent at the clock's time, comes back: stored as SendNewMessage
    // stores it, its count raised by one, and held (until Resend) under the lock that adds it,
    // so the message slot never sends it again. New numbers continue after the restored one.
    void RestoreSentMessage(std::string_view to, std::string_view number, std::string_view text);
    // The records from key `firstKey` on were restored: our messages not acked are held, and
    // messages to us get no further acks (a repeat received later still earns them).
    void HoldRestored(uint64_t firstKey);
    // The key the next record will get.
    uint64_t NextKey() const;

    // The first message from `from` to `to` with that number, or, when both numbers are
    // empty, with that text. Comparisons are exact.
    std::optional<CMessage> FindMessage(std::string_view from, std::string_view to,
                                        std::string_view number, std::string_view text) const;
    // Stores a message (an existing one when it is a numbered duplicate) and returns a copy.
    // A message from the own call is the user's own and always stored; others are refused
    // under bMyMessagesOnly unless addressed to MyCall.
    std::optional<CMessage> AddMessage(std::string_view from, std::string_view to,
                                       std::string_view number, std::string_view text);

    // Identifiers: the current value; with advance the counter moves on afterwards.
    // Numbers run 1..99999, bulletins "BLN1".."BLN9", announcements "BLNA".."BLNZ", each
    // wrapping to its start; every run starts afresh.
    std::string NextMessageNumber(bool advance);
    std::string NextBulletinId(bool advance);
    std::string NextAnnouncementId(bool advance);

    // --- Windows (user-interface thread) ---
    std::vector<CMessage> Snapshot() const;  // oldest first
    std::optional<CMessage> Find(uint64_t key) const;
    size_t Count() const;
    // Each raises MessageChanged(key) and returns false when the key is not stored. After
    // Delete the key is no longer found, which tells the windows to drop its row (records
    // removed by the limit are announced the same way).
    bool Delete(uint64_t key);
    bool Stop(uint64_t key);    // acked := true: no longer sent
    bool Resend(uint64_t key);  // acked := false, count := 0: sent at the slot's next firing

    // Set when a numbered message to the own call arrives; the map draws it until the
    // message list window clears it.
    bool MessageWaiting() const { return messageWaiting_.load(); }
    void ClearMessageWaiting() { messageWaiting_.store(false); }

  private:
    using Lock = std::unique_lock<std::mutex>;
    // What a locked section leaves to be done once the lock is released.
    struct Effects {
        std::vector<uint64_t> changed;
        std::vector<std::string> sounds;
        TransmitControl* armMessageSlot = nullptr;  // set: re-arm the message slot
        std::function<void()> redraw;               // set: redraw the main view
        std::vector<QueryAnswer> answers;           // queries to answer through...
        TransmitControl* transmit = nullptr;        // ...this scheduler
    };

    Lock TakeLock() const;
    void Deliver(const Effects& effects);
    // Runs change(iterator) on the record with `key` under the lock, then announces the key;
    // false when the key is not found.
    template <typename Change>
    bool ChangeByKey(uint64_t key, Change&& change);

    // The helpers below run with the lock held.
    CMessage* AddLocked(std::string_view ownCall, CDateTime now, std::string_view from,
                        std::string_view to, std::string_view number, std::string_view text,
                        Effects& effects);
    // The most records kept: the message limit, or kMaxMessages when it is off.
    size_t LimitLocked() const;
    void TrimToLimitLocked(Effects& effects);
    // Removes the oldest records until `count` are left; with keepNode the last one removed
    // (from the index and the windows' view) stays in the list, moved to its end for reuse.
    void TrimLocked(size_t count, Effects& effects, bool keepNode = false);
    // One firing: every due own message (to `filter` when it is not empty) and, when there is
    // no filter, every due ack once, on the air only (one per received copy goes out at once
    // over both, and the network is a reliable link).
    void SendPendingLocked(std::string_view ownCall, std::string_view filter, Effects& effects);
    enum class Route { kBoth, kAirOnly };
    bool TransmitLocked(const std::string& packet, Route route = Route::kBoth);
    // Our message `number` to `peer` was acked (or rejected) by it.
    void AnswerOwnLocked(std::string_view ownCall, std::string_view from, std::string_view to,
                         std::string_view number, bool rejected, Effects& effects);
    // A received text message (not an ack): the automatic reply, our ack, the alerts.
    void ReceiveTextLocked(std::string_view ownCall, std::string_view from, bool toUs, bool isNew,
                           CMessage& message, Effects& effects);
    // Answers `text` when it is a query (it is stored as a message all the same).
    void AnswerQueryLocked(std::string_view ownCall, std::string_view from, std::string_view text,
                           std::string_view route, Effects& effects);
    // The reply-ack field to send `peer`, or null when it does not use reply-acks.
    const std::string* ReplyAckFor(std::string_view peer) const;

    const Clock& clock_;
    ChangeSink& changes_;
    SoundSink& soundSink_;
    const OwnCallSource ownCall_;
    std::function<bool()> restoring_;  // set before any thread decodes

    mutable std::mutex mutex_;
    // Guarded by mutex_:
    CStationSettings settings_;
    MessageSoundSettings sounds_;
    OutputPort* tnc_ = nullptr;
    OutputPort* network_ = nullptr;
    TransmitControl* transmit_ = nullptr;
    std::function<void()> redraw_;
    std::list<CMessage> messages_;  // oldest first, so in ascending key order
    OpenIndex<CMessage> index_;     // every record of messages_, by its match key
    uint64_t nextKey_ = 1;
    // Stations that sent us reply-ack numbers: call -> the last number they sent us.
    std::unordered_map<std::string, std::string> replyAckPeers_;
    // Last answer to each sender's query ("W1AW ?APRSP") and to a general query, TickMs.
    std::unordered_map<std::string, int64_t> queryAnswered_;
    std::optional<int64_t> generalQueryAnswered_;

    std::atomic<bool> messageWaiting_{false};

    // The identifier counters have their own small lock, never held with mutex_.
    std::mutex countersMutex_;
    int32_t nextNumber_ = 1;
    char nextBulletin_ = '1';
    char nextAnnouncement_ = 'A';
};

}  // namespace plovane
