// SPDX-License-Identifier: GPL-3.0-or-later
// The APRS device identification table (data/device-ids): which software or radio a
// destination call (tocall) or a Mic-E type byte and suffix names, and its class.
#pragma once

#include <string_view>

namespace plovane::device_ids {

// The credit the table's licence asks for, shown in the About box.
inline constexpr std::string_view kCredit =
    "Device names: APRS device identification index by Hessu, OH7LZB, for aprs.fi "
    "(github.com/aprsorg/aprs-deviceid), CC BY-SA 2.0.";

struct Device {
    std::string_view tag;          // Mic-E only: the model, handed to the station store
    std::string_view name;         // "Kenwood TH-D72"
    std::string_view deviceClass;  // "ht", "rig", "wx", ...; empty when the table has none
};

// The device a destination call names ("-SSID" ignored): the exact entry, else the
// wildcard entry with the longest fixed beginning. nullptr when none matches.
const Device* FindTocall(std::string_view destination);

// Mic-E: the two-byte suffix ending the text after a "`" or "'" type byte.
const Device* FindMicESuffix(std::string_view suffix);

// Mic-E: the Kenwood type byte (">" or "]") and the one-byte suffix ("" when none).
const Device* FindMicELegacy(char type, std::string_view suffix);

// The Mic-E device whose tag is `tag`.
const Device* FindMicETag(std::string_view tag);

}  // namespace plovane::device_ids
