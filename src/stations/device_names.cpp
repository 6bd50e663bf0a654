// SPDX-License-Identifier: GPL-3.0-or-later
// Device names from destination calls and Mic-E tags, over the device identification table.
#include "stations/device_names.h"

#include <algorithm>
#include <array>

#include "core/device_ids.h"

namespace plovane {
namespace {

// "prefix" + "rest" + ")", joined first so the name is written once (a new record is named
// from every packet's destination).
void Assign(std::string& device, std::string_view prefix, std::string_view rest) {
    std::array<char, 64> joined;
    const size_t size = prefix.size() + rest.size() + 1;
    if (size > joined.size()) {
        device.assign(prefix);
        device.append(rest);
        device.push_back(')');
        return;
    }
    char* end = std::copy(prefix.begin(), prefix.end(), joined.data());
    end = std::copy(rest.begin(), rest.end(), end);
    *end = ')';
    device.assign(joined.data(), size);
}

}  // namespace

void AssignDeviceName(std::string& device, std::string_view& deviceClass,
                      std::string_view destination) {
    if (destination == "Mic-E") {
        // A Mic-E packet without a device mark tells little; a name heard earlier stays.
        if (device.empty()) {
            device.assign("Mic-E/Pic-E Device");
            deviceClass = {};
        }
        return;
    }
    const device_ids::Device* known = device_ids::FindMicETag(destination);
    if (known == nullptr && destination != "APRSM" && destination != "APRSW")
        known = device_ids::FindTocall(destination);
    if (known != nullptr) {
        device.assign(known->name);
        deviceClass = known->deviceClass;
        return;
    }
    deviceClass = {};
    if (destination == "APRSM")
        return void(device.assign("MacAPRS (obsolete)"));
    if (destination == "APRSW")
        return void(device.assign("WinAPRS (obsolete)"));
    if (destination.starts_with("GPS"))
        return Assign(device, "GPS-Equipped Tracker (", destination.substr(3));
    // Our own calls; the table names the APQ calls of other software first.
    if (destination.starts_with("APQ"))
        return Assign(device, "Plovane (", destination.substr(3));
    if (destination.starts_with("AP")) {
        device.assign("Unknown:");
        device.append(destination);
        return;
    }
    device.assign(destination);
}

std::string DeviceName(std::string_view destination, std::string_view currentDevice) {
    std::string device(currentDevice);
    std::string_view deviceClass;
    AssignDeviceName(device, deviceClass, destination);
    return device;
}

}  // namespace plovane
