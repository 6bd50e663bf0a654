// SPDX-License-Identifier: GPL-3.0-or-later
// Where a station was heard: the first used hop of a path and the text the list shows.
#include "stations/heard_where.h"

#include <gtest/gtest.h>

namespace plovane {
namespace {

TEST(HeardWhere, NotesPortsHopsAndTheInternet) {
    struct Case {
        std::vector<std::string> lines;  // heard in this order; "N:" prefix is the port
        const char* text;
    } cases[] = {
        {{"1:K1A>APRS:>direct"}, "RF port 1"},
        {{"1:K1A>APRS,N0DIG-1*,WIDE2-1:>x"}, "RF port 1 via N0DIG-1"},
        {{"2:K1A>APRS,N0DIG-1,WIDE2*:>x"}, "RF port 2 via N0DIG-1"},
        {{"1:K1A>APRS,WIDE1-1,WIDE2-1:>not yet relayed"}, "RF port 1"},
        {{"0:K1A>APRS,TCPIP*,qAC,T2:>x", "3:K1A>APRS,DIGI*:>x"}, "RF port 3 via DIGI, Internet"},
        {{"1:K1A>APRS,DIGI*:>x", "2:K1A>APRS:>x"}, "RF ports 1, 2"},
        {{"0:K1A>APRS,TCPIP*:>x"}, "Internet"},
        {{"40:K1A>APRS:>port out of range"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        HeardWhere heard;
        for (const std::string& line : c.lines) {
            const int port = std::stoi(line);
            const std::string_view monitor = std::string_view(line).substr(line.find(':') + 1);
            heard.Note(port, port == 0 ? std::string_view() : FirstUsedHop(monitor));
        }
        EXPECT_EQ(HeardText(heard), c.text);
    }
}

}  // namespace
}  // namespace plovane
