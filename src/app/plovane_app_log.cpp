// SPDX-License-Identifier: GPL-3.0-or-later
// The application's station log: the replay at start, the writer and its settings, and
// File > Replay Log.... Kept apart from plovane_app.cpp, which only calls in at start,
// at shut-down and after the station setup.
#include <charconv>
#include <cmath>
#include <span>
#include <system_error>

#include "app/plovane_app.h"

namespace plovane {
namespace {

constexpr double kUnixEpochDays = 25569.0;  // OLE date of 1 January 1970

int64_t UtcSeconds(const Clock& clock) {
    return std::llround((clock.UtcNow().value() - kUnixEpochDays) * 86400.0);
}

// Whether the user had seen the messages when the station last stopped: the time it
// stopped (UTC seconds) and whether the message-waiting mark still stood.
constexpr const char* kSeenUtcKey = "LogSeenUtc";
constexpr const char* kWaitingKey = "LogMessageWaiting";

// Messages to us logged up to this time had been seen; none after a first start, or when
// the mark still stood at the last stop.
int64_t SeenUtc(const Profile& profile) {
    if (profile.GetInt("Station", kWaitingKey, 1) != 0)
        return INT64_MIN;
    const std::string text = profile.GetString("Station", kSeenUtcKey, "");
    int64_t seen = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seen);
    return error == std::errc() && end == text.data() + text.size() ? seen : INT64_MIN;
}

}  // namespace

void CPlovaneApp::StartStationLog(const std::filesystem::path& folder) {
    logSettings_.Load(profile_);
    logFolder_ = folder.empty() ? DefaultLogFolder() : folder;
    decoder_.SetLineObserver([this](std::string_view line, std::string_view tag) {
        CStationLog* const log = activeLog_.load();
        if (log == nullptr || gate_.Replaying())
            return;
        if (!tag.empty() && tag.back() == '>')
            tag.remove_suffix(1);
        log->Append(LogDirection::kReceived, tag, line);
    });
    if (!logSettings_.bStationLog || logFolder_.empty())
        return;
    const int64_t now = UtcSeconds(clock_);
    PurgeOldLogs(logFolder_, now, logSettings_.LogRetentionDays);
    if (logSettings_.LogReplayHours > 0) {
        // The stores need the own call and their settings before the replay.
        stations_.ApplySettings(stationSettings_, false);
        messages_.ApplySettings(stationSettings_);
        replaySinceUtc_ = now - int64_t{logSettings_.LogReplayHours} * 3600;
        replayUntilUtc_ = now;
        replaySeenUtc_ = SeenUtc(profile_.State());
    }
    ApplyLogSettings();
}

void CPlovaneApp::ApplyLogSettings() {
    logSettings_.Load(profile_);
    if (!logSettings_.bStationLog || logFolder_.empty()) {
        activeLog_ = nullptr;
        tncOut_.SetLog(nullptr);
        rfPorts_.SetLog(nullptr);
        netOut_.SetLog(nullptr);
        if (log_)
            log_->Flush();
        return;
    }
    if (!log_) {
        log_ = std::make_unique<CStationLog>(
            logFolder_, [this] { return UtcSeconds(clock_); },
            [this](const std::string& text) { host_.ShowNotice(text); },
            logSettings_.LogRetentionDays);
    }
    log_->SetRetentionDays(logSettings_.LogRetentionDays);
    log_->SetTncHeader(TncLogHeader(stationSettings_.MyCall, stationSettings_.destination,
                                    stationSettings_.UIDigiPath));
    log_->Start();
    activeLog_ = log_.get();
    tncOut_.SetLog(log_.get());
    rfPorts_.SetLog(log_.get());
    netOut_.SetLog(log_.get());
}

void CPlovaneApp::StopStationLog() {
    // The next start replays the messages seen by now without the message-waiting mark.
    Profile& state = profile_.State();
    state.WriteString("Station", kSeenUtcKey, std::to_string(UtcSeconds(clock_)));
    state.WriteInt("Station", kWaitingKey, messages_.MessageWaiting() ? 1 : 0);
    activeLog_ = nullptr;
    tncOut_.SetLog(nullptr);
    rfPorts_.SetLog(nullptr);
    netOut_.SetLog(nullptr);
    if (log_)
        log_->Close();
}

void CPlovaneApp::StartReplay() {
    if (replaySinceUtc_ == INT64_MIN)
        return;
    const auto read = [this](LogReplaySet& set) {
        set.AddFolder(logFolder_, replaySinceUtc_);
        return true;
    };
    const auto run = [this, read](std::stop_token stop) {
        RunReplay(read, replaySeenUtc_, replayUntilUtc_, true, stop);
    };
    if (!intake_.running()) {
        run({});
        return;
    }
    try {
        replayThread_ = std::jthread(run);
    } catch (const std::system_error&) {
        run({});
    }
}

void CPlovaneApp::WaitForReplay() {
    if (replayThread_.joinable())
        replayThread_.join();
}

CPlovaneApp::ReplayResult CPlovaneApp::RunReplay(const std::function<bool(LogReplaySet&)>& read,
                                                 int64_t seenUtc, int64_t untilUtc, bool quiet,
                                                 std::stop_token stop) {
    LogReplaySet set;
    set.StopWhen(stop);
    LogReplayer replayer(gate_, decoder_, stations_, messages_, seenUtc);
    const bool onRoad = intake_.running();
    // Read by the streaming callback while `read` runs below, so they live as long as it.
    int bias = 0;
    bool going = true;
    if (onRoad) {
        // Streamed: memory stays at a few chunks of the files however long the window; the
        // queue keeps the replay a bounded way ahead of the decoding.
        gate_.End();  // read the bias; the intake thread enters the replay line by line
        replaying_.store(&replayer);
        bias = clock_.BiasMinutes();
        set.StreamTo([&](std::span<const LogRecord> records) {
            for (const LogRecord& record : records) {
                // A quit stops here even while the queue has room.
                going = going && !stop.stop_requested();
                if (!going || record.utcSeconds > untilUtc)
                    continue;
                const CDateTime utc(kUnixEpochDays +
                                    static_cast<double>(record.utcSeconds) / 86400.0);
                going = lines_.Push(
                    HeardLine{{0, LineKind::kReplay},
                              utc - CDateTimeSpan(0, 0, bias, 0),
                              std::string(record.line),
                              {record.utcSeconds, record.direction == LogDirection::kSent,
                               std::string(record.source)}},
                    stop);
            }
        });
    } else {
        set.StreamTo([&](std::span<const LogRecord> records) { replayer.Replay(records); });
    }
    const bool readable = read(set);
    if (onRoad) {
        intake_.Flush();
        replaying_.store(nullptr);
    }
    const ReplayCounts counts = replayer.Finish();
    if (!readable)
        return {};
    ReplayResult result{static_cast<long>(counts.received + counts.sent), {}};
    if (!stop.stop_requested() &&
        (!quiet || set.count() > 0 || set.damaged() > 0 || set.leftOutBytes() > 0)) {
        result.notice = ReplayNotice(counts, set);
        host_.ShowNotice(result.notice);
    }
    return result;
}

bool CPlovaneApp::StartLogReplay(const std::filesystem::path& path, ReplayDone done) {
    if (replayingFile_.exchange(true))
        return false;
    const auto run = [this, path, done = std::move(done)](std::stop_token stop,
                                                          std::jthread before) {
        {
            // A quit stops the replay this one waits for as well.
            std::stop_callback pass(
                stop, [source = before.get_stop_source()]() mutable { source.request_stop(); });
            if (before.joinable())
                before.join();
        }
        const ReplayResult result =
            RunReplay([&path](LogReplaySet& set) { return set.AddFile(path); }, INT64_MIN,
                      INT64_MAX, false, stop);
        replayingFile_.store(false);
        if (!stop.stop_requested() && done)
            done(result.lines, result.notice);
    };
    try {
        replayThread_ = std::jthread(run, std::move(replayThread_));
    } catch (const std::system_error&) {
        // No thread to be had: replayed here while the window waits (the earlier replay
        // was stopped and waited for as its thread was given up).
        run({}, {});
    }
    return true;
}

long CPlovaneApp::ReplayLogFile(const std::filesystem::path& path) {
    long lines = -1;
    if (!StartLogReplay(path, [&lines](long replayed, const std::string&) { lines = replayed; }))
        return -1;
    WaitForReplay();
    if (lines >= 0 && views_)
        views_->UpdateViews();
    return lines;
}

}  // namespace plovane
