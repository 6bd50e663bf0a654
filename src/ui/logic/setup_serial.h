// SPDX-License-Identifier: GPL-3.0-or-later
// The serial ports the TNC and GPS setup pages offer: the nine "COMn:" names and the serial
// devices found on this machine.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace plovane {

// Most devices listed from one machine; a folder with more is cut off there.
inline constexpr size_t kMaxSerialDevices = 256;

// The serial devices below `devRoot` (normally "/dev"): ttyUSB*, ttyACM*, ttyS*, rfcomm*,
// then the links in serial/by-id, each group in natural order (ttyS2 before ttyS10). Paths
// are `devRoot` joined with the name; a missing or unreadable folder gives nothing.
std::vector<std::string> SerialDevices(const std::filesystem::path& devRoot);

// "COM1:" to "COM9:" followed by the devices found.
std::vector<std::string> SerialPortChoices(const std::filesystem::path& devRoot);

// The position of the entry equal to `text`, or -1.
int IndexOfText(const std::vector<std::string>& entries, std::string_view text);

}  // namespace plovane
