// SPDX-License-Identifier: GPL-3.0-or-later
// Weather station descriptions.
#include "stations/weather_description.h"

#include "core/latin1.h"

namespace plovane {
namespace {

const char* SoftwareName(unsigned char letter) {
    switch (latin1::ToUpper(letter)) {
        case 'S':
            return "APRS+SA";
        case 'C':
            return "Plovane";
        case 'D':
            return "dosAPRS";
        case 'M':
            return "MacAPRS";
        case 'P':
            return "pocketAPRS";
        case 'U':
            return "UI-View";
        case 'W':
            return "WinAPRS";
        case 'X':
            return "X-APRS";
        default:
            return nullptr;
    }
}

struct UnitName {
    const char* code;
    const char* name;
};

// First match wins: "U2KR" must be tried before its prefix "U2K".
constexpr UnitName kUnits[] = {
    {"DVS", "Davis ("},       {"DAV", "Davis ("},          {"HKT", "Heathkit ("},
    {"PIC", "PIC dev ("},     {"RSW", "Radio Shack ("},    {"U-II", "U-II Auto ("},
    {"U2R", "U-II Remote ("}, {"U2KR", "Rem Ult Logger("}, {"U2K", "U500/U2000 ("},
    {"U5", "Ult 500 ("},      {"UPKM", "Ren Ult Pkt ("},
};

}  // namespace

std::string WeatherDescription(std::string_view comment) {
    if (comment.empty())
        return "Unknown";
    const char* software = SoftwareName(static_cast<unsigned char>(comment[0]));
    if (software == nullptr)
        return std::string(comment);
    if (comment.size() < 3)
        return "Unknown";
    const std::string unit = latin1::ToUpper(comment.substr(1));
    for (const UnitName& u : kUnits) {
        if (std::string_view(unit).starts_with(u.code)) {
            return std::string(u.name) + software + ")";
        }
    }
    return std::string(comment);
}

bool NamesWeatherStation(std::string_view description) {
    for (const UnitName& u : kUnits) {
        if (!description.starts_with(u.name))
            continue;
        const std::string_view software = description.substr(std::string_view(u.name).size());
        for (const char letter : std::string_view("SCDMPUWX")) {
            if (software == std::string(SoftwareName(static_cast<unsigned char>(letter))) + ")")
                return true;
        }
    }
    return false;
}

}  // namespace plovane
