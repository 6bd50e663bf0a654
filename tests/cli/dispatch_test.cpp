// SPDX-License-Identifier: GPL-3.0-or-later
// plovane-cli's command line: help, version, usage with status 2 for anything
// unknown, and the arguments a command refuses.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli.h"
#include "core/version.h"

namespace plovane::cli {
namespace {

TEST(Dispatch, HelpVersionUnknownCommandsAndRefusedArguments) {
    struct Case {
        Args args;
        int status;
        std::string outStart;  // what stdout starts with
        std::string err;       // what stderr holds (from its start but for decode)
    };
    const Case cases[] = {
        {{"--version"}, 0, std::string("plovane-cli ") + kVersionText + "\n", ""},
        {{"--help"}, 0, "usage: plovane-cli decode", ""},
        {{"-h"}, 0, "usage: plovane-cli decode", ""},
        {{}, 2, "", "usage: plovane-cli decode"},
        {{"frobnicate"}, 2, "", "plovane-cli: unknown command 'frobnicate'\nusage: "},
        {{"--verbose", "decode"}, 2, "", "plovane-cli: unknown command '--verbose'\nusage: "},
        {{"decode", "--bogus"}, 2, "", "unknown option '--bogus'"},
        {{"decode", "--mycall"}, 2, "", "--mycall needs a value"},
        {{"decode", "--mycall", ""}, 2, "", "--mycall needs a call"},
        {{"decode", "--now", "2026-03-15 12:00:00"}, 2, "", "--now wants"},
        {{"decode", "a.txt", "b.txt"}, 2, "", "only one input file"},
        {{"decode", "/nonexistent/sample.txt"}, 1, "", "cannot open '/nonexistent/sample.txt'"},
        {{"decode", PLOVANE_TEST_DATA_DIR}, 1, "", "cannot open"},  // a folder
        {{"map-info"}, 2, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::istringstream in("KD0ST>APRS:>hi\n");
        std::ostringstream out, err;
        EXPECT_EQ(cli::Run(c.args, in, out, err), c.status);
        EXPECT_EQ(out.str().rfind(c.outStart, 0), 0u) << out.str();
        const size_t at = err.str().find(c.err);
        EXPECT_TRUE(c.args.empty() || c.args[0] != "decode" ? at == 0 : at != std::string::npos)
            << err.str();
        // The help lists every command; an error goes to stderr only.
        if (c.status == 0 && c.args.front() != "--version") {
            for (const char* command : {"decode", "map-info", "passcode", "run"})
                EXPECT_NE(out.str().find(std::string("\n  ") + command), std::string::npos)
                    << command;
        }
        if (c.status != 0) {
            EXPECT_TRUE(out.str().empty());
        }
    }
}

}  // namespace
}  // namespace plovane::cli
