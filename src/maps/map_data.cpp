// The map held by the document: its empty state and the Palm date conversion.
#include "maps/map_data.h"

#include "maps/map_reader.h"

namespace plovane {
namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

void CMapData::Clear() {
    loaded = false;
    fitted = false;
    points.clear();
    points.shrink_to_fit();
    labels.clear();
    labels.shrink_to_fit();
    formatText.clear();
    versionText.clear();
    name.clear();
    headerText.clear();
    created = clock_->Now();
    modified = created;
    left = 0;
    right = kMaxLongitude;
    top = 0;
    bottom = kMaxColatitude;
}

bool CMapData::Load(std::istream& file, std::string_view path, AppHost& host) {
    ReadMap(*this, file, path, host);
    return loaded;
}

CDateTime PalmDateToDateTime(uint32_t seconds) {
    constexpr uint32_t kDay = 86400;
    int year = 1904;
    uint32_t rest = seconds;
    for (;;) {
        const uint32_t yearLength = (IsLeapYear(year) ? 366u : 365u) * kDay;
        if (rest < yearLength)
            break;
        rest -= yearLength;
        ++year;
    }
    const int monthLengths[12] = {
        31, IsLeapYear(year) ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    uint32_t days = rest / kDay;
    rest %= kDay;
    int month = 0;
    while (days >= static_cast<uint32_t>(monthLengths[month])) {
        days -= static_cast<uint32_t>(monthLengths[month]);
        ++month;
    }
    const int hour = static_cast<int>(rest / 3600);
    const int minute = static_cast<int>(rest % 3600 / 60);
    const int second = static_cast<int>(rest % 60);
    return CDateTime(year, month + 1, static_cast<int>(days) + 1, hour, minute, second);
}

}  // namespace plovane
