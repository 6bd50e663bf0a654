// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a monitor line through the relay logic, heard on a radio port and from
// APRS-IS: no crash, and whatever it sends is a monitor line again whose information bytes
// are the ones heard.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "relay/digipeater.h"
#include "relay/igate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plovane;
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const RelayTime now{};

    if (const auto split = SplitMonitorLine(line)) {
        const std::string text = MonitorLineText(*split, split->info);
        const auto again = SplitMonitorLine(text);
        if (!again || again->source != split->source || again->destination != split->destination ||
            again->path != split->path || again->info != split->info)
            std::abort();
    }

    DigipeaterSettings digiSettings;
    digiSettings.Enabled = true;
    digiSettings.FillIn = size % 2 == 0;
    digiSettings.Aliases = "HOME";
    Digipeater digi(digiSettings, "N0DIG");
    if (const auto relayed = digi.HeardOnRf(1, line, now)) {
        const auto heard = SplitMonitorLine(TrimLineEnd(line));
        const auto sent = SplitMonitorLine(*relayed);
        if (!heard || !sent || sent->info != heard->info || sent->path.size() > 8)
            std::abort();
    }

    IGateSettings igateSettings;
    igateSettings.Enabled = true;
    igateSettings.IsToRf = true;
    IGate igate(igateSettings, "N0GATE", "APQ100");
    igate.SetLoginVerified(true);
    igate.SetTransmitPorts({1});
    igate.HeardOnRf(1, "W2LOC>APRS:>here", now);
    if (const auto gated = igate.HeardOnRf(1, line, now)) {
        if (!SplitMonitorLine(*gated) ||
            !TrimLineEnd(line).ends_with(SplitMonitorLine(*gated)->info))
            std::abort();
    }
    for (const RfTransmit& sent : igate.HeardOnInternet(line, now)) {
        if (sent.port != 1 || !SplitMonitorLine(sent.line))
            std::abort();
    }
    return 0;
}
