// SPDX-License-Identifier: GPL-3.0-or-later
// The serial lists of the TNC and GPS setup pages: the ports (the nine "COMn:" names and the
// serial devices found on this machine), baud rates, data bits, parity and stop bits, the
// selection made from stored values and the values stored back from a selection.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace plovane {

inline constexpr std::array<int32_t, 13> kBaudRates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200};
inline constexpr std::array<int32_t, 2> kDataBits = {7, 8};
inline constexpr std::array<const char*, 5> kParityNames = {"None", "Odd", "Even", "Mark", "Space"};
inline constexpr std::array<const char*, 3> kStopBitsNames = {"1", "1.5", "2"};

// Most devices listed from one machine; a folder with more is cut off there.
inline constexpr size_t kMaxSerialDevices = 256;

// The serial devices below `devRoot` (normally "/dev"): ttyUSB*, ttyACM*, ttyS*, rfcomm*,
// then the links in serial/by-id, each group in natural order (ttyS2 before ttyS10). Paths
// are `devRoot` joined with the name; a missing or unreadable folder gives nothing.
std::vector<std::string> SerialDevices(const std::filesystem::path& devRoot);

// "COM1:" to "COM9:" followed by the devices found.
std::vector<std::string> SerialPortChoices(const std::filesystem::path& devRoot);

// The texts of the lists, in list order.
std::vector<std::string> BaudRateTexts();
std::vector<std::string> DataBitsTexts();
std::vector<std::string> ParityTexts();
std::vector<std::string> StopBitsTexts();

// The position of the entry equal to `text`, or -1.
int IndexOfText(const std::vector<std::string>& entries, std::string_view text);

// What the serial controls of a page show: the port as typed or chosen, and the positions of
// the other lists (-1: nothing selected).
struct SerialForm {
    std::string port;
    int baudRate = -1;
    int dataBits = -1;
    int parity = -1;
    int stopBits = -1;
};

// The stored values of one port, as the settings records keep them.
struct SerialValues {
    std::string port;
    int32_t baudRate = 0;
    int32_t dataBits = 0;
    std::string parity;
    std::string stopBits;
};

// Selects the entries whose texts equal the stored values (numbers as decimal text). The
// parity is stored as its first letter by default ("N"), and only that letter counts, so a
// value equal to no name selects the name with the same first letter.
SerialForm SerialFormFrom(const SerialValues& stored);
// Writes the selected entries back; a list with nothing selected, or a port left empty,
// leaves its stored value as it was. The port text is kept as typed but for blanks at
// either end.
void StoreSerialForm(const SerialForm& form, SerialValues& stored);

}  // namespace plovane
