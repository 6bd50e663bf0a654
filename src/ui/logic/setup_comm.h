// SPDX-License-Identifier: GPL-3.0-or-later
// The pages of the "Setup Communications" sheet without their widgets: the TNC command
// files offered, the KISS parameter fields, and which fields are enabled.
#pragma once

#include <string>
#include <vector>

#include "comm/gps_port.h"
#include "comm/net_settings.h"
#include "comm/tnc_port.h"
#include "ui/logic/setup_serial.h"

namespace plovane {

inline constexpr char kNoTncTypeText[] = "[None]";

// One TNC command file as the "TNC T&ype:" list offers it.
struct TncTypeChoice {
    std::string path;
    std::string name;
};

// "[None]" followed by the names in list order.
std::vector<std::string> TncTypeTexts(const std::vector<TncTypeChoice>& files);
// The list position of the file whose path equals `path` (index + 1), else 0 ("[None]").
int TncTypeIndexOf(const std::vector<TncTypeChoice>& files, const std::string& path);
// The path behind a list position; empty for "[None]" or a position outside the list.
std::string TncTypePathAt(const std::vector<TncTypeChoice>& files, int index);
// After "&Refresh TNC List": the position in `fresh` of the file chosen at `index` in
// `old`, else 0 ("[None]").
int TncTypeIndexAfterRefresh(const std::vector<TncTypeChoice>& old, int index,
                             const std::vector<TncTypeChoice>& fresh);

// A KISS parameter field: a whole number 0-255, else -1 (the TNC keeps its own value).
int32_t KissParameterFromText(const std::string& text);
std::string KissParameterText(int32_t value);

// Whether a field of the TNC, GPS or Net page can be edited while the page shows `shown`:
// with "Enabled" clear only the fields gated kAlways can. The serial line and the command
// file serve the text mode and serial KISS; the KISS parameters both KISS modes.
bool TncFieldEnabled(const CTncSettings& shown, FieldGate gate);
bool GpsFieldEnabled(const CGpsSettings& shown, FieldGate gate);
bool NetFieldEnabled(const CNetSettings& shown, FieldGate gate);

}  // namespace plovane
