// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, thread messages, the timer, simulation playback and shut-down.
#include "app/plovane_app.h"

#include <cmath>
#include <set>
#include <fstream>
#include <system_error>

#include "app/station_log.h"
#include "core/line_reader.h"
#include "core/version.h"
#include "maps/map_file.h"

namespace plovane {

// The scheduler reads the own record through this.
class CPlovaneApp::StationAdapter final : public StationSource {
  public:
    explicit StationAdapter(CStationList& stations) : stations_(stations) {}

    bool GetPositionReportData(std::string_view call, PositionReportData& out) const override {
        const std::optional<CStation> station = stations_.FindStation(call);
        if (!station)
            return false;
        out.call = station->call;
        out.hasPosition = station->hasPosition;
        out.colatitude = station->position.colatitude;
        out.longitude = station->position.longitude;
        out.moving = station->moving;
        out.course = station->course;
        out.speed = station->speed;
        out.hasPhg = station->hasPhg;
        out.phgPower = station->phgPower;
        out.phgHeight = station->phgHeight;
        out.phgGain = station->phgGain;
        out.phgDirectivity = station->phgDirectivity;
        out.symbolTable = station->symbolTable;
        out.symbolCode = station->symbolCode;
        out.ambiguity = station->ambiguity;
        out.comment = station->comment;
        out.lastInfo = station->lastInfo;
        return true;
    }

    std::string OwnCall() const override { return stations_.OwnCall(); }

  private:
    CStationList& stations_;
};

CPlovaneApp::CPlovaneApp(Profile& profile, AppHost& host, const Clock& clock)
    : profile_(profile),
      host_(host),
      clock_(clock),
      gate_(clock, host),
      stations_(stationSettings_, gate_, gate_, gate_),
      messages_(stationSettings_, gate_, gate_, gate_, [this] { return stations_.OwnCall(); }),
      scheduler_(clock, host),
      decoder_(gate_, PacketTargets{gate_, stations_, &messages_}),
      tnc_(host, host),
      gps_(host, host),
      kiss_(host, host),
      gpsd_(host),
      stationAdapter_(std::make_unique<StationAdapter>(stations_)) {}

CPlovaneApp::~CPlovaneApp() {
    Shutdown();
}

std::string CPlovaneApp::VersionText() {
    return kVersionText;
}

bool CPlovaneApp::Start(const AppStartOptions& options) {
    // TNC command files, then maps, each sorted with duplicate names numbered.
    RefreshTncFiles(options.searchFolders, options.status);
    RefreshMapList(options.searchFolders, options.status);

    // The decoder's links and the own-station settings.
    decoder_.SetTransmitControl(&scheduler_);
    decoder_.SetSentenceSink([this](std::string_view source, std::string_view destination,
                                    std::string_view path, std::string_view sentence) {
        gps_.ParseSentence(source, destination, path, sentence, false);
    });
    stationSettings_.Load(profile_);
    // What a replay restores is held as it is restored: nothing old goes out again.
    messages_.SetRestoring([this] { return gate_.Replaying(); });
    StartStationLog(options.logFolder);
    StartHistory(options.historyPath);

    // The serial ports and what they need.
    tnc_.SetStationSettings(stationSettings_);
    gps_.SetStations(&stations_);
    // One road in: the TNC (text or KISS, whichever the mode names), the network client, the
    // GPS receiver and gpsd put their lines on the queue, and the intake thread applies them
    // in order: the stores have that one writer.
    intake_.SetFixHook([this](const HeardLine& line) { ApplyOwnFix(stations_, line); });
    intake_.SetHeardHook(
        [this](const HeardLine& line, const DecodedPacket& packet) { Heard(line, packet); });
    // The station log's replay takes its own lines off the road on the intake thread.
    intake_.SetReplayHook([this](const HeardLine& line) {
        if (LogReplayer* const replayer = replaying_.load())
            replayer->Take(line);
    });
    if (!intake_.Start())
        host_.ReportError("Unable to start the packet intake thread.");
    StartReplay();  // behind the window, beside live traffic
    const LineSink tncLines{&lines_, {1, LineKind::kRf}, &clock_};
    tnc_.SetLineSink(tncLines);
    kiss_.SetLineSink(tncLines);
    kiss_.SetStationSettings(stationSettings_);
    rfPorts_.SetStationSettings(stationSettings_);
    gps_.SetLineSink({&lines_, {0, LineKind::kNmea}, &clock_});
    gpsd_.SetLineSink({&lines_, {0, LineKind::kGpsd}, &clock_});
    for (CSerialPort* port : {static_cast<CSerialPort*>(&tnc_), static_cast<CSerialPort*>(&gps_)})
        Report(port->CreateObjects());

    // The network client exists even when the network is off.
    net_ = std::make_unique<CNetManager>(host_, host_);
    net_->SetMyCall(stationSettings_.MyCall);
    net_->SetLineSink({&lines_, {0, LineKind::kInternet}, &clock_});
    Report(net_->CreateObjects());
    ApplyRelaySettings();
    OpenCommunications();

    // The output scheduler, with a current copy of the settings before anything announces.
    netOut_.Wrap(net_.get());
    // Beacons and messages go to every TNC port whose choices allow them.
    scheduler_.SetPorts(rfPorts_.beacons(), netOut_.get());
    messages_.SetPorts(rfPorts_.messages(), netOut_.get());
    scheduler_.Attach(stationAdapter_.get(), &messages_);
    scheduler_.ApplySettings(stationSettings_);
    if (!scheduler_.StartOutput())
        host_.ReportError(COutputScheduler::kStartFailedText);

    // The stores and their settings, then the sounds.
    stations_.SetTransmitControl(&scheduler_);
    messages_.SetTransmitControl(&scheduler_);
    messages_.ApplySettings(stationSettings_);
    LoadSoundSettings();
    stations_.ApplySettings(stationSettings_, true);
    started_ = true;
    if (views_)
        views_->RefreshViews(true);
    return true;
}

void CPlovaneApp::Shutdown() {
    if (!started_)
        return;
    started_ = false;
    host_.ShowNotice("Exiting Plovane...");
    replayThread_.request_stop();  // a replay ends at its next record
    historyThread_.request_stop();  // filling the history from the log, at its next second
    // The TNC gets its restore sequence before anything else stops.
    CloseCommunications();
    exiting_ = true;
    WaitForReplay();
    intake_.Stop();  // the road closes: what is on it is applied, later lines are refused
    StopHistory();   // what was heard is written
    scheduler_.StopOutput();
    scheduler_.SetPorts(nullptr, nullptr);
    messages_.SetPorts(nullptr, nullptr);
    netOut_.Wrap(nullptr);
    net_.reset();
    StopStationLog();  // station log: the last lines are written
}

// Loads the settings of the three connections and opens those that are enabled. A port
// that fails to open is reported without waiting for anyone: the program runs on without it.
void CPlovaneApp::OpenCommunications() {
    if (net_) {
        netSettings_.Load(profile_);
        net_->SetSettings(netSettings_);
        Report(net_->Open());
    }
    std::vector<CTncSettings> tncPorts = LoadTncPorts(profile_);
    tncSettings_ = tncPorts.front();
    tnc_.SetSettings(tncSettings_);
    gpsSettings_.Load(profile_);
    gps_.SetSettings(gpsSettings_);
    Report(tnc_.Open());
    Report(gps_.Open());
    // Our packets go to whichever TNC the settings name.
    kiss_.SetTncSettings(tncSettings_);
    Report(kiss_.Open());
    tncOut_.Wrap(tncSettings_.IsKiss() ? static_cast<OutputPort*>(&kiss_) : &tnc_);
    rfPorts_.SetFirstPort(&tnc_, &kiss_, &tncOut_);
    rfPorts_.OpenFurther(tncPorts, [this](const OpenResult& result) { Report(result); });
    // The IGate and the digipeater act on the ports whose choices let them.
    std::set<int> igatePorts;
    std::set<int> digipeaterPorts;
    for (size_t i = 0; i < tncPorts.size(); ++i) {
        const int id = static_cast<int>(i) + 1;
        if (tncPorts[i].enabled && tncPorts[i].igate)
            igatePorts.insert(id);
        if (tncPorts[i].enabled && tncPorts[i].digipeater)
            digipeaterPorts.insert(id);
    }
    relay_.SetRadioPorts(std::move(igatePorts), std::move(digipeaterPorts));
    if (gpsSettings_.enabled && gpsSettings_.source == kGpsGpsd)
        Report(gpsd_.Open(gpsSettings_.gpsdHost, gpsSettings_.gpsdPort));
}

void CPlovaneApp::Report(const OpenResult& result) {
    if (result.failed())
        host_.ReportError(result.error);
}

void CPlovaneApp::CloseCommunications() {
    rfPorts_.CloseFurther();
    tnc_.Close();
    kiss_.Close();
    gps_.Close();
    gpsd_.Close();
    if (net_)
        net_->Close();
}

void CPlovaneApp::LoadSoundSettings() {
    soundSettings_.Load(profile_);
    stations_.SetNewStationSound(soundSettings_.NewStationEnabled, soundSettings_.NewStation);
    MessageSoundSettings sounds;
    sounds.newMessageEnabled = soundSettings_.NewMessageEnabled;
    sounds.newMessageFile = soundSettings_.NewMessage;
    sounds.newAckEnabled = soundSettings_.NewAckEnabled;
    sounds.newAckFile = soundSettings_.NewAck;
    messages_.SetSounds(sounds);
}

// Everyone who needs the own-station settings gets a copy of the application's value.
void CPlovaneApp::HandOutStationSettings(bool announce) {
    stations_.ApplySettings(stationSettings_, announce);
    scheduler_.ApplySettings(stationSettings_);
    messages_.ApplySettings(stationSettings_);
    tnc_.SetStationSettings(stationSettings_);
    kiss_.SetStationSettings(stationSettings_);
    rfPorts_.SetStationSettings(stationSettings_);
    if (net_)
        net_->SetMyCall(stationSettings_.MyCall);
    ApplyRelaySettings();
}

void CPlovaneApp::ApplyRelaySettings() {
    IGateSettings igate;
    igate.Load(profile_);
    DigipeaterSettings digipeater;
    digipeater.Load(profile_);
    relay_.Apply(igate, digipeater, stationSettings_.MyCall, stationSettings_.destination);
}

void CPlovaneApp::SendToInternet(const std::string& line) {
    // Only a logged-in link gates: a gated packet held for a later connection would be stale.
    if (net_ && net_->IsOpen())
        net_->QueueText(line + "\r");
}

bool CPlovaneApp::SendOnRadio(int port, const std::string& monitorLine) {
    // A text-mode TNC cannot send another station's header; only KISS ports relay.
    return rfPorts_.SendMonitorLine(port, monitorLine);
}

void CPlovaneApp::Heard(const HeardLine& line, const DecodedPacket& packet) {
    // The sender's record keeps where it was heard: which TNC port and through which
    // digipeater, or the Internet.
    if (line.origin.kind == LineKind::kRf || line.origin.kind == LineKind::kInternet) {
        std::string_view text(line.bytes);
        const std::string_view source = text.substr(0, text.find('>'));
        if (source.size() < text.size()) {
            const bool rf = line.origin.kind == LineKind::kRf;
            stations_.NoteHeard(source, rf ? line.origin.port : 0,
                                rf ? FirstUsedHop(text) : std::string_view());
        }
    }
    // A GPS behind the first TNC speaks in its monitor stream.
    if (line.origin.kind == LineKind::kRf && line.origin.port == 1)
        gps_.TakeTncLine(line.bytes);
    // Stamped as the station log stamps it, so a rebuild from the log gives the same rows.
    if (HistoryWriter* const history = activeHistory_.load()) {
        constexpr double kUnixEpochDays = 25569.0;  // OLE date of 1 January 1970
        history->Add(packet, std::llround((clock_.UtcNow().value() - kUnixEpochDays) * 86400.0),
                     line.bytes);
    }

    relay_.Heard(line);
}

void CPlovaneApp::OnThreadMessage(ThreadMessage message, const std::string& text) {
    switch (message) {
        case ThreadMessage::kEchoLine:
            host_.ShowNotice(text);
            break;
        case ThreadMessage::kPortStatus:
            if (views_)
                views_->UpdateViews();
            break;
        case ThreadMessage::kStationSetupDone: {
            // Posted after the settings were stored by someone else: read them back.
            CStationSettings stored = stationSettings_;
            stored.Load(profile_);
            StationSetupDone(stored);
            break;
        }
        case ThreadMessage::kCommSetupDone:
            RestartCommunications();
            break;
    }
}

void CPlovaneApp::OnTimer() {
    // A GPS behind the TNC answers CTRL-E with its latest sentence.
    if (gpsSettings_.enabled && gpsSettings_.source == kGpsFromTncPolled && tnc_.IsOpen()) {
        tnc_.SendGpsRequest();
    }
    if (views_)
        views_->TimerTick();
}

long CPlovaneApp::PlaySimulation(const std::filesystem::path& path) {
    // A folder opens like a file on Linux but cannot be read: refuse it as unopenable.
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return -1;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return -1;
    LineReader reader(file);
    std::string line;
    long count = 0;
    const LineSink sink{&lines_, {0, LineKind::kFile}, &clock_};
    const bool onRoad = intake_.running();
    const std::string myCall = onRoad ? std::string() : stations_.OwnCall();
    LogLineFilter logLines;  // a day file of the station log plays as heard
    while (reader.Next(line)) {
        logLines.Apply(line);
        if (!onRoad)
            decoder_.DecodeLineAs(line, "FILE>", myCall);  // before start-up or after shut-down
        else if (!sink.Put(line))
            break;
        ++count;
    }
    if (onRoad)
        intake_.Flush();
    if (views_)
        views_->UpdateViews();
    return count;
}

void CPlovaneApp::RefreshTncFiles(const std::vector<std::filesystem::path>& folders,
                                  const SearchStatus& status) {
    tncFiles_.clear();
    for (const auto& folder : folders)
        SearchTncFiles(folder, tncFiles_, status);
    if (status)
        status(FoundText(tncFiles_.size(), "TNC file"));
    SortAndNumber(tncFiles_);
}

void CPlovaneApp::RefreshMapList(const std::vector<std::filesystem::path>& folders,
                                 const SearchStatus& status) {
    mapList_.clear();
    const MapRecogniser recognise = [](const std::filesystem::path& path, std::string& title) {
        const MapProbe probe = ProbeMapFile(path);
        title = probe.title;
        return probe.isMap;
    };
    for (const auto& folder : folders)
        SearchMaps(folder, recognise, mapList_, status);
    if (status)
        status(FoundText(mapList_.size(), "map"));
    SortAndNumber(mapList_);
    if (views_)
        views_->MapListChanged();
}

void CPlovaneApp::StationSetupDone(const CStationSettings& settings) {
    stationSettings_ = settings;
    stationSettings_.Save(profile_);
    HandOutStationSettings(false);
    ApplyLogSettings();  // station log: on or off, the TNC header
    // A changed call or path reaches the TNC at once (break, then the standard commands).
    tnc_.SendStationSetup();
    stations_.ApplyLimit();
    messages_.ApplyLimit();
    scheduler_.RearmPositionAndStatus();
    if (views_)
        views_->RefreshViews(true);
}

void CPlovaneApp::SoundSetupDone() {
    LoadSoundSettings();
    if (views_)
        views_->RefreshViews(true);
}

void CPlovaneApp::RestartCommunications() {
    CloseCommunications();
    OpenCommunications();
    HandOutStationSettings(true);
    if (views_)
        views_->UpdateViews();
}

}  // namespace plovane
