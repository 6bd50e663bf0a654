// SPDX-License-Identifier: GPL-3.0-or-later
// The message store: receiving, acking, automatic replies, retries and the windows' access.
#include "messages/message_list.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "core/latin1.h"
#include "core/version.h"
#include "messages/message_text.h"

namespace plovane {

namespace {

constexpr std::string_view kAutoReplyPrefix = "AUTO-REPLY:";
constexpr int32_t kLastMessageNumber = 99999;
// More distinct senders than this and the reply-ack and query memories start afresh.
constexpr size_t kMaxRemembered = 10000;

// The match key of the index: equal sender, addressee and number, and, when the number is
// empty, equal text. Numbered messages match on the number alone, so the text stays out of
// their hash.
size_t Mix(size_t seed, std::string_view part) {
    // boost::hash_combine's step.
    return seed ^ (std::hash<std::string_view>{}(part) + 0x9e3779b97f4a7c15ULL + (seed << 6) +
                   (seed >> 2));
}

size_t KeyHash(std::string_view from, std::string_view to, std::string_view number,
               std::string_view text) {
    const size_t hash = Mix(Mix(Mix(0, from), to), number);
    return number.empty() ? Mix(hash, text) : hash;
}

size_t KeyHash(const CMessage& m) {
    return KeyHash(m.from, m.to, m.number, m.text);
}

// Of several matches (numberless messages stored twice) the oldest, as a scan of the list
// would find it.
CMessage* FindByKey(const OpenIndex<CMessage>& index, std::string_view from, std::string_view to,
                    std::string_view number, std::string_view text) {
    CMessage* first = nullptr;
    index.ForEach(KeyHash(from, to, number, text), [&](CMessage& m) {
        if ((first == nullptr || m.key < first->key) && m.from == from && m.to == to &&
            m.number == number && (!number.empty() || m.text == text)) {
            first = &m;
        }
    });
    return first;
}

using latin1::EqualsNoCase;
using latin1::StartsWithNoCase;

// An empty own call (no own record yet) matches nothing, not the empty addressee of a query.
bool IsOwnCall(std::string_view ownCall, std::string_view call) {
    return !ownCall.empty() && call == ownCall;
}

template <typename List>
auto FindKeyIn(List& messages, uint64_t key) {
    return std::find_if(messages.begin(), messages.end(),
                        [key](const CMessage& m) { return m.key == key; });
}

}  // namespace

CMessageList::CMessageList(const CStationSettings& settings, const Clock& clock,
                           ChangeSink& changes, SoundSink& sounds, OwnCallSource ownCall)
    : clock_(clock),
      changes_(changes),
      soundSink_(sounds),
      ownCall_(std::move(ownCall)),
      settings_(settings) {}

CMessageList::~CMessageList() = default;

CMessageList::Lock CMessageList::TakeLock() const {
    return Lock(mutex_);
}

void CMessageList::Deliver(const Effects& effects) {
    for (const std::string& file : effects.sounds)
        soundSink_.PlaySound(file);
    for (const uint64_t key : effects.changed)
        changes_.MessageChanged(key);
    if (effects.armMessageSlot != nullptr)
        effects.armMessageSlot->ArmMessageSlot();
    if (effects.transmit != nullptr) {
        for (const QueryAnswer answer : effects.answers)
            effects.transmit->AnswerQuery(answer);
    }
    if (effects.redraw)
        effects.redraw();
}

void CMessageList::SetPorts(OutputPort* tnc, OutputPort* network) {
    std::lock_guard lock(mutex_);
    tnc_ = tnc;
    network_ = network;
}

void CMessageList::SetTransmitControl(TransmitControl* control) {
    std::lock_guard lock(mutex_);
    transmit_ = control;
}

void CMessageList::SetViewRedraw(std::function<void()> redraw) {
    std::lock_guard lock(mutex_);
    redraw_ = std::move(redraw);
}

bool CMessageList::SetSounds(const MessageSoundSettings& sounds) {
    Lock lock = TakeLock();
    sounds_ = sounds;
    return true;
}

bool CMessageList::ApplySettings(const CStationSettings& settings) {
    Lock lock = TakeLock();
    settings_ = settings;
    return true;
}

void CMessageList::ApplyLimit() {
    Effects effects;
    {
        Lock lock = TakeLock();
        TrimToLimitLocked(effects);
    }
    Deliver(effects);
}

CMessage* CMessageList::AddLocked(std::string_view ownCall, CDateTime now, std::string_view from,
                                  std::string_view to, std::string_view number,
                                  std::string_view text, Effects& effects) {
    if (settings_.bMyMessagesOnly && !IsOwnCall(ownCall, from) &&
        !EqualsNoCase(to, settings_.MyCall)) {
        return nullptr;
    }
    if (!number.empty()) {
        if (CMessage* existing = FindByKey(index_, from, to, number, text))
            return existing;
    }
    // A full store drops its oldest record to make room and reuses its node (and the
    // storage of its texts) for the new one.
    const size_t limit = LimitLocked();
    TrimLocked(limit, effects);
    CMessage* added = nullptr;
    if (messages_.size() == limit) {
        TrimLocked(limit - 1, effects, /*keepNode=*/true);
        added = &messages_.back();
        added->acked = false;
        added->count = 0;
        added->ackCount = 0;
        added->held = false;
        added->restored = false;
    } else {
        added = &messages_.emplace_back();
    }
    added->key = nextKey_++;
    added->time = now;
    added->from.assign(from);
    added->to.assign(to);
    added->number.assign(number);
    added->text.assign(text);
    index_.Insert(added, KeyHash(*added));
    return added;
}

size_t CMessageList::LimitLocked() const {
    if (!settings_.bLimitMessages)
        return kMaxMessages;
    return std::min(kMaxMessages,
                    static_cast<size_t>(std::max<int32_t>(1, settings_.LimitMessages)));
}

void CMessageList::TrimToLimitLocked(Effects& effects) {
    TrimLocked(LimitLocked(), effects);
}

void CMessageList::TrimLocked(size_t count, Effects& effects, bool keepNode) {
    while (messages_.size() > count) {
        CMessage& oldest = messages_.front();
        effects.changed.push_back(oldest.key);
        index_.Erase(&oldest, KeyHash(oldest));
        if (keepNode) {
            messages_.splice(messages_.end(), messages_, messages_.begin());
            return;
        }
        messages_.pop_front();
    }
}

bool CMessageList::TransmitLocked(const std::string& packet, Route route) {
    bool sent = false;
    // A port still connecting holds the packet for its connection.
    if (tnc_ != nullptr && tnc_->TakesText()) {
        // The TNC adds source, destination and path itself.
        tnc_->QueueText(packet);
        sent = true;
    }
    if (route == Route::kBoth && network_ != nullptr && network_->TakesText()) {
        network_->QueueText(NetworkHeader(settings_.MyCall, settings_.destination) + packet);
        sent = true;
    }
    return sent;
}

void CMessageList::SendPendingLocked(std::string_view ownCall, std::string_view filter,
                                     Effects& effects) {
    if (!settings_.IsConfigured())
        return;
    for (CMessage& m : messages_) {
        // A message from us to ourselves is acked rather than sent again.
        const bool ackDue = filter.empty() && IsOwnCall(ownCall, m.to) && !m.number.empty() &&
                            m.ackCount < kMaxAcks;
        const bool messageDue = !ackDue && IsOwnCall(ownCall, m.from) && !m.acked && !m.held &&
                                (filter.empty() || EqualsNoCase(m.to, filter));
        if (!ackDue && !messageDue)
            continue;
        const std::string* replyAck = ReplyAckFor(ackDue ? m.from : m.to);
        if (!TransmitLocked(
                ackDue ? m.AckPacketText(replyAck != nullptr) : m.MessagePacketText(replyAck),
                ackDue ? Route::kAirOnly : Route::kBoth)) {
            continue;
        }
        ++(ackDue ? m.ackCount : m.count);
        effects.changed.push_back(m.key);
    }
}

const std::string* CMessageList::ReplyAckFor(std::string_view peer) const {
    const auto found = replyAckPeers_.find(std::string(peer));
    return found == replyAckPeers_.end() ? nullptr : &found->second;
}

void CMessageList::AnswerOwnLocked(std::string_view ownCall, std::string_view from,
                                   std::string_view to, std::string_view number, bool rejected,
                                   Effects& effects) {
    // e.g. ":N0CALL   :ack12" from B answers our message 12 to B.
    CMessage* own = FindByKey(index_, to, from, number, {});
    if (own == nullptr)
        return;
    if (IsOwnCall(ownCall, to) && !own->acked && !rejected && sounds_.newAckEnabled)
        effects.sounds.push_back(sounds_.newAckFile);
    own->acked = true;
    own->rejected = own->rejected || rejected;
    effects.changed.push_back(own->key);
}

void CMessageList::AnswerQueryLocked(std::string_view ownCall, std::string_view from,
                                     std::string_view text, std::string_view route,
                                     Effects& effects) {
    if (!text.starts_with('?'))
        return;
    const std::string_view query = text.substr(0, text.find(' '));
    const bool position = query == "?APRSP" || query == "?APRS?";
    const bool status = query == "?APRSS";
    const bool trace = query == "?APRST" || query == "?PING?";
    const bool version = query == "?VER";
    if (!position && !status && !trace && !version)
        return;
    if (!settings_.IsConfigured())
        return;
    // One answer per sender and query a minute: a looping or hostile station cannot make
    // us flood the channel.
    if (queryAnswered_.size() > kMaxRemembered)
        queryAnswered_.clear();
    const int64_t nowMs = clock_.TickMs();
    std::string key(from);
    key.append(" ").append(query);
    const auto [last, fresh] = queryAnswered_.try_emplace(std::move(key), nowMs);
    if (!fresh && nowMs - last->second < kQueryIntervalMs)
        return;
    last->second = nowMs;

    CMessage reply;
    reply.from = ownCall;
    reply.to = from;
    if (position || status) {
        effects.answers.push_back(position ? QueryAnswer::kPosition : QueryAnswer::kStatus);
    } else if (trace) {
        // The route the query took to us, e.g. "W1AW>APRS,WIDE1-1*,DIGI".
        reply.text = route.empty() ? std::string(from) : std::string(route);
        TransmitLocked(reply.MessagePacketText());
    } else {
        reply.text = std::string(kProgramName) + " " + kVersionText;
        TransmitLocked(reply.MessagePacketText());
    }
}

void CMessageList::ReceiveMessage(std::string_view from, std::string_view to, std::string_view text,
                                  std::string_view route) {
    if (!ownCall_)
        return;
    const std::string ownCall = ownCall_();
    const CDateTime now = clock_.Now();
    const bool restoring = restoring_ && restoring_();
    Effects effects;
    {
        Lock lock = TakeLock();

        const MessageText parsed = ParseMessageText(text);
        const bool toUs = IsOwnCall(ownCall, to);
        if (toUs && parsed.replyAckForm) {
            // The sender understands reply-acks: ours to it take that form from now on.
            if (replyAckPeers_.size() > kMaxRemembered)
                replyAckPeers_.clear();
            std::string& last = replyAckPeers_[std::string(from)];
            if (parsed.kind == MessageKind::kText)
                last.assign(parsed.number);
        }
        // "{MM}AA" and "ackMM}AA" carry an ack of our number AA in passing.
        if (!parsed.replyAck.empty())
            AnswerOwnLocked(ownCall, from, to, parsed.replyAck, false, effects);

        if (parsed.kind != MessageKind::kText) {
            AnswerOwnLocked(ownCall, from, to, parsed.number, parsed.kind == MessageKind::kReject,
                            effects);
        } else if (to.empty() && parsed.body == "?APRS?") {
            // A general query from the air: our position after the slot's random delay, at
            // most once in a few minutes. It is kept in the list as before.
            const int64_t nowMs = clock_.TickMs();
            if (!generalQueryAnswered_ ||
                nowMs - *generalQueryAnswered_ >= kGeneralQueryIntervalMs) {
                generalQueryAnswered_ = nowMs;
                effects.answers.push_back(QueryAnswer::kPositionAfterDelay);
            }
        }
        if (toUs && parsed.kind == MessageKind::kText)
            AnswerQueryLocked(ownCall, from, parsed.body, route, effects);
        if (parsed.kind == MessageKind::kText) {
            // Look-up and add under one lock: the same packet arriving from the TNC and the
            // network at once is stored once.
            bool isNew = false;
            CMessage* message = FindByKey(index_, from, to, parsed.number, parsed.body);
            if (message == nullptr) {
                message = AddLocked(ownCall, now, from, to, parsed.number, parsed.body, effects);
                isNew = true;
            }
            if (message != nullptr) {
                ++message->count;
                message->replyAckForm = parsed.replyAckForm;
                message->replyAck.assign(parsed.replyAck);
                effects.changed.push_back(message->key);
                ReceiveTextLocked(ownCall, from, toUs, isNew, *message, effects);
                if (restoring && toUs)
                    message->ackCount = std::max(message->ackCount, kMaxAcks);
                if (restoring && isNew)
                    message->restored = true;
            }
        }
        if (!effects.answers.empty())
            effects.transmit = transmit_;
    }
    Deliver(effects);
}

void CMessageList::ReceiveTextLocked(std::string_view ownCall, std::string_view from, bool toUs,
                                     bool isNew, CMessage& message, Effects& effects) {
    // No automatic reply to an automatic reply: two stations answering each other's
    // replies would flood the channel for ever.
    if (toUs && settings_.AutoReply && settings_.IsConfigured() &&
        !StartsWithNoCase(message.text, kAutoReplyPrefix)) {
        CMessage reply;
        reply.from = ownCall;
        reply.to = from;
        reply.text = std::string(kAutoReplyPrefix) + " " + settings_.AutoReplyText;
        TransmitLocked(reply.MessagePacketText());
    }
    if (toUs && !message.number.empty()) {
        if (isNew && sounds_.newMessageEnabled)
            effects.sounds.push_back(sounds_.newMessageFile);
        messageWaiting_.store(true);
        if (message.ackCount >= kMaxAcks)
            message.ackCount = kAcksAfterRepeat;
        // This copy's ack, once, at once; the message slot repeats it on the air.
        const std::string* replyAck = ReplyAckFor(message.from);
        if (settings_.IsConfigured() && TransmitLocked(message.AckPacketText(replyAck != nullptr)))
            ++message.ackCount;
        effects.armMessageSlot = transmit_;
        effects.redraw = redraw_;
    }
}

void CMessageList::SendPending(std::string_view addresseeFilter) {
    if (!ownCall_)
        return;
    const std::string ownCall = ownCall_();
    Effects effects;
    {
        Lock lock = TakeLock();
        SendPendingLocked(ownCall, addresseeFilter, effects);
    }
    Deliver(effects);
}

uint64_t CMessageList::SendNewMessage(std::string_view addressee, std::string_view text) {
    if (!ownCall_)
        return 0;
    const std::string number = NextMessageNumber(true);
    const std::string ownCall = ownCall_();
    const CDateTime now = clock_.Now();
    Effects effects;
    uint64_t key = 0;
    {
        Lock lock = TakeLock();
        CMessage* added = AddLocked(ownCall, now, ownCall, addressee, number, text, effects);
        if (added == nullptr)
            return 0;
        key = added->key;
        effects.armMessageSlot = transmit_;
        // The new message alone: acks and retries wait for the message slot.
        if (settings_.IsConfigured() &&
            TransmitLocked(added->MessagePacketText(ReplyAckFor(added->to))))
            ++added->count;
        effects.changed.push_back(key);
    }
    Deliver(effects);
    return key;
}

std::optional<CMessage> CMessageList::FindMessage(std::string_view from, std::string_view to,
                                                  std::string_view number,
                                                  std::string_view text) const {
    Lock lock = TakeLock();
    const CMessage* found = FindByKey(index_, from, to, number, text);
    if (found == nullptr)
        return std::nullopt;
    return *found;
}

std::optional<CMessage> CMessageList::AddMessage(std::string_view from, std::string_view to,
                                                 std::string_view number, std::string_view text) {
    const std::string ownCall = ownCall_ ? ownCall_() : std::string();
    const CDateTime now = clock_.Now();
    Effects effects;
    std::optional<CMessage> result;
    {
        Lock lock = TakeLock();
        const CMessage* added = AddLocked(ownCall, now, from, to, number, text, effects);
        if (added != nullptr)
            result = *added;
    }
    Deliver(effects);
    return result;
}

void CMessageList::RestoreSentMessage(std::string_view to, std::string_view number,
                                      std::string_view text) {
    if (!ownCall_)
        return;
    const std::string ownCall = ownCall_();
    if (ownCall.empty())
        return;
    const CDateTime now = clock_.Now();
    Effects effects;
    {
        Lock lock = TakeLock();
        CMessage* message = AddLocked(ownCall, now, ownCall, to, number, text, effects);
        if (message == nullptr)
            return;
        ++message->count;
        message->held = !message->acked;
        message->restored = true;
        effects.changed.push_back(message->key);
    }
    // A new message must not reuse a restored number: the addressee would take it for a
    // repeat, and the store would find the old record instead of adding the new one.
    int32_t value = 0;
    for (const char c : number) {
        if (c < '0' || c > '9' || value > kLastMessageNumber)
            break;
        value = value * 10 + (c - '0');
    }
    if (value > 0 && value <= kLastMessageNumber) {
        std::lock_guard counters(countersMutex_);
        if (value >= nextNumber_)
            nextNumber_ = value >= kLastMessageNumber ? 1 : value + 1;
    }
    Deliver(effects);
}

void CMessageList::HoldRestored(uint64_t firstKey) {
    const std::string ownCall = ownCall_ ? ownCall_() : std::string();
    Lock lock = TakeLock();
    for (CMessage& m : messages_) {
        if (m.key < firstKey)
            continue;
        if (IsOwnCall(ownCall, m.from) && !m.acked)
            m.held = true;
        if (IsOwnCall(ownCall, m.to))
            m.ackCount = std::max(m.ackCount, kMaxAcks);
    }
}

uint64_t CMessageList::NextKey() const {
    Lock lock = TakeLock();
    return nextKey_;
}

std::string CMessageList::NextMessageNumber(bool advance) {
    std::lock_guard lock(countersMutex_);
    const std::string current = std::to_string(nextNumber_);
    if (advance)
        nextNumber_ = nextNumber_ >= kLastMessageNumber ? 1 : nextNumber_ + 1;
    return current;
}

std::string CMessageList::NextBulletinId(bool advance) {
    std::lock_guard lock(countersMutex_);
    const std::string current = std::string("BLN") + nextBulletin_;
    if (advance)
        nextBulletin_ = nextBulletin_ >= '9' ? '1' : static_cast<char>(nextBulletin_ + 1);
    return current;
}

std::string CMessageList::NextAnnouncementId(bool advance) {
    std::lock_guard lock(countersMutex_);
    const std::string current = std::string("BLN") + nextAnnouncement_;
    if (advance) {
        nextAnnouncement_ =
            nextAnnouncement_ >= 'Z' ? 'A' : static_cast<char>(nextAnnouncement_ + 1);
    }
    return current;
}

std::vector<CMessage> CMessageList::Snapshot() const {
    Lock lock = TakeLock();
    return {messages_.begin(), messages_.end()};
}

std::optional<CMessage> CMessageList::Find(uint64_t key) const {
    Lock lock = TakeLock();
    const auto found = FindKeyIn(messages_, key);
    if (found == messages_.end())
        return std::nullopt;
    return *found;
}

size_t CMessageList::Count() const {
    Lock lock = TakeLock();
    return lock ? messages_.size() : 0;
}

template <typename Change>
bool CMessageList::ChangeByKey(uint64_t key, Change&& change) {
    {
        Lock lock = TakeLock();
        const auto found = FindKeyIn(messages_, key);
        if (found == messages_.end())
            return false;
        change(found);
    }
    changes_.MessageChanged(key);
    return true;
}

bool CMessageList::Delete(uint64_t key) {
    return ChangeByKey(key, [this](std::list<CMessage>::iterator found) {
        index_.Erase(&*found, KeyHash(*found));
        messages_.erase(found);
    });
}

bool CMessageList::Stop(uint64_t key) {
    return ChangeByKey(key, [](std::list<CMessage>::iterator found) { found->acked = true; });
}

bool CMessageList::Resend(uint64_t key) {
    return ChangeByKey(key, [](std::list<CMessage>::iterator found) {
        found->acked = false;
        found->held = false;
        found->count = 0;
    });
}

}  // namespace plovane
