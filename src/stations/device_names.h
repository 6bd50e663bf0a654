// Names of the sending software or device, read from the destination call (tocall) of a
// packet or from the device tag the Mic-E decoder passes in its place.
#pragma once

#include <string>
#include <string_view>

namespace plovane {

// The device name for a destination. Some tags ("Mic-E", the "AP?K" family) only name a
// device that is still unknown, so the current name is needed.
std::string DeviceName(std::string_view destination, std::string_view currentDevice);

// The same, written over `device` in place (keeps its storage; used on every packet).
void AssignDeviceName(std::string& device, std::string_view destination);

}  // namespace plovane
