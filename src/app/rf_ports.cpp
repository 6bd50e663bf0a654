// SPDX-License-Identifier: GPL-3.0-or-later
// The TNC ports: the further ports' objects, the per-port write paths and their states.
#include "app/rf_ports.h"

#include <utility>

namespace plovane {

struct CRfPorts::Port {
    int id = 0;
    CTncSettings settings;
    CTncPort* tnc = nullptr;
    CKissPort* kiss = nullptr;
    OutputPort* out = nullptr;  // the logged write path of the mode in use
    // Ports 2 ... own their objects; port 1's belong to the application.
    std::unique_ptr<CTncPort> ownTnc;
    std::unique_ptr<CKissPort> ownKiss;
    std::unique_ptr<LoggedPort> ownOut;

    bool Allows(RfChoice choice) const {
        switch (choice) {
            case RfChoice::kBeacons:
                return settings.txBeacons;
            case RfChoice::kMessages:
                return settings.txMessages;
            case RfChoice::kIGate:
                return settings.igate;
            case RfChoice::kDigipeater:
                return settings.digipeater;
        }
        return false;
    }
};

CRfPorts::CRfPorts(AppHost& host, const ReplayGate& gate, LineQueue& lines, const Clock& clock)
    : host_(host), gate_(gate), lines_(lines), clock_(clock) {
    ports_.push_back(std::make_unique<Port>());
    ports_.front()->id = 1;
}

CRfPorts::~CRfPorts() {
    CloseFurther();
}

void CRfPorts::SetFirstPort(CTncPort* tnc, CKissPort* kiss, OutputPort* out) {
    std::lock_guard lock(mutex_);
    Port& first = *ports_.front();
    first.tnc = tnc;
    first.kiss = kiss;
    first.out = out;
}

void CRfPorts::SetStationSettings(const CStationSettings& settings) {
    station_ = settings;
    std::lock_guard lock(mutex_);
    for (size_t i = 1; i < ports_.size(); ++i) {
        ports_[i]->tnc->SetStationSettings(settings);
        ports_[i]->kiss->SetStationSettings(settings);
    }
}

void CRfPorts::SetLog(CStationLog* log) {
    log_ = log;
    std::lock_guard lock(mutex_);
    for (size_t i = 1; i < ports_.size(); ++i)
        ports_[i]->ownOut->SetLog(log);
}

void CRfPorts::OpenFurther(const std::vector<CTncSettings>& settings,
                           const std::function<void(const OpenResult&)>& report) {
    CloseFurther();
    std::vector<std::unique_ptr<Port>> added;
    for (size_t i = 1; i < settings.size(); ++i) {
        auto port = std::make_unique<Port>();
        port->id = static_cast<int>(i + 1);
        port->settings = settings[i];
        port->ownTnc = std::make_unique<CTncPort>(host_, host_);
        port->ownKiss = std::make_unique<CKissPort>(host_, host_);
        port->tnc = port->ownTnc.get();
        port->kiss = port->ownKiss.get();
        const LineSink sink{&lines_, {port->id, LineKind::kRf}, &clock_};
        port->tnc->SetLineSink(sink);
        port->kiss->SetLineSink(sink);
        port->tnc->SetStationSettings(station_);
        port->kiss->SetStationSettings(station_);
        port->tnc->SetSettings(port->settings);
        port->kiss->SetTncSettings(port->settings);
        report(port->tnc->CreateObjects());
        report(port->tnc->Open());
        report(port->kiss->Open());
        port->ownOut = std::make_unique<LoggedPort>(gate_, "TNC");
        port->ownOut->SetLog(log_);
        port->ownOut->Wrap(port->settings.IsKiss() ? static_cast<OutputPort*>(port->kiss)
                                                   : port->tnc);
        port->out = port->ownOut.get();
        added.push_back(std::move(port));
    }
    std::lock_guard lock(mutex_);
    if (!settings.empty())
        ports_.front()->settings = settings.front();
    for (auto& port : added)
        ports_.push_back(std::move(port));
}

void CRfPorts::CloseFurther() {
    std::vector<std::unique_ptr<Port>> removed;
    {
        // Out of the list first, so that no write path reaches a port being closed.
        std::lock_guard lock(mutex_);
        while (ports_.size() > 1) {
            removed.push_back(std::move(ports_.back()));
            ports_.pop_back();
        }
    }
    for (auto& port : removed) {
        port->tnc->Close();
        port->kiss->Close();
    }
}

int CRfPorts::count() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(ports_.size());
}

bool CRfPorts::Allows(int portId, RfChoice choice) const {
    std::lock_guard lock(mutex_);
    for (const auto& port : ports_) {
        if (port->id == portId)
            return port->settings.enabled && port->Allows(choice);
    }
    return false;
}

bool CRfPorts::SendMonitorLine(int portId, std::string_view line) {
    std::lock_guard lock(mutex_);
    for (const auto& port : ports_) {
        if (port->id != portId)
            continue;
        if (!port->settings.enabled || !port->settings.IsKiss() || port->kiss == nullptr ||
            gate_.Replaying())
            return false;
        return port->kiss->QueueMonitorLine(line);
    }
    return false;
}

std::vector<OutputPort*> CRfPorts::Outputs(RfChoice choice) const {
    std::vector<OutputPort*> outs;
    for (const auto& port : ports_) {
        if (port->out != nullptr && port->settings.enabled && port->Allows(choice))
            outs.push_back(port->out);
    }
    return outs;
}

std::vector<RfPortState> CRfPorts::States() const {
    std::lock_guard lock(mutex_);
    std::vector<RfPortState> states;
    for (const auto& port : ports_) {
        RfPortState state;
        state.id = port->id;
        const CTncSettings& s = port->settings;
        state.enabled = s.enabled;
        std::string where;
        if (s.IsKiss() && port->kiss != nullptr) {
            state.open = port->kiss->IsOpen();
            state.pending = port->kiss->IsPending();
            state.error = port->kiss->HasError();
            where = s.mode == kTncKissTcp ? "KISS TCP " + s.kissHost + ":" + s.kissPort
                                          : "KISS serial " + s.port;
        } else if (port->tnc != nullptr) {
            state.open = port->tnc->IsOpen();
            state.error = port->tnc->HasError();
            where = "serial " + s.port;
        }
        const char* how = !state.enabled ? "off"
                          : state.open   ? "open"
                          : state.error  ? "failed"
                          : state.pending ? "connecting"
                                          : "closed";
        state.text = "TNC port " + std::to_string(port->id) + ": " + where + ", " + how;
        states.push_back(std::move(state));
    }
    return states;
}

bool CRfPorts::FanOut::IsOpen() const {
    std::lock_guard lock(ports_.mutex_);
    for (OutputPort* out : ports_.Outputs(choice_)) {
        if (out->IsOpen())
            return true;
    }
    return false;
}

bool CRfPorts::FanOut::TakesText() const {
    std::lock_guard lock(ports_.mutex_);
    for (OutputPort* out : ports_.Outputs(choice_)) {
        if (out->TakesText())
            return true;
    }
    return false;
}

void CRfPorts::FanOut::QueueText(const std::string& text, int delayBeforeMs, int delayAfterMs) {
    std::lock_guard lock(ports_.mutex_);
    for (OutputPort* out : ports_.Outputs(choice_)) {
        if (out->TakesText())
            out->QueueText(text, delayBeforeMs, delayAfterMs);
    }
}

}  // namespace plovane
