// The own station the transmit tests report: 49 03.50 N, 72 01.75 W, a fixed station with
// PHG and a comment.
#pragma once

#include "core/geo.h"
#include "core/station_source.h"

namespace plovane::testing {

inline PositionReportData FixedStation() {
    PositionReportData r;
    r.call = "N0CALL";
    r.hasPosition = true;
    r.colatitude = ParseLatitude("4903.50N");
    r.longitude = ParseLongitude("07201.75W");
    r.symbolTable = '/';
    r.symbolCode = '-';
    r.hasPhg = true;
    r.phgPower = 25;        // code 5
    r.phgHeight = 20;       // code 1
    r.phgGain = 3;          // dB
    r.phgDirectivity = 90;  // code 2
    r.comment = "comment";
    return r;
}

}  // namespace plovane::testing
