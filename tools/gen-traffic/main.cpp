// SPDX-License-Identifier: GPL-3.0-or-later
// gen-traffic: writes synthetic APRS monitor lines to standard output, for simulation files
// and benchmarks. The same options give the same lines on every machine.
//
//   gen-traffic [--lines N] [--stations N] [--seed S] [--region LAT,LON,RADIUS_KM]
//
// The bundled sample simulation (Puget Sound) is made with
//   gen-traffic --lines 3000 --stations 110 --seed 3 --region 47.6,-122.4,45 > data/sim/sample.sim
// and the decoder benchmark's input with
//   gen-traffic --lines 1000000 --stations 12000
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "traffic.h"

namespace {

void Usage() {
    std::fputs(
        "usage: gen-traffic [--lines N] [--stations N] [--seed S] "
        "[--region LAT,LON,RADIUS_KM]\n",
        stderr);
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseRegion(std::string_view text, plovane::traffic::Region& region) {
    // Three comma-separated decimal numbers; strtod needs a terminated copy.
    const std::string copy(text);
    const char* p = copy.c_str();
    double parts[3];
    for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        parts[i] = std::strtod(p, &end);
        if (end == p)
            return false;
        p = end;
        if (i < 2) {
            if (*p != ',')
                return false;
            ++p;
        }
    }
    if (*p != '\0')
        return false;
    if (parts[0] < -85 || parts[0] > 85 || parts[1] < -180 || parts[1] > 180 || parts[2] <= 0 ||
        parts[2] > 2000) {
        return false;
    }
    region.lat = parts[0];
    region.lon = parts[1];
    region.radiusKm = parts[2];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    plovane::traffic::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        }
        if (i + 1 >= argc) {
            Usage();
            return 2;
        }
        const std::string_view value = argv[++i];
        bool ok = false;
        if (arg == "--lines") {
            ok = ParseNumber(value, options.lines) && options.lines >= 0;
        } else if (arg == "--stations") {
            ok = ParseNumber(value, options.stations) && options.stations >= 1 &&
                 options.stations <= 1000000;
        } else if (arg == "--seed") {
            ok = ParseNumber(value, options.seed);
        } else if (arg == "--region") {
            ok = ParseRegion(value, options.region);
        }
        if (!ok) {
            std::fprintf(stderr, "gen-traffic: bad option %s %s\n", argv[i - 1], argv[i]);
            Usage();
            return 2;
        }
    }

    plovane::traffic::Generator generator(options);
    std::string chunk;
    auto flush = [&chunk]() {
        const bool ok = std::fwrite(chunk.data(), 1, chunk.size(), stdout) == chunk.size();
        chunk.clear();
        return ok;
    };
    for (long n = 0; n < options.lines; ++n) {
        chunk += generator.NextLine();
        chunk += '\n';
        if (chunk.size() >= (1 << 16) && !flush())
            return 1;
    }
    return flush() && std::fflush(stdout) == 0 ? 0 : 1;
}
