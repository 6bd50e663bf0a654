// SPDX-License-Identifier: GPL-3.0-or-later
// Serial lists of the communications setup pages.
#include "ui/logic/setup_serial.h"

#include <algorithm>
#include <system_error>

namespace plovane {
namespace {

bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

// Names with their digit runs compared as numbers: "ttyS2" < "ttyS10".
bool NaturalLess(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigitChar(a[i]) && IsDigitChar(b[j])) {
            size_t endA = i;
            size_t endB = j;
            while (endA < a.size() && IsDigitChar(a[endA]))
                ++endA;
            while (endB < b.size() && IsDigitChar(b[endB]))
                ++endB;
            std::string_view runA = a.substr(i, endA - i);
            std::string_view runB = b.substr(j, endB - j);
            while (runA.size() > 1 && runA.front() == '0')
                runA.remove_prefix(1);
            while (runB.size() > 1 && runB.front() == '0')
                runB.remove_prefix(1);
            if (runA.size() != runB.size())
                return runA.size() < runB.size();
            if (runA != runB)
                return runA < runB;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

// The entries of `folder` whose names start with `prefix` (every entry for an empty one),
// in natural order, appended to `out` while it holds fewer than kMaxSerialDevices.
void AddDevices(const std::filesystem::path& folder, std::string_view prefix,
                std::vector<std::string>& out) {
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error)
        return;
    std::vector<std::string> names;
    // A folder with a huge number of matching names is not read to its end: the list is
    // sorted from a bounded first part of it.
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        std::string name = it->path().filename().string();
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
            names.push_back(std::move(name));
            if (names.size() >= kMaxSerialDevices * 16)
                break;
        }
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    for (const std::string& name : names) {
        if (out.size() >= kMaxSerialDevices)
            return;
        out.push_back((folder / name).string());
    }
}

}  // namespace

std::vector<std::string> SerialDevices(const std::filesystem::path& devRoot) {
    std::vector<std::string> devices;
    for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS", "rfcomm"}) {
        AddDevices(devRoot, prefix, devices);
    }
    AddDevices(devRoot / "serial" / "by-id", "", devices);
    return devices;
}

std::vector<std::string> SerialPortChoices(const std::filesystem::path& devRoot) {
    std::vector<std::string> choices;
    for (int n = 1; n <= 9; ++n) {
        choices.push_back("COM" + std::to_string(n) + ":");
    }
    for (std::string& device : SerialDevices(devRoot)) {
        choices.push_back(std::move(device));
    }
    return choices;
}

int IndexOfText(const std::vector<std::string>& entries, std::string_view text) {
    const auto it = std::find(entries.begin(), entries.end(), text);
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

}  // namespace plovane
