// SPDX-License-Identifier: GPL-3.0-or-later
// The output scheduler and its thread.
#include "transmit/output_scheduler.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "core/geo.h"
#include "transmit/position_packet.h"

namespace plovane {
namespace {

// A mobile rate below half a minute (only a hand-edited setting can hold one) would put a
// packet on the channel every few seconds; the setup page's shortest rate is the floor.
constexpr float kMinMobileRate = 0.5f;
constexpr float kDefaultMobileRate = 10.0f;

}  // namespace

COutputScheduler::COutputScheduler(const Clock& clock, NoticeSink& notices)
    : clock_(clock), notices_(notices) {}

COutputScheduler::~COutputScheduler() {
    StopOutput();
}

void COutputScheduler::Attach(StationSource* stations, PendingSender* messages) {
    stations_ = stations;
    messages_ = messages;
}

void COutputScheduler::SetPorts(OutputPort* tnc, OutputPort* network) {
    tnc_ = tnc;
    network_ = network;
}

void COutputScheduler::ApplySettings(const CStationSettings& settings) {
    std::lock_guard lock(settingsMutex_);
    settings_ = settings;
}

CStationSettings COutputScheduler::Settings() const {
    std::lock_guard lock(settingsMutex_);
    return settings_;
}

bool COutputScheduler::StartOutput(ThreadMode mode) {
    const CDateTime now = clock_.Now();
    {
        std::lock_guard lock(slotsMutex_);
        if (slots_)
            return true;
        slots_.emplace(now, ScheduleSlots::SeedFromLocalTime(now));
    }
    stop_ = false;
    ArmPositionSlot();
    ArmStatusSlot();
    ArmMessageSlot();
    ArmSpareSlot();
    if (mode == ThreadMode::kManual)
        return true;
    try {
        thread_ = CreateOutputThread();
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

std::thread COutputScheduler::CreateOutputThread() {
    return std::thread([this] { OutputThreadLoop(); });
}

void COutputScheduler::StopOutput() {
    stop_ = true;
    event_.Set();
    // The thread wakes on the event at once, so joining cannot hang; it may only be
    // finishing a send already under way.
    if (thread_.joinable())
        thread_.join();
    std::lock_guard lock(slotsMutex_);
    slots_.reset();
}

bool COutputScheduler::IsRunning() const {
    return thread_.joinable() && !stop_.load();
}

void COutputScheduler::OutputThreadLoop() {
    while (!stop_) {
        const CDateTime now = clock_.Now();
        int waitSeconds;
        {
            std::lock_guard lock(slotsMutex_);
            if (!slots_)
                break;
            waitSeconds = slots_->WaitSeconds(now);
        }
        // Every arming signals the event, so a new earlier slot time cuts the wait short.
        event_.WaitFor(std::chrono::seconds(waitSeconds));
        if (stop_)
            break;
        RunDueSlots();
    }
}

void COutputScheduler::RunDueSlots() {
    std::lock_guard firing(firingMutex_);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        uint64_t generation;
        {
            const CDateTime now = clock_.Now();
            std::lock_guard lock(slotsMutex_);
            if (!slots_)
                return;
            if (!slots_->IsDue(slot, now))
                continue;
            generation = slots_->slot(slot).generation;
        }
        // The action runs outside the slot lock: it arms slots itself (the digipeat check)
        // and the message store queues on the ports under its own lock.
        FireSlot(slot);
        const CDateTime now = clock_.Now();
        std::lock_guard lock(slotsMutex_);
        if (slots_)
            slots_->RearmAfterFiring(slot, generation, now);
    }
}

void COutputScheduler::FireSlot(int slot) {
    StationSource* const stations = stations_;
    switch (slot) {
        case kPositionSlot:
            if (stations && ready_)
                SendPositionFrom(Origin::kAutomatic);
            break;
        case kStatusSlot:
            if (stations && ready_)
                SendStatusFrom({}, Origin::kAutomatic);
            break;
        case kMessageSlot:
            if (PendingSender* const messages = messages_)
                messages->SendPending({});
            break;
        case kDigipeatCheckSlot:
            if (stations && !digipeatHeard_) {
                notices_.ShowNotice("No digipeat of your packet was heard.");
            }
            break;
        default:  // the spare slot: a position asked for by a general query
            if (queriedPositionDue_.exchange(false) && stations && ready_)
                SendPositionFrom(Origin::kAutomatic);
            break;
    }
}

void COutputScheduler::ArmSlot(int slot, float delay, float multiplier, float cap) {
    const CDateTime now = clock_.Now();
    {
        std::lock_guard lock(slotsMutex_);
        if (!slots_)
            return;
        slots_->Arm(slot, delay, multiplier, cap, now);
    }
    event_.Set();
}

void COutputScheduler::ArmPositionSlot() {
    const CStationSettings settings = Settings();
    if (!settings.Mobile) {
        ArmSlot(kPositionSlot, 0.25f, 2.0f, 30.0f);
        return;
    }
    float rate = settings.MobilePositRate;
    rate = rate > 0.0f ? std::max(rate, kMinMobileRate) : kDefaultMobileRate;  // NaN too
    ArmSlot(kPositionSlot, rate, 1.0f, rate);
}

void COutputScheduler::ArmStatusSlot() {
    ArmSlot(kStatusSlot, 0.25f, 2.0f, 30.0f);
}

void COutputScheduler::ArmMessageSlot() {
    ArmSlot(kMessageSlot, 0.5f, 2.0f, 30.0f);
}

void COutputScheduler::ArmSpareSlot() {
    ArmSlot(kSpareSlot, 0.25f, 2.0f, 30.0f);
}

void COutputScheduler::ArmDigipeatCheck() {
    ArmSlot(kDigipeatCheckSlot, 0.25f, 1.0f, 0.25f);
}

void COutputScheduler::Wake() {
    event_.Set();
}

void COutputScheduler::AnswerQuery(QueryAnswer answer) {
    switch (answer) {
        case QueryAnswer::kPosition:
            SendPositionFrom(Origin::kAutomatic);
            break;
        case QueryAnswer::kStatus:
            SendStatusFrom({}, Origin::kAutomatic);
            break;
        case QueryAnswer::kPositionAfterDelay:
            queriedPositionDue_ = true;
            ArmSpareSlot();
            break;
    }
}

void COutputScheduler::SendPosition() {
    SendPositionFrom(Origin::kCommand);
}

void COutputScheduler::SendStatus(const std::string& text) {
    SendStatusFrom(text, Origin::kCommand);
}

void COutputScheduler::SendPositionFrom(Origin origin) {
    const CStationSettings settings = Settings();
    if (!settings.IsConfigured())
        return;
    if (origin == Origin::kAutomatic && !settings.TransmitPosits)
        return;
    StationSource* const stations = stations_;
    if (!stations)
        return;
    PositionReportData own;
    if (!stations->GetPositionReportData(stations->OwnCall(), own))
        return;
    // Without a typed-in position or a fix we would announce 0 N 0 W; keep quiet instead.
    if (!own.hasPosition)
        return;
    Transmit(FormatPositionReport(own, settings.MyCall, settings.Mobile, clock_.UtcNow()) + "\r",
             settings);
}

void COutputScheduler::SendStatusFrom(const std::string& text, Origin origin) {
    const CStationSettings settings = Settings();
    if (!settings.IsConfigured())
        return;
    if (origin == Origin::kAutomatic && !settings.TransmitStatus)
        return;
    std::string body = text;
    if (body.empty()) {
        // The own record's lastInfo holds the Status setting.
        PositionReportData own;
        StationSource* const stations = stations_;
        if (stations && stations->GetPositionReportData(stations->OwnCall(), own)) {
            body = own.lastInfo;
        }
    }
    if (body.empty())
        return;
    Transmit(FormatStatusReport(body, clock_.UtcNow()) + "\r", settings);
}

std::string COutputScheduler::FormatPositionPacket(const std::string& call) const {
    StationSource* const stations = stations_;
    PositionReportData record;
    if (!stations || !stations->GetPositionReportData(call, record))
        return {};
    const CStationSettings settings = Settings();
    return FormatPositionReport(record, settings.MyCall, settings.Mobile, clock_.UtcNow());
}

void COutputScheduler::Transmit(const std::string& text, const CStationSettings& settings) {
    // A port still connecting holds the text for its connection (the start-up status).
    if (OutputPort* const tnc = tnc_; tnc && tnc->TakesText()) {
        // The TNC adds our header and path; watch for a digipeater repeating it.
        tnc->QueueText(text);
        digipeatHeard_ = false;
        ArmDigipeatCheck();
    }
    if (OutputPort* const network = network_; network && network->TakesText()) {
        network->QueueText(NetworkHeader(settings.MyCall, settings.destination) + text);
    }
}

void COutputScheduler::MarkReadyToTransmit() {
    ready_ = true;
}

void COutputScheduler::SendStatusText(const std::string& text) {
    SendStatusFrom(text, Origin::kAutomatic);
}

void COutputScheduler::RearmPositionAndStatus() {
    ArmPositionSlot();
    ArmStatusSlot();
}

void COutputScheduler::SetDigipeatHeard() {
    digipeatHeard_ = true;
}

std::optional<ScheduleSlots::Slot> COutputScheduler::SlotState(int slot) const {
    std::lock_guard lock(slotsMutex_);
    if (!slots_ || slot < 0 || slot >= kSlotCount)
        return std::nullopt;
    return slots_->slot(slot);
}

}  // namespace plovane
