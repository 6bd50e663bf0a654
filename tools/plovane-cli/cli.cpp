// SPDX-License-Identifier: GPL-3.0-or-later
// Command dispatch for plovane-cli.
#include "cli.h"

#include <ostream>

#include "core/version.h"

namespace plovane::cli {
namespace {

void Usage(std::ostream& out) {
    out << "usage: plovane-cli decode [--each] [--mycall CALL] [--now YYYY-MM-DDTHH:MM:SS] "
           "[FILE|-]\n"
           "       plovane-cli history CALL [--from T] [--to T] [--format json|csv|gpx|kml]\n"
           "       plovane-cli history --rebuild [--log DIR] [--db FILE]\n"
           "       plovane-cli map-info FILE\n"
           "       plovane-cli passcode CALL\n"
           "       plovane-cli run [--settings FILE.conf] [--simulate FILE]\n"
           "       plovane-cli --help | --version\n";
}

void Help(std::ostream& out) {
    Usage(out);
    out << "\n"
           "  decode    decode monitor lines (a file, or - for standard input) and print the\n"
           "            stations and messages as JSON Lines\n"
           "  history   print a station's positions, weather, telemetry and messages from the\n"
           "            history database (JSON), its weather or telemetry as CSV, or its\n"
           "            track as GPX or KML; --rebuild makes the database from the station log\n"
           "  map-info  read a map file and print what it holds as JSON\n"
           "  passcode  print the APRS-IS passcode of a call\n"
           "  run       run the station without a screen until SIGINT or SIGTERM\n";
}

}  // namespace

int Run(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        Usage(err);
        return 2;
    }
    const std::string& command = args.front();
    if (command == "--version" || command == "version") {
        out << "plovane-cli " << kVersionText << '\n';
        return 0;
    }
    if (command == "decode") {
        return Decode(Args(args.begin() + 1, args.end()), in, out, err);
    }
    if (command == "run") {
        return RunCommand(Args(args.begin() + 1, args.end()), err);
    }
    if (command == "passcode") {
        return Passcode(Args(args.begin() + 1, args.end()), out, err);
    }
    if (command == "history") {
        return History(Args(args.begin() + 1, args.end()), out, err);
    }
    if (command == "map-info") {
        return MapInfo(Args(args.begin() + 1, args.end()), out, err);
    }
    if (command == "--help" || command == "-h" || command == "help") {
        Help(out);
        return 0;
    }
    err << "plovane-cli: unknown command '" << command << "'\n";
    Usage(err);
    return 2;
}

}  // namespace plovane::cli
