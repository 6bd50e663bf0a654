// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of plovane-cli. Each takes its arguments (after the command word) and the
// streams to use, and returns the process exit status.
#pragma once

#include <atomic>
#include <iosfwd>
#include <string>
#include <vector>

namespace plovane {
class ConsoleHost;
}

namespace plovane::cli {

using Args = std::vector<std::string>;

int Run(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);

// decode [--each] [--mycall CALL] [--now YYYY-MM-DDTHH:MM:SS] [FILE|-]: monitor lines to JSON
// Lines (decode_command.cpp).
int Decode(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);

// map-info FILE: the map recogniser and reader on one file, as one JSON object
// (map_info.cpp).
int MapInfo(const Args& args, std::ostream& out, std::ostream& err);

// passcode CALL: the APRS-IS passcode of the call (passcode_command.cpp).
int Passcode(const Args& args, std::ostream& out, std::ostream& err);

// history CALL [--from T] [--to T] [--format json|csv|gpx|kml] [--csv weather|telemetry]
// [--db FILE]: a station's history; history --rebuild [--log DIR] [--db FILE] [--mycall CALL]
// makes the database again from the station log (history_command.cpp).
int History(const Args& args, std::ostream& out, std::ostream& err);

// run [--settings FILE.conf] [--simulate FILE]: the headless station until SIGINT/SIGTERM
// (run_command.cpp).
int RunCommand(const Args& args, std::ostream& err);

struct RunOptions {
    std::string settingsPath;  // empty: the user's settings
    std::string simulatePath;  // empty: no simulation
};
// The station itself, until `stop` is set (and the host woken); the exit status.
int RunStation(const RunOptions& options, ConsoleHost& host, const std::atomic<bool>& stop,
               std::ostream& err);

}  // namespace plovane::cli
