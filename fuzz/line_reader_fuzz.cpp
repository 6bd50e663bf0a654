// SPDX-License-Identifier: GPL-3.0-or-later
// Line reader: any bytes, read both from memory and through a stream with a small limit.
// Every line must be non-empty, free of CR and LF, within the limit, and both ways of
// reading must agree.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_reader.h"

namespace {

constexpr size_t kLimit = 300;

std::vector<std::string> Lines(plovane::LineReader& reader) {
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) {
        if (line.empty() || line.size() > kLimit)
            std::abort();
        if (line.find_first_of("\r\n") != std::string::npos)
            std::abort();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    plovane::LineReader fromBytes(std::string_view{bytes}, kLimit);
    std::istringstream in(bytes);
    plovane::LineReader fromStream(in, kLimit);
    if (Lines(fromBytes) != Lines(fromStream))
        std::abort();
    return 0;
}
