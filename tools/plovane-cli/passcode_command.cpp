// SPDX-License-Identifier: GPL-3.0-or-later
// plovane-cli passcode CALL: the APRS-IS passcode of a call, for the login line.
#include <ostream>

#include "cli.h"
#include "comm/passcode.h"

namespace plovane::cli {

int Passcode(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || args[0].empty()) {
        err << "usage: plovane-cli passcode CALL\n";
        return 2;
    }
    out << AprsPasscode(args[0]) << '\n';
    return 0;
}

}  // namespace plovane::cli
