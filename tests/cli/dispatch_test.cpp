// plovane-cli's command word: help, version, and usage with status 2 for anything unknown.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli.h"
#include "core/version.h"

namespace plovane::cli {
namespace {

TEST(Dispatch, HelpVersionAndUnknownCommands) {
    struct Case {
        Args args;
        int status;
        std::string outStart;  // what stdout starts with
        const char* errStart;  // what stderr starts with
    };
    const Case cases[] = {
        {{"--version"}, 0, std::string("plovane-cli ") + kVersionText + "\n", ""},
        {{"--help"}, 0, "usage: plovane-cli decode", ""},
        {{"-h"}, 0, "usage: plovane-cli decode", ""},
        {{}, 2, "", "usage: plovane-cli decode"},
        {{"frobnicate"}, 2, "", "plovane-cli: unknown command 'frobnicate'\nusage: "},
        {{"--verbose", "decode"}, 2, "", "plovane-cli: unknown command '--verbose'\nusage: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.front());
        std::istringstream in;
        std::ostringstream out, err;
        EXPECT_EQ(cli::Run(c.args, in, out, err), c.status);
        EXPECT_EQ(out.str().rfind(c.outStart, 0), 0u) << out.str();
        EXPECT_EQ(err.str().rfind(c.errStart, 0), 0u) << err.str();
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
