// SPDX-License-Identifier: GPL-3.0-or-later
// Names of the sending software or device, read from the destination call (tocall) of a
// packet or from the device tag the Mic-E decoder passes in its place.
#pragma once

#include <string>
#include <string_view>

namespace plovane {

// The device name for a destination. Some tags ("Mic-E") only name a device that is still
// unknown, so the current name is needed.
std::string DeviceName(std::string_view destination, std::string_view currentDevice);

// The same, written over `device` in place (keeps its storage; used on every packet), with
// the device's class key ("ht", "wx", ...; empty when unknown). The class points into a
// table that lives as long as the program.
void AssignDeviceName(std::string& device, std::string_view& deviceClass,
                      std::string_view destination);

}  // namespace plovane
