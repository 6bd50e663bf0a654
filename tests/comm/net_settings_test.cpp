// SPDX-License-Identifier: GPL-3.0-or-later
// The passcode, and the checks Open makes before it starts any thread.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/geo.h"

#include "comm/net_manager.h"
#include "comm/net_settings.h"
#include "comm/passcode.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

using testing::RecordingHost;

TEST(Passcode, MatchesPublishedValuesIgnoringCaseAndSsid) {
    // An empty SSID is cut off too; an empty call hashes to the key alone.
    struct Case {
        const char* call;
        int passcode;
    } cases[] = {
        {"n0Call-15", 13023},
        {"N0CALL-", 13023},
        {"w5isp-7", 15748},
        {"", 0x73E2 & 0x7FFF},
        // Only the first nine characters of the base call count.
        {"ABCDEFGHIJK", AprsPasscode("ABCDEFGHI")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(AprsPasscode(c.call), c.passcode);
    }
}

TEST(NetManager, OpenRefusesBadParametersWithoutStartingThreads) {
    struct Case {
        bool enabled;
        const char* host;
        const char* port;
        bool invalid;  // the error text and the error flag
    } cases[] = {
        {false, "", "", false},  // disabled: nothing at all
        {true, "  ", "23", true},         {true, "127.0.0.1", "", true},
        {true, "127.0.0.1", "abc", true}, {true, "127.0.0.1", "65536", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.host) + ":" + c.port);
        MemoryProfile profile;
        profile.WriteInt("Comm", "NetEnabled", c.enabled ? 1 : 0);
        profile.WriteString("Comm", "HostAddress", c.host);
        profile.WriteString("Comm", "HostPort", c.port);
        RecordingHost host;
        CNetManager net(host, host);
        ASSERT_TRUE(net.CreateObjects().open);
        CNetSettings settings;
        settings.Load(profile);
        net.SetSettings(settings);
        const OpenResult result = net.Open();
        EXPECT_FALSE(result.open);
        EXPECT_EQ(result.error, c.invalid ? "Invalid network connection parameters." : "");
        EXPECT_EQ(net.StatusText(), c.invalid ? "[Error] " : "");
        EXPECT_TRUE(host.posts().empty());
    }
}

// A new station gets the filtered port and its own area; what a file holds stays.
TEST(NetSettings, MissingKeysGetTheFilteredPortAndARangeRoundTheOwnPosition) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> stored;  // Comm keys
        bool typedPosition;
        const char* port;
        const char* filter;
    } cases[] = {
        {"new, position typed", {}, true, "14580", "r/48.12/-11.52/100"},
        {"new, no position", {}, false, "14580", "m/100"},
        {"stored full feed", {{"HostPort", "23"}, {"NetFilter", ""}}, true, "23", ""},
        {"stored filter only", {{"NetFilter", "b/W1AW"}}, true, "14580", "b/W1AW"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile profile;
        for (const auto& [key, value] : c.stored)
            profile.WriteString("Comm", key, value);
        if (c.typedPosition) {
            profile.WriteInt("Station", "HasInitPosit", 1);
            profile.WriteInt("Station", "Lat",
                             kEquatorColatitude - 48 * kUnitsPerDegree - 7 * 6000);
            profile.WriteInt("Station", "Lon",
                             kGreenwichLongitude - 11 * kUnitsPerDegree - 31 * 6000);
        }
        CNetSettings settings;
        settings.Load(profile);
        EXPECT_EQ(settings.hostPort, c.port);
        EXPECT_EQ(settings.netFilter, c.filter);
    }
}

}  // namespace
}  // namespace plovane
