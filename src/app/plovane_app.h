// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: owns every long-lived part of the program (stores, decoder,
// scheduler, ports), starts them in order, handles the thread messages and the 25-second
// timer, plays simulation files and shuts down in order. Windows are not made here: the GUI
// and the headless station each wrap this core with their own host and views.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "app/file_search.h"
#include "app/log_replay.h"
#include "app/relay_station.h"
#include "app/rf_ports.h"
#include "app/sound_settings.h"
#include "comm/gps_port.h"
#include "comm/gpsd_port.h"
#include "comm/kiss_port.h"
#include "comm/net_manager.h"
#include "comm/net_settings.h"
#include "comm/tnc_port.h"
#include "core/app_host.h"
#include "core/clock.h"
#include "core/line_queue.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "history/history_settings.h"
#include "history/history_store.h"
#include "history/history_writer.h"
#include "intake/intake_thread.h"
#include "intake/packet_intake.h"
#include "messages/message_list.h"
#include "stations/station_list.h"
#include "transmit/output_scheduler.h"

namespace plovane {

// What the views of a window system do when the core asks; the headless station has none.
class AppViews {
  public:
    virtual ~AppViews() = default;
    // Every view updates itself (a port changed state, a simulation ended).
    virtual void UpdateViews() = 0;
    // Every map view redraws, completely when `full`.
    virtual void RefreshViews(bool full) = 0;
    // The 25-second tick: redraw stations, or everything when the redraw interval passed.
    virtual void TimerTick() = 0;
    // Rebuild the Map > Open menu from the map list.
    virtual void MapListChanged() = 0;
};

struct AppStartOptions {
    // Folders searched for TNC command files and maps (the bundled data folder, the user's
    // data folder and any folders the user named).
    std::vector<std::filesystem::path> searchFolders;
    // Reports search progress (the splash window's status line); may be empty.
    SearchStatus status;
    // The station log's folder; empty: plovane/log under the XDG data folder.
    std::filesystem::path logFolder;
    // The history database; empty: plovane/history.sqlite under the XDG data folder.
    std::filesystem::path historyPath;
};

// Thread-compatible: everything here runs on the user-interface thread; the stores and ports
// it owns are thread-safe themselves.
class CPlovaneApp {
  public:
    static constexpr int kTimerPeriodMs = 25000;

    CPlovaneApp(Profile& profile, AppHost& host, const Clock& clock);
    ~CPlovaneApp();
    CPlovaneApp(const CPlovaneApp&) = delete;
    CPlovaneApp& operator=(const CPlovaneApp&) = delete;

    void SetViews(AppViews* views) { views_ = views; }

    // The start-up sequence (without windows). False ends the program.
    bool Start(const AppStartOptions& options);
    // Closes the ports in order and stops the output thread. Safe to call twice.
    void Shutdown();

    // A message posted by a worker thread, handled on the user-interface thread.
    void OnThreadMessage(ThreadMessage message, const std::string& text);
    // The application timer, every kTimerPeriodMs.
    void OnTimer();

    // Puts every line of a simulation file on the road (tag "FILE>") and waits until they
    // are applied; the number of lines, or -1 when the file cannot be read.
    long PlaySimulation(const std::filesystem::path& path);

    // The end of a replay of a file: the number of lines, or -1 when the file cannot be read,
    // and the notice that says so.
    using ReplayDone = std::function<void(long lines, const std::string& notice)>;
    // File > Replay Log...: plays one day file of the station log into the stores as at
    // start (the stamps as times, nothing sent, not logged again) on the replay thread,
    // after the start-up replay if that still runs; returns at once. `done` runs on the
    // replay thread when the replay ended, not when the shut-down stopped it. False, and
    // nothing started, while the replay of a file runs.
    bool StartLogReplay(const std::filesystem::path& path, ReplayDone done);
    // A replay started by StartLogReplay has not ended yet.
    bool ReplayingFile() const { return replayingFile_.load(); }
    // The same, waiting for it: the number of lines, or -1 (the file cannot be read, or
    // another replay of a file runs).
    long ReplayLogFile(const std::filesystem::path& path);
    // The station log's replays run behind the window; this waits until every one ended.
    void WaitForReplay();
    // The history database is brought up to date from the log behind the window; this waits
    // until it was and the writer runs.
    void WaitForHistory();
    // The history database the station fills (the graphs and the History window read it).
    const std::filesystem::path& historyPath() const { return historyPath_; }
    // Null while the history is off or not yet up to date.
    HistoryWriter* historyWriter() { return historyWriter_.get(); }

    // Searches the folders again for maps and rebuilds the list.
    void RefreshMapList(const std::vector<std::filesystem::path>& folders,
                        const SearchStatus& status);
    const std::vector<MapListEntry>& mapList() const { return mapList_; }
    // Searches the folders again for TNC command files and rebuilds the list (the
    // communications setup's "&Refresh TNC List").
    void RefreshTncFiles(const std::vector<std::filesystem::path>& folders,
                         const SearchStatus& status);
    const std::vector<TncFileEntry>& tncFiles() const { return tncFiles_; }

    // Menu commands.
    void SendPositionNow() { scheduler_.SendPosition(); }
    void SendStatusNow() { scheduler_.SendStatus({}); }
    void SendMessagesNow() { messages_.SendPending({}); }

    // The follow-ups of the setup sheets. The station setup hands its new settings: they are
    // saved and every part gets a copy.
    void StationSetupDone(const CStationSettings& settings);
    void RestartCommunications();
    // The alerts dialog was accepted: the stores play the sounds now stored.
    void SoundSetupDone();
    // The IGate and digipeater dialog was accepted: the running relay takes the stored settings.
    void RelaySetupDone() { ApplyRelaySettings(); }

    bool exiting() const { return exiting_.load(); }
    Profile& profile() { return profile_; }
    AppHost& host() { return host_; }
    const Clock& clock() const { return clock_; }
    const CStationSettings& stationSettings() const { return stationSettings_; }
    CSoundSettings& soundSettings() { return soundSettings_; }
    CLogSettings& logSettings() { return logSettings_; }
    const std::filesystem::path& logFolder() const { return logFolder_; }
    // Null while the log is off.
    const CStationLog* stationLog() const { return log_.get(); }
    CStationList& stations() { return stations_; }
    CMessageList& messages() { return messages_; }
    COutputScheduler& scheduler() { return scheduler_; }
    CPacketIntake& decoder() { return decoder_; }
    // The one road in: every port's lines, applied in order by the intake thread.
    LineQueue& lines() { return lines_; }
    CIntakeThread& intake() { return intake_; }
    CTncPort& tnc() { return tnc_; }
    CGpsPort& gps() { return gps_; }
    CKissPort& kiss() { return kiss_; }
    CGpsdPort& gpsd() { return gpsd_; }
    CRelayStation& relay() { return relay_; }
    // Null before start-up and after shut-down.
    CNetManager* net() { return net_.get(); }
    CTncSettings& tncSettings() { return tncSettings_; }
    // Every TNC port (port 1 is tnc()/kiss() above): states, transmit choices, relaying.
    CRfPorts& rfPorts() { return rfPorts_; }
    CGpsSettings& gpsSettings() { return gpsSettings_; }
    CNetSettings& netSettings() { return netSettings_; }

    // "1.02" for the About box, the splash window and the network login.
    static std::string VersionText();

  private:
    class StationAdapter;

    void LoadSoundSettings();
    void HandOutStationSettings(bool announce);
    void Report(const OpenResult& result);
    void OpenCommunications();
    void CloseCommunications();
    // Runs on the intake thread after each line was logged, decoded and applied: the place
    // for everything that acts on received traffic.
    void Heard(const HeardLine& line, const DecodedPacket& packet);
    // The station log: replay at start, then the writer; stopped at shut-down.
    void StartStationLog(const std::filesystem::path& folder);
    void StopStationLog();
    void ApplyLogSettings();
    // The history database: opened and brought up to date on a thread of its own, then
    // filled by the writer with every line heard; stopped after the road.
    void StartHistory(const std::filesystem::path& path);
    void StopHistory();
    // Starts the replay at start on its own thread (once the road is open).
    void StartReplay();
    struct ReplayResult {
        long lines = -1;  // -1: `read` failed
        std::string notice;
    };
    // Plays the records `read` adds to the set on the road as kReplay lines and waits until
    // they are applied; records stamped after `untilUtc` were written by this run. The notice
    // says how many lines came back (when `quiet`, only if any did); a stop ends the reading
    // at once and says nothing.
    ReplayResult RunReplay(const std::function<bool(LogReplaySet&)>& read, int64_t seenUtc,
                           int64_t untilUtc, bool quiet, std::stop_token stop);

    void ApplyRelaySettings();
    // Where the relay's packets go: APRS-IS, and the KISS TNC (port 1).
    void SendToInternet(const std::string& line);
    bool SendOnRadio(int port, const std::string& monitorLine);

    Profile& profile_;
    AppHost& host_;
    const Clock& clock_;
    std::atomic<bool> exiting_{false};
    bool started_ = false;
    AppViews* views_ = nullptr;
    // The stores see the clock and the host through the gate (silent, log-dated replays).
    ReplayGate gate_;

    CStationSettings stationSettings_;
    CSoundSettings soundSettings_;
    CStationList stations_;
    CMessageList messages_;
    COutputScheduler scheduler_;
    CPacketIntake decoder_;
    LineQueue lines_;
    CIntakeThread intake_{lines_, decoder_};
    CTncSettings tncSettings_;
    CGpsSettings gpsSettings_;
    CNetSettings netSettings_;
    CTncPort tnc_;
    CGpsPort gps_;
    CKissPort kiss_;
    CGpsdPort gpsd_;
    std::unique_ptr<CNetManager> net_;
    std::unique_ptr<StationAdapter> stationAdapter_;
    CRelayStation relay_{[this](const std::string& line) { SendToInternet(line); },
                         [this](int port, const std::string& line) {
                             return SendOnRadio(port, line);
                         }};

    CLogSettings logSettings_;
    std::filesystem::path logFolder_;
    std::unique_ptr<CStationLog> log_;
    std::atomic<CStationLog*> activeLog_{nullptr};  // read by the decoding threads
    LoggedPort tncOut_{gate_, "TNC"};
    LoggedPort netOut_{gate_, "NET"};
    // The replay being played on the road; its lines are taken on the intake thread.
    std::atomic<LogReplayer*> replaying_{nullptr};
    int64_t replaySinceUtc_ = INT64_MIN;  // the start's replay window, or none
    int64_t replayUntilUtc_ = 0;
    int64_t replaySeenUtc_ = INT64_MIN;
    // The latest replay (each waits for the one before it); the user-interface thread only.
    std::jthread replayThread_;
    std::atomic<bool> replayingFile_{false};

    CHistorySettings historySettings_;
    std::filesystem::path historyPath_;
    std::unique_ptr<HistoryStore> historyStore_;
    std::unique_ptr<HistoryWriter> historyWriter_;
    std::atomic<HistoryWriter*> activeHistory_{nullptr};  // read by the intake thread
    std::jthread historyThread_;
    CRfPorts rfPorts_{host_, gate_, lines_, clock_};

    std::vector<MapListEntry> mapList_;
    std::vector<TncFileEntry> tncFiles_;
};

}  // namespace plovane
