// SPDX-License-Identifier: GPL-3.0-or-later
// make-device-ids INDEX OUTPUT: writes data/device-ids/device_ids.inc from the APRS device
// identification index (tocalls.yaml). The table keeps the index's licence (CC BY-SA 2.0).
#include <fstream>
#include <iostream>

#include "device_ids_convert.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make-device-ids tocalls.yaml device_ids.inc\n";
        return 2;
    }
    std::ifstream index(argv[1], std::ios::binary);
    if (!index) {
        std::cerr << "make-device-ids: cannot open '" << argv[1] << "'\n";
        return 1;
    }
    std::string error;
    const std::string table = plovane::tools::ConvertDeviceIds(index, error);
    if (table.empty()) {
        std::cerr << "make-device-ids: " << argv[1] << ": " << error << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << "// APRS device identification table, made by tools/device-ids (make-device-ids) from\n"
           "// the APRS device identification index (tocalls.yaml) maintained by Hessu, OH7LZB,\n"
           "// for aprs.fi: https://github.com/aprsorg/aprs-deviceid\n"
           "// Licence: CC BY-SA 2.0 (http://creativecommons.org/licenses/by-sa/2.0/), as the\n"
           "// index; this file is data, not part of the program's GPL code. Do not edit by hand:\n"
           "// run make-device-ids again.\n"
        << table;
    if (!out.flush()) {
        std::cerr << "make-device-ids: cannot write '" << argv[2] << "'\n";
        return 1;
    }
    return 0;
}
