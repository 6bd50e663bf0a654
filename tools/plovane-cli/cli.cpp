// Command dispatch for plovane-cli.
#include "cli.h"

#include <ostream>

#include "core/version.h"

namespace plovane::cli {
namespace {

void Usage(std::ostream& out) {
    out << "usage: plovane-cli --version\n";
    out << "       plovane-cli map-info FILE\n";
    out << "       plovane-cli passcode CALL\n";
    out << "       plovane-cli run [--settings FILE.conf] [--simulate FILE]\n";
    out << "       plovane-cli decode [--each] [--mycall CALL] [--now YYYY-MM-DDTHH:MM:SS] "
           "[FILE|-]\n";
}

}  // namespace

int Run(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        Usage(err);
        return 2;
    }
    const std::string& command = args.front();
    if (command == "--version" || command == "version") {
        out << kProgramName << ' ' << kVersionText << '\n';
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
    if (command == "map-info") {
        return MapInfo(Args(args.begin() + 1, args.end()), out, err);
    }
    if (command == "--help" || command == "-h" || command == "help") {
        Usage(out);
        return 0;
    }
    err << "plovane-cli: unknown command '" << command << "'\n";
    Usage(err);
    return 2;
}

}  // namespace plovane::cli
