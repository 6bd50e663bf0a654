// SPDX-License-Identifier: GPL-3.0-or-later
// The replay gate, the logging output ports and the replay of the station log.
#include "app/log_replay.h"

#include "intake/packet_intake.h"
#include "messages/message_list.h"
#include "stations/station_list.h"

namespace plovane {
namespace {

// OLE date of 1 January 1970.
constexpr double kUnixEpochDays = 25569.0;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if ((text[i] | 0x20) != prefix[i])
            return false;
    }
    return true;
}

// Our own message as sent, e.g. "N0CALL>APQ102,TCPIP*::W1AAA    :Hello{12": stored again
// when it carries a number (acks, rejects and automatic replies carry none).
void RestoreSent(std::string_view line, CMessageList& messages) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return;
    const std::string_view info = line.substr(colon + 1);
    if (info.size() < 11 || info[0] != ':' || info[10] != ':')
        return;
    const std::string_view addressee = TrimBlanks(info.substr(1, 9));
    std::string_view body = info.substr(11);
    const size_t brace = body.rfind('{');
    if (addressee.empty() || brace == std::string_view::npos || body.size() - brace > 6)
        return;
    const std::string_view number = TrimBlanks(body.substr(brace + 1));
    body = TrimBlanks(body.substr(0, brace));
    if (number.empty() || StartsWithNoCase(body, "ack") || StartsWithNoCase(body, "rej"))
        return;
    messages.RestoreSentMessage(addressee, number, body);
}

}  // namespace

// --- ReplayGate ---

void ReplayGate::SetUtc(int64_t utcSeconds) {
    const CDateTime utc(kUnixEpochDays + static_cast<double>(utcSeconds) / 86400.0);
    replayNow_ = utc - CDateTimeSpan(0, 0, replayBias_, 0);
}

CDateTime ReplayGate::Now() const {
    return Replaying() ? replayNow_ : clock_.Now();
}

void ReplayGate::Post(ThreadMessage message, std::string text) {
    host_.Post(message, std::move(text));
}

void ReplayGate::ShowNotice(std::string_view text) {
    if (!Replaying())
        host_.ShowNotice(text);
}

void ReplayGate::PlaySound(const std::string& path) {
    if (!Replaying())
        host_.PlaySound(path);
}

// --- LoggedPort ---

bool LoggedPort::IsOpen() const {
    OutputPort* const port = port_.load();
    return port != nullptr && port->IsOpen();
}

bool LoggedPort::TakesText() const {
    OutputPort* const port = port_.load();
    return port != nullptr && port->TakesText();
}

void LoggedPort::QueueText(const std::string& text, int delayBeforeMs, int delayAfterMs) {
    OutputPort* const port = port_.load();
    if (port == nullptr || gate_.Replaying())
        return;
    if (CStationLog* const log = log_.load()) {
        if (source_ == "TNC") {
            log->Append(LogDirection::kSent, source_, log->TncHeader() + text);
        } else {
            log->Append(LogDirection::kSent, source_, text);
        }
    }
    port->QueueText(text, delayBeforeMs, delayAfterMs);
}

// --- Replay ---

LogReplayer::LogReplayer(ReplayGate& gate, CPacketIntake& decoder, CStationList& stations,
                         CMessageList& messages, int64_t seenUtc)
    : gate_(gate),
      decoder_(decoder),
      messages_(messages),
      seenUtc_(seenUtc),
      ownCall_(stations.OwnCall()),
      ownPrefix_(ownCall_ + ">"),
      firstKey_(messages.NextKey()) {
    gate_.Begin();
}

void LogReplayer::Replay(std::span<const LogRecord> records) {
    for (const LogRecord& record : records)
        ReplayOne(record);
}

void LogReplayer::Take(const HeardLine& line) {
    gate_.Enter();
    ReplayOne(LogRecord{line.logged.utcSeconds,
                        line.logged.sent ? LogDirection::kSent : LogDirection::kReceived,
                        line.logged.source, line.bytes});
    gate_.End();
}

void LogReplayer::ReplayOne(const LogRecord& record) {
    gate_.SetUtc(record.utcSeconds);
    if (record.direction == LogDirection::kSent) {
        const std::string_view info = record.line.substr(record.line.find(':') + 1);
        if (record.utcSeconds == lastSentAt_ && info == lastSent_)
            return;
        lastSent_.assign(info);
        lastSentAt_ = record.utcSeconds;
        RestoreSent(record.line, messages_);
        ++counts_.sent;
        return;
    }
    const std::string_view line = TrimBlanks(record.line);
    if (line.empty() || line[0] == '$' || (!ownCall_.empty() && line.starts_with(ownPrefix_)))
        return;
    tag_.assign(record.source);
    tag_ += '>';
    decoder_.DecodeLineAs(record.line, tag_, ownCall_);
    if (record.utcSeconds <= seenUtc_)
        messages_.ClearMessageWaiting();
    ++counts_.received;
}

ReplayCounts LogReplayer::Finish() {
    gate_.End();
    messages_.HoldRestored(firstKey_);
    return counts_;
}

ReplayCounts ReplayRecords(const LogReplaySet& set, ReplayGate& gate, CPacketIntake& decoder,
                           CStationList& stations, CMessageList& messages, int64_t seenUtc) {
    LogReplayer replayer(gate, decoder, stations, messages, seenUtc);
    replayer.Replay(set.records());
    return replayer.Finish();
}

std::string TncLogHeader(const std::string& myCall, const std::string& destination,
                         const std::string& path) {
    std::string header = myCall + ">" + destination;
    const std::string_view trimmed = TrimBlanks(path);
    if (!trimmed.empty()) {
        header += ',';
        header.append(trimmed);
    }
    return header + ":";
}

std::string ReplayNotice(const ReplayCounts& counts, const LogReplaySet& set) {
    std::string text =
        "Station log: " + std::to_string(counts.received + counts.sent) + " lines replayed";
    if (set.damaged() > 0)
        text += ", " + std::to_string(set.damaged()) + " damaged lines skipped";
    if (set.leftOutBytes() > 0) {
        text += ", " + std::to_string((set.leftOutBytes() + (1 << 20) - 1) >> 20) +
                " MiB of older lines left out (the log replays at most " +
                std::to_string(LogReplaySet::kMaxReadBytes >> 20) + " MiB)";
    }
    return text;
}

}  // namespace plovane
