// Start-up, thread messages, the timer, simulation playback and shut-down.
#include "app/plovane_app.h"

#include <fstream>

#include "core/line_reader.h"
#include "core/version.h"
#include "maps/map_reader.h"

namespace plovane {

// The decoder hands messages to the message store through this.
class CPlovaneApp::MessageAdapter final : public MessageReceiver {
public:
    explicit MessageAdapter(CMessageList& messages) : messages_(messages) {}
    void ReceiveMessage(std::string_view source, std::string_view addressee,
                        std::string_view text) override {
        messages_.ReceiveMessage(source, addressee, text);
    }

private:
    CMessageList& messages_;
};

// The scheduler reads the own record through this.
class CPlovaneApp::StationAdapter final : public StationSource {
public:
    explicit StationAdapter(CStationList& stations) : stations_(stations) {}

    bool GetPositionReportData(std::string_view call, PositionReportData& out) const override {
        const std::optional<CStation> station = stations_.FindStation(call);
        if (!station) return false;
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
      stations_(stationSettings_, profile, clock, host),
      messages_(stationSettings_, clock, host, [this] { return stations_.OwnCall(); }),
      scheduler_(clock, host),
      decoder_(host),
      messageAdapter_(std::make_unique<MessageAdapter>(messages_)),
      stationAdapter_(std::make_unique<StationAdapter>(stations_)) {}

CPlovaneApp::~CPlovaneApp() { Shutdown(); }

std::string CPlovaneApp::VersionText() { return kVersionText; }

bool CPlovaneApp::Start(const AppStartOptions& options) {
    // TNC command files, then maps, each sorted with duplicate names numbered.
    tncFiles_.clear();
    for (const auto& folder : options.searchFolders) {
        SearchTncFiles(folder, tncFiles_, options.status);
    }
    if (options.status) options.status(FoundText(tncFiles_.size(), "TNC file"));
    SortAndNumber(tncFiles_);
    RefreshMapList(options.searchFolders, options.status);

    // The decoder's links and the own-station settings.
    decoder_.SetStations(&stations_);
    decoder_.SetMessages(messageAdapter_.get());
    decoder_.SetTransmitControl(&scheduler_);
    stationSettings_.Load(profile_);

    // The output scheduler, with a current copy of the settings before anything announces.
    scheduler_.Attach(stationAdapter_.get(), &messages_);
    scheduler_.ApplySettings(stationSettings_);
    scheduler_.StartOutput();

    // The stores and their settings, then the sounds.
    stations_.SetTransmitControl(&scheduler_);
    messages_.SetTransmitControl(&scheduler_);
    messages_.ApplySettings(stationSettings_);
    LoadSoundSettings();
    stations_.ApplySettings(true);
    started_ = true;
    if (views_) views_->RefreshViews(true);
    return true;
}

void CPlovaneApp::Shutdown() {
    if (!started_) return;
    started_ = false;
    host_.ShowNotice("Exiting Plovane...");
    exiting_ = true;
    scheduler_.StopOutput();
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

// The station store has just reloaded the settings; the scheduler and the message store keep
// copies of their own.
void CPlovaneApp::ApplyStationSettingsToStores() {
    scheduler_.ApplySettings(stationSettings_);
    messages_.ApplySettings(stationSettings_);
}

void CPlovaneApp::OnThreadMessage(ThreadMessage message, const std::string& text) {
    switch (message) {
        case ThreadMessage::kNetLines:
            decoder_.ProcessInput();
            break;
        case ThreadMessage::kEchoLine:
            host_.ShowNotice(text);
            break;
        case ThreadMessage::kPortStatus:
            if (views_) views_->UpdateViews();
            break;
        case ThreadMessage::kStationSetupDone:
            StationSetupDone();
            break;
        case ThreadMessage::kCommSetupDone:
            RestartCommunications();
            break;
    }
}

void CPlovaneApp::OnTimer() {
    if (views_) views_->TimerTick();
}

long CPlovaneApp::PlaySimulation(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return -1;
    LineReader reader(file);
    std::string line;
    long count = 0;
    while (reader.Next(line)) {
        decoder_.DecodeLine(line, "", "FILE>");
        ++count;
    }
    if (views_) views_->UpdateViews();
    return count;
}

void CPlovaneApp::RefreshMapList(const std::vector<std::filesystem::path>& folders,
                                 const SearchStatus& status) {
    mapList_.clear();
    const MapRecogniser recognise = [](const std::filesystem::path& path, std::string& title) {
        const MapProbe probe = ProbeMapFile(path);
        title = probe.title;
        return probe.isMap;
    };
    for (const auto& folder : folders) SearchMaps(folder, recognise, mapList_, status);
    if (status) status(FoundText(mapList_.size(), "map"));
    SortAndNumber(mapList_);
    if (views_) views_->MapListChanged();
}

void CPlovaneApp::StationSetupDone() {
    stations_.ApplySettings(false);
    ApplyStationSettingsToStores();
    stations_.ApplyLimit();
    messages_.ApplyLimit();
    scheduler_.RearmPositionAndStatus();
    if (views_) views_->RefreshViews(true);
}

void CPlovaneApp::RestartCommunications() {
    stations_.ApplySettings(true);
    if (views_) views_->UpdateViews();
}

}  // namespace plovane
