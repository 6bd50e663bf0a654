// SPDX-License-Identifier: GPL-3.0-or-later
// The IGate settings ("IGate" section) and the digipeater settings ("Digipeater" section),
// each declared once in its table of fields.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/profile.h"
#include "core/settings_table.h"

namespace plovane {

// Thread-compatible: loaded and saved on the user-interface thread; the relay logic gets a copy.
// A new installation gates nothing until asked to.
struct IGateSettings {
    static constexpr const char* kSection = "IGate";

    bool Enabled = false;
    bool RfToIs = true;   // gate what the radio hears to APRS-IS
    bool IsToRf = false;  // gate messages for local stations from APRS-IS to the radio
    std::string IsToRfPath = "WIDE1-1";  // the path of gated packets on the radio; empty for none
    int32_t MaxPerMinute = 6;            // packets gated to the radio per port and minute

    static const std::span<const SettingField<IGateSettings>> kFields;

    void Load(const Profile& profile);
    void Save(Profile& profile) const;
    bool operator==(const IGateSettings&) const = default;
};

// A new installation relays nothing until asked to; a home digipeater is a fill-in one unless
// told otherwise.
struct DigipeaterSettings {
    static constexpr const char* kSection = "Digipeater";

    bool Enabled = false;
    std::string Aliases;  // further calls answered as our own, comma-separated ("HOME,RELAY")
    bool FillIn = true;   // a home fill-in digipeater: the first hop WIDE1-1 only

    static const std::span<const SettingField<DigipeaterSettings>> kFields;

    void Load(const Profile& profile);
    void Save(Profile& profile) const;
    bool operator==(const DigipeaterSettings&) const = default;

    // The aliases in upper case, blanks and empty entries left out.
    std::vector<std::string> AliasList() const;
};

// The IS-to-RF path as hops (upper case; blanks and empty entries left out); false when an
// entry is not a call AX.25 can carry or there are more than eight.
bool ParseRelayPath(const std::string& text, std::vector<std::string>& hops);

}  // namespace plovane
