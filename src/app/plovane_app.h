// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: owns every long-lived part of the program (stores, decoder,
// scheduler, ports), starts them in order, handles the thread messages and the 25-second
// timer, plays simulation files and shuts down in order. Windows are not made here: the GUI
// and the headless station each wrap this core with their own host and views.
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/file_search.h"
#include "app/log_replay.h"
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

    // File > Replay Log...: plays one day file of the station log into the stores as at
    // start (the stamps as times, nothing sent, not logged again); the number of lines, or
    // -1 when the file cannot be read.
    long ReplayLogFile(const std::filesystem::path& path);

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

    CLogSettings logSettings_;
    std::filesystem::path logFolder_;
    std::unique_ptr<CStationLog> log_;
    std::atomic<CStationLog*> activeLog_{nullptr};  // read by the decoding threads
    LoggedPort tncOut_{gate_, "TNC"};
    LoggedPort netOut_{gate_, "NET"};
    CRfPorts rfPorts_{host_, gate_, lines_, clock_};

    std::vector<MapListEntry> mapList_;
    std::vector<TncFileEntry> tncFiles_;
};

}  // namespace plovane
