// SPDX-License-Identifier: GPL-3.0-or-later
// Symbol icon choice for stations.
#include "maps/station_icon.h"

#include "stations/station.h"

namespace plovane {

StationIcon StationIconFor(char symbolTable, char symbolCode, bool killed) {
    StationIcon icon;
    if (killed) {
        icon.index = '.' - 32;
        return icon;
    }
    // Bytes arrive as Latin-1; a code outside the strips gets no icon rather than a read
    // past its end.
    const int code = static_cast<unsigned char>(symbolCode);
    if (code >= 32 && code - 32 < kSymbolIconCount)
        icon.index = code - 32;
    if (symbolTable == '/')
        return icon;
    icon.table = IconTable::kAlternate;
    if (symbolTable >= '0' && symbolTable <= '9')
        icon.overlay = symbolTable - '0';
    else if (symbolTable >= 'A' && symbolTable <= 'Z')
        icon.overlay = symbolTable - 55;
    return icon;
}

StationIcon StationIconFor(const CStation& station) {
    return StationIconFor(station.symbolTable, station.symbolCode, station.killed);
}

}  // namespace plovane
