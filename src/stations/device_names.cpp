// Device names from destination calls.
#include "stations/device_names.h"

#include <algorithm>
#include <array>

#include "core/latin1.h"

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

// The "AP" family: the third character names the software, the rest is its version/model.
const char* FamilyName(unsigned char third) {
    switch (latin1::ToUpper(third)) {
        case 'Q':
            return "Plovane (";
        case 'D':
            return "aprsd (";
        case 'E':
            return "Pic-E (";
        case 'I':
            return "Icom (";
        case 'K':
            return "Kenwood (";
        case 'M':
            return "MacAPRS (";
        case 'P':
            return "pocketAPRS (";
        case 'R':
            return "dosAPRS (";
        case 'S':
            return "APRS+SA (";
        case 'U':
            return "UI-View (";
        case 'W':
            return "WinAPRS (";
        case 'X':
            return "X-APRS (";
        case 'Y':
            return "Yaesu (";
        case 'Z':
            return "Experimental (";
        default:
            return nullptr;
    }
}

}  // namespace

void AssignDeviceName(std::string& device, std::string_view destination) {
    if (destination == "Mic-E") {
        // A Mic-E packet tells little; a better name heard earlier stays.
        if (device.empty())
            device.assign("Mic-E/Pic-E Device");
        return;
    }
    if (destination == "TH-D7")
        return void(device.assign("Kenwood TH-D7"));
    if (destination == "TM-D700")
        return void(device.assign("Kenwood TM-D700"));
    if (destination == "APRSM")
        return void(device.assign("MacAPRS (obsolete)"));
    if (destination == "APRSW")
        return void(device.assign("WinAPRS (obsolete)"));
    if (destination == "APRS")
        return void(device.assign("APRS (unknown)"));
    if (destination.starts_with("APIC")) {
        return Assign(device, "ICQ Messaging (", destination.substr(4));
    }
    if (destination.starts_with("GPS")) {
        return Assign(device, "GPS-Equipped Tracker (", destination.substr(3));
    }
    if (destination.starts_with("AP")) {
        // e.g. APRSX is not one of the exact rows above: dosAPRS (SX).
        const char* name = destination.size() >= 3
                               ? FamilyName(static_cast<unsigned char>(destination[2]))
                               : nullptr;
        if (name == nullptr) {
            device.assign("Unknown:");
            device.append(destination);
            return;
        }
        // Kenwood radios also send Mic-E; keep a model name found that way.
        const bool kenwood = latin1::ToUpper(static_cast<unsigned char>(destination[2])) == 'K';
        if (kenwood && !device.empty())
            return;
        return Assign(device, name, destination.substr(3));
    }
    device.assign(destination);
}

std::string DeviceName(std::string_view destination, std::string_view currentDevice) {
    std::string device(currentDevice);
    AssignDeviceName(device, destination);
    return device;
}

}  // namespace plovane
