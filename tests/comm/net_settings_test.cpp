// The network client's pure parts: passcode, login line, settings, the status text and the
// checks Open makes before it starts any thread.
#include <gtest/gtest.h>

#include <string>

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
        {"N0CALL", 13023},  {"n0call", 13023}, {"N0CALL-9", 13023}, {"n0Call-15", 13023},
        {"N0CALL-", 13023}, {"W5ISP", 15748},  {"w5isp-7", 15748},  {"", 0x73E2 & 0x7FFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(AprsPasscode(c.call), c.passcode);
    }
}

TEST(Passcode, OnlyTheFirstNineCharactersOfTheBaseCallCount) {
    EXPECT_EQ(AprsPasscode("ABCDEFGHIJK"), AprsPasscode("ABCDEFGHI"));
    EXPECT_NE(AprsPasscode("ABCDEFGH"), AprsPasscode("ABCDEFGHI"));
    // Every result fits 15 bits, whatever the bytes.
    EXPECT_LE(AprsPasscode("\xFF\xFE\xFD\xFC"), 32767);
    EXPECT_GE(AprsPasscode("\xFF\xFE\xFD\xFC"), 0);
}

TEST(NetLogin, LineCarriesCallPasscodeVersionAndFilter) {
    struct Case {
        const char* call;
        const char* filter;
        const char* line;
    } cases[] = {
        {"N0CALL", "", "user N0CALL pass 13023 vers Plovane 1.02\r"},
        {"N0CALL-9", "", "user N0CALL-9 pass 13023 vers Plovane 1.02\r"},
        {"W5ISP", "r/50.1/14.4/100",
         "user W5ISP pass 15748 vers Plovane 1.02 filter r/50.1/14.4/100\r"},
        {"W5ISP", "  m/50  ", "user W5ISP pass 15748 vers Plovane 1.02 filter m/50\r"},
        {"W5ISP", "   ", "user W5ISP pass 15748 vers Plovane 1.02\r"},
        // A line end in the setting must not smuggle in a second line.
        {"W5ISP", "b/X*\r\nW5ISP>APRS:>x", "user W5ISP pass 15748 vers Plovane 1.02 filter b/X*\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + " / " + c.filter);
        EXPECT_EQ(NetLoginLine(c.call, c.filter), c.line);
    }
}

TEST(NetSettings, DefaultsAndRoundTrip) {
    MemoryProfile empty;
    CNetSettings loaded;
    loaded.enabled = true;
    loaded.netFilter = "stale";
    loaded.Load(empty);
    EXPECT_FALSE(loaded.enabled);
    EXPECT_FALSE(loaded.autoReconnect);
    EXPECT_EQ(loaded.hostAddress, "rotate.aprs2.net");
    EXPECT_EQ(loaded.hostPort, "23");
    EXPECT_EQ(loaded.netFilter, "");

    CNetSettings saved;
    saved.enabled = true;
    saved.autoReconnect = true;
    saved.hostAddress = "2001:db8::5";
    saved.hostPort = "14580";
    saved.netFilter = "r/50/10/200";
    MemoryProfile profile;
    saved.Save(profile);
    EXPECT_EQ(profile.GetInt("Comm", "NetEnabled", -1), 1);
    EXPECT_EQ(profile.GetInt("Comm", "AutoReconnect", -1), 1);
    EXPECT_EQ(profile.GetString("Comm", "HostAddress", ""), "2001:db8::5");
    EXPECT_EQ(profile.GetString("Comm", "HostPort", ""), "14580");
    EXPECT_EQ(profile.GetString("Comm", "NetFilter", ""), "r/50/10/200");
    CNetSettings again;
    again.Load(profile);
    EXPECT_TRUE(again.enabled);
    EXPECT_TRUE(again.autoReconnect);
    EXPECT_EQ(again.hostAddress, saved.hostAddress);
    EXPECT_EQ(again.hostPort, saved.hostPort);
    EXPECT_EQ(again.netFilter, saved.netFilter);
}

TEST(NetManager, LoadSettingsFillsTheGivenRecord) {
    MemoryProfile profile;
    profile.WriteInt("Comm", "NetEnabled", 1);
    profile.WriteString("Comm", "HostAddress", "example.net");
    RecordingHost host;
    CNetManager net(host, host);
    CNetSettings record;
    net.SetSettings(&record);
    net.LoadSettings(profile);
    EXPECT_TRUE(record.enabled);
    EXPECT_EQ(record.hostAddress, "example.net");
    EXPECT_EQ(net.loadedSettings().hostAddress, "example.net");
    EXPECT_EQ(net.loadedSettings().hostPort, "23");
}

TEST(NetManager, OpenRefusesBadParametersWithoutStartingThreads) {
    struct Case {
        bool enabled;
        const char* host;
        const char* port;
        bool invalid;  // the error text and the error flag
    } cases[] = {
        {false, "", "", false},  // disabled: nothing at all
        {true, "", "23", true},           {true, "  ", "23", true},
        {true, "127.0.0.1", "", true},    {true, "127.0.0.1", "abc", true},
        {true, "127.0.0.1", "0", true},   {true, "127.0.0.1", "65536", true},
        {true, "127.0.0.1", "-23", true},
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
        net.LoadSettings(profile);
        const OpenResult result = net.Open();
        EXPECT_FALSE(result.open);
        EXPECT_EQ(result.error, c.invalid ? "Invalid network connection parameters." : "");
        EXPECT_FALSE(net.IsOpen());
        EXPECT_FALSE(net.IsPending());
        EXPECT_EQ(net.HasError(), c.invalid);
        EXPECT_EQ(net.StatusText(), c.invalid ? "[Error] " : "");
        EXPECT_TRUE(host.boxes().empty());
        EXPECT_TRUE(host.posts().empty());
        net.Close();
        EXPECT_FALSE(net.HasError());
    }
}

TEST(NetManager, StatusTextWithoutAClient) {
    EXPECT_EQ(NetStatusText(nullptr), "Unknown - no net manager object.");
    RecordingHost host;
    CNetManager net(host, host);
    EXPECT_EQ(NetStatusText(&net), "");
}

TEST(NetManager, QueueTextWhileNotConnectedIsDropped) {
    RecordingHost host;
    CNetManager net(host, host);
    net.QueueText("N0CALL>APQ102,TCPIP*:>hello\r");
    EXPECT_FALSE(net.IsOpen());
    net.Close();
    EXPECT_TRUE(host.posts().empty());  // no echo: nothing was sent
}

}  // namespace
}  // namespace plovane
