// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/relay_station.h"

#include "core/latin1.h"

namespace plovane {

CRelayStation::CRelayStation(InternetSend toInternet, RadioSend toRadio, SteadyNow now)
    : toInternet_(std::move(toInternet)), toRadio_(std::move(toRadio)), now_(std::move(now)) {}

void CRelayStation::Apply(const IGateSettings& igate, const DigipeaterSettings& digipeater,
                          const std::string& myCall, const std::string& tocall) {
    const std::string call = latin1::ToUpper(myCall);
    std::lock_guard lock(mutex_);
    // The duplicate and heard tables start again only when something changed: an OK that
    // changed nothing keeps the counts.
    const bool sameIGate =
        igate_ && igateSettings_ == igate && igateCall_ == call && igateTocall_ == tocall;
    if (!sameIGate) {
        igate_.emplace(igate, call, tocall);
        igate_->SetLoginVerified(loginVerified_);
        igate_->SetTransmitPorts(igatePorts_);
        igateSettings_ = igate;
        igateCall_ = call;
        igateTocall_ = tocall;
    }
    if (!digipeater_ || digipeaterSettings_ != digipeater || digipeaterCall_ != call) {
        digipeater_.emplace(digipeater, call);
        digipeaterSettings_ = digipeater;
        digipeaterCall_ = call;
    }
}

void CRelayStation::SetRadioPorts(std::set<int> igatePorts, std::set<int> digipeaterPorts) {
    std::lock_guard lock(mutex_);
    igatePorts_ = std::move(igatePorts);
    digipeaterPorts_ = std::move(digipeaterPorts);
    if (igate_)
        igate_->SetTransmitPorts(igatePorts_);
}

void CRelayStation::Heard(const HeardLine& line) {
    // Files and replays were heard long ago, or never: they are shown, not sent on.
    if (line.origin.kind != LineKind::kRf && line.origin.kind != LineKind::kInternet)
        return;
    const RelayTime now = now_();
    std::lock_guard lock(mutex_);
    if (line.origin.kind == LineKind::kRf)
        HeardOnRadio(line.origin.port, line.bytes, now);
    else
        HeardOnInternet(line.bytes, now);
}

void CRelayStation::HeardOnRadio(int port, const std::string& line, RelayTime now) {
    if (digipeater_ && digipeaterPorts_.contains(port)) {
        if (std::optional<std::string> again = digipeater_->HeardOnRf(port, line, now)) {
            if (!toRadio_(port, *again))
                ++radioRefused_;
        }
    }
    if (igate_) {
        if (std::optional<std::string> gated = igate_->HeardOnRf(port, line, now))
            toInternet_(*gated);
    }
}

void CRelayStation::HeardOnInternet(const std::string& line, RelayTime now) {
    std::string_view text = TrimLineEnd(line);
    // "# logresp CALL verified, server T2XYZ": only a verified login may gate.
    if (text.starts_with("# logresp ")) {
        text.remove_prefix(10);
        text.remove_prefix(std::min(text.size(), text.find(' ')));
        loginVerified_ = latin1::Trim(text).starts_with("verified");
        if (igate_)
            igate_->SetLoginVerified(loginVerified_);
        return;
    }
    if (text.starts_with('#') || !igate_)
        return;
    for (const RfTransmit& out : igate_->HeardOnInternet(text, now)) {
        if (!toRadio_(out.port, out.line))
            ++radioRefused_;
    }
}

std::string CRelayStation::InternetStatus() const {
    std::lock_guard lock(mutex_);
    if (!igate_ || !igateSettings_.Enabled)
        return {};
    return igate_->StatusText();
}

std::string CRelayStation::RadioStatus() const {
    std::lock_guard lock(mutex_);
    std::string text;
    if (digipeater_ && digipeaterSettings_.Enabled)
        text = "Digipeater: " + std::to_string(digipeater_->relayed()) + " relayed";
    if (igate_ && igateSettings_.Enabled && igateSettings_.IsToRf) {
        if (!text.empty())
            text += "; ";
        text += "IGate: " + std::to_string(igate_->counts().toRf) + " gated to the radio";
    }
    if (radioRefused_ > 0 && !text.empty())
        text += "; " + std::to_string(radioRefused_) + " the port could not send";
    return text;
}

IGateCounts CRelayStation::igateCounts() const {
    std::lock_guard lock(mutex_);
    return igate_ ? igate_->counts() : IGateCounts{};
}

uint64_t CRelayStation::digipeated() const {
    std::lock_guard lock(mutex_);
    return digipeater_ ? digipeater_->relayed() : 0;
}

size_t CRelayStation::Remembered() const {
    std::lock_guard lock(mutex_);
    return (igate_ ? igate_->Remembered() : 0) + (digipeater_ ? digipeater_->Remembered() : 0);
}

}  // namespace plovane
