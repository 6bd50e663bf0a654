// SPDX-License-Identifier: GPL-3.0-or-later
// TNC command files: any bytes give a bounded list of commands, each one line ending in CR.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "comm/tnc_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const char* section : {"INIT", "RESTORE", " [init "}) {
        std::istringstream in(bytes);
        std::vector<std::string> lines;
        if (!plovane::TncFileSectionLines(in, section, lines))
            std::abort();  // memory never fails to read
        for (const std::string& line : lines) {
            if (line.empty() || line.back() != '\r')
                std::abort();
            if (line.size() > plovane::kTncFileMaxLine + 1)
                std::abort();
            if (line.find_first_of("\r\n") != line.size() - 1)
                std::abort();
            if (line.front() == '#')
                std::abort();
        }
    }
    return 0;
}
