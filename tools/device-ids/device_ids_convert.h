// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the APRS device identification index (tocalls.yaml) into the table the program
// builds in: one line per device class, Mic-E suffix, Kenwood Mic-E type and destination.
#pragma once

#include <istream>
#include <string>

namespace plovane::tools {

// The table text, or an empty string with `error` set when the index cannot be read.
std::string ConvertDeviceIds(std::istream& index, std::string& error);

}  // namespace plovane::tools
