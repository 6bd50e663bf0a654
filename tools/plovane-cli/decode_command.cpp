// SPDX-License-Identifier: GPL-3.0-or-later
// plovane-cli decode: reads monitor lines as simulation playback reads them, decodes them
// with the tag "FILE>" into fresh stations and messages stores, and prints the stores as
// JSON Lines.
//
// The stores run headless: a host that shows nothing, no ports and no output scheduler. The
// settings are the defaults of a fresh installation (station limit 2000 with the own record,
// message limit 1000, tracks of other stations off, GPS off) but for the own call, --mycall.
// NMEA sentences sent as packets ("$GPRMC,...") still give their sender a position, as in
// the program.
//
// --now fixes the clock: the time is the local time and UTC alike (bias 0), so report times
// of "z", "/" and "h" time stamps, which depend on today's date, come out the same on every
// run. With --each, "line" is the line's text without its line-end bytes.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/station_log.h"
#include "cli.h"
#include "comm/gps_port.h"
#include "core/app_host.h"
#include "core/clock.h"
#include "core/date_time.h"
#include "core/latin1.h"
#include "core/line_reader.h"
#include "core/null_host.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "core/utf8.h"
#include "intake/headless_stores.h"
#include "record_json.h"

namespace plovane::cli {
namespace {

constexpr const char* kUsage =
    "usage: plovane-cli decode [--each] [--mycall CALL] [--now YYYY-MM-DDTHH:MM:SS] [FILE|-]\n";

struct DecodeOptions {
    bool each = false;
    std::string myCall = "NOCALL";
    std::optional<CDateTime> now;  // local time, taken as UTC; empty: the system clock
    std::string file = "-";
};

// The stores and the decoder, wired as the application wires them, with the own call set.
struct Stores : HeadlessStores {
    Stores(const Clock& clock, AppHost& host, const std::string& myCall)
        : HeadlessStores(clock, host, [&myCall](MemoryProfile& profile) {
              profile.WriteString(CStationSettings::kSection, "MyCall", myCall);
              // What the decoder alone makes, whatever a new installation's defaults are: no
              // tracks of other stations, the own record with the reference symbol.
              profile.WriteInt(CStationSettings::kSection, "bTrack", 0);
              profile.WriteString(CStationSettings::kSection, "Symbol", "/Z");
          }) {
        // NMEA sentences inside packets go to the sentence parser; with GPS off no line is the
        // own receiver's.
        intake.SetSentenceSink([this](std::string_view source, std::string_view destination,
                                      std::string_view path, std::string_view sentence) {
            ApplySentence(stations, source, destination, path, sentence, false);
        });
    }
};

bool IsDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return !text.empty();
}

// "YYYY-MM-DDTHH:MM:SS", optionally followed by "Z".
std::optional<CDateTime> ParseNow(std::string_view text) {
    if (text.size() == 20 && text.back() == 'Z')
        text.remove_suffix(1);
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    int parts[6] = {};
    const size_t starts[6] = {0, 5, 8, 11, 14, 17};
    const size_t lengths[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        const std::string_view digits = text.substr(starts[i], lengths[i]);
        if (!IsDigits(digits))
            return std::nullopt;
        parts[i] = std::stoi(std::string(digits));
    }
    const CDateTime now(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
    if (!now.IsValid())
        return std::nullopt;
    return now;
}

// Returns false (after saying why) when the arguments are not usable.
bool ParseOptions(const Args& args, DecodeOptions& options, std::ostream& err) {
    bool haveFile = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--each") {
            options.each = true;
        } else if (arg == "--mycall" || arg == "--now") {
            if (!hasValue) {
                err << "plovane-cli decode: " << arg << " needs a value\n";
                return false;
            }
            const std::string& value = args[++i];
            if (arg == "--mycall") {
                if (value.empty()) {
                    err << "plovane-cli decode: --mycall needs a call\n";
                    return false;
                }
                options.myCall = value;
            } else {
                options.now = ParseNow(value);
                if (!options.now) {
                    err << "plovane-cli decode: --now wants YYYY-MM-DDTHH:MM:SS, not '" << value
                        << "'\n";
                    return false;
                }
            }
        } else if (arg.size() > 1 && arg.front() == '-') {
            err << "plovane-cli decode: unknown option '" << arg << "'\n";
            return false;
        } else if (haveFile) {
            err << "plovane-cli decode: only one input file, not also '" << arg << "'\n";
            return false;
        } else {
            options.file = arg;
            haveFile = true;
        }
    }
    return true;
}

// Whether the line names the own call anywhere, in any case (as source, object, addressee
// or inside a third-party packet): only such a line can change the own record.
bool MayReachOwnRecord(std::string_view line, std::string_view myCall) {
    const auto same = [](char a, char b) {
        return latin1::ToUpper(latin1::U(a)) == latin1::ToUpper(latin1::U(b));
    };
    return std::search(line.begin(), line.end(), myCall.begin(), myCall.end(), same) != line.end();
}

void PrintStores(const Stores& stores, std::ostream& out) {
    std::string text;
    for (const CStation& station : stores.stations.Snapshot()) {
        text.clear();
        AppendStationJson(station, "station", text);
        out << text << '\n';
    }
    for (const CMessage& message : stores.messages.Snapshot()) {
        out << MessageJson(message, "message").dump() << '\n';
    }
}

// One object for one line decoded into fresh stores; the own record is left out. `text` is
// scratch space, kept from line to line.
void PrintLine(const std::string& line, const Stores& stores, std::string& text,
               std::ostream& out) {
    text.assign("{\"line\":");
    AppendTextJson(line, text);
    text += ",\"stations\":[";
    bool first = true;
    bool own = true;
    stores.stations.ForEach([&](const CStation& station) {
        if (own) {  // the list always starts with the own record
            own = false;
            return;
        }
        if (!first)
            text.push_back(',');
        first = false;
        AppendStationJson(station, {}, text);
    });
    text += "],\"messages\":[";
    first = true;
    for (const CMessage& message : stores.messages.Snapshot()) {
        if (!first)
            text.push_back(',');
        first = false;
        text += MessageJson(message).dump();
    }
    text += "]}\n";
    out << text;
}

}  // namespace

int Decode(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    DecodeOptions options;
    if (!ParseOptions(args, options, err)) {
        err << kUsage;
        return 2;
    }

    std::ifstream file;
    std::istream* input = &in;
    if (options.file != "-") {
        std::error_code error;
        if (!std::filesystem::is_directory(options.file, error)) {
            file.open(options.file, std::ios::binary);
        }
        if (!file.is_open()) {
            err << "plovane-cli decode: cannot open '" << options.file << "'\n";
            return 1;
        }
        input = &file;
    }

    std::unique_ptr<Clock> clock;
    if (options.now) {
        clock = std::make_unique<FakeClock>(*options.now, 0);
    } else {
        clock = std::make_unique<SystemClock>();
    }
    plovane::NullHost host;

    LineReader reader(*input);
    std::string line;
    LogLineFilter logLines;  // a station log's day file decodes as heard
    if (options.each) {
        // One set of stores for all lines: a line that only left records of other stations
        // gets them removed; one that may have reached the own record or the messages gets
        // fresh stores, so every line is decoded as if it were the first.
        auto stores = std::make_unique<Stores>(*clock, host, options.myCall);
        const std::string myCall = stores->stations.OwnCall();
        const uint64_t firstKey = stores->messages.NextKey();
        std::string text;
        while (reader.Next(line)) {
            logLines.Apply(line);
            stores->intake.DecodeLineAs(line, "FILE>", myCall);
            PrintLine(line, *stores, text, out);
            if (MayReachOwnRecord(line, myCall) || stores->messages.Count() != 0 ||
                stores->messages.NextKey() != firstKey) {
                stores.reset();
                stores = std::make_unique<Stores>(*clock, host, options.myCall);
            } else {
                stores->stations.RemoveOthers();
            }
        }
    } else {
        Stores stores(*clock, host, options.myCall);
        const std::string myCall = stores.stations.OwnCall();
        while (reader.Next(line)) {
            logLines.Apply(line);
            stores.intake.DecodeLineAs(line, "FILE>", myCall);
        }
        PrintStores(stores, out);
    }
    out.flush();
    if (!out) {
        err << "plovane-cli decode: cannot write the output\n";
        return 1;
    }
    return 0;
}

}  // namespace plovane::cli
