#include "ui/logic/setup_comm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/profile.h"

namespace plovane {
namespace {

const std::vector<TncTypeChoice> kFiles = {
    {"/data/tnc/kenwood.tnc", "Kenwood TM-D710"},
    {"/data/tnc/kpc3.tnc", "KPC-3+"},
    {"/home/me/kpc3.tnc", "KPC-3+ (2)"},
};

TEST(TncType, NoneFirstThenTheFilesSelectedByPath) {
    const std::vector<std::string> texts = {"[None]", "Kenwood TM-D710", "KPC-3+", "KPC-3+ (2)"};
    EXPECT_EQ(TncTypeTexts(kFiles), texts);
    EXPECT_EQ(TncTypeTexts({}), std::vector<std::string>{"[None]"});

    struct Case {
        const char* stored;
        int index;
    } cases[] = {
        {"/home/me/kpc3.tnc", 3},
        {"/data/tnc/kenwood.tnc", 1},
        {"", 0},
        {"/gone.tnc", 0},
        {"KPC-3+", 0},  // a name is not a path
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(TncTypeIndexOf(kFiles, c.stored), c.index);
    }
    EXPECT_EQ(TncTypePathAt(kFiles, 2), "/data/tnc/kpc3.tnc");
    EXPECT_EQ(TncTypePathAt(kFiles, 0), "");
    EXPECT_EQ(TncTypePathAt(kFiles, 4), "");
    EXPECT_EQ(TncTypePathAt(kFiles, -1), "");
}

TEST(TncType, RefreshKeepsTheChosenFileWhereverItMovedElseNone) {
    const std::vector<TncTypeChoice> fresh = {
        {"/data/tnc/alinco.tnc", "Alinco"},
        {"/home/me/kpc3.tnc", "KPC-3+ (2)"},
        {"/data/tnc/kpc3.tnc", "KPC-3+"},
    };
    EXPECT_EQ(TncTypeIndexAfterRefresh(kFiles, 3, fresh), 2);
    EXPECT_EQ(TncTypeIndexAfterRefresh(kFiles, 2, fresh), 3);
    EXPECT_EQ(TncTypeIndexAfterRefresh(kFiles, 1, fresh), 0);  // Kenwood is gone
    EXPECT_EQ(TncTypeIndexAfterRefresh(kFiles, 0, fresh), 0);
    EXPECT_EQ(TncTypeIndexAfterRefresh(kFiles, 2, {}), 0);
}

TEST(TncForm, EveryValueGoesThroughThePageAndTheProfile) {
    MemoryProfile profile;
    CTncSettings stored;
    stored.enabled = true;
    stored.baudRate = 19200;
    stored.port = "/dev/ttyACM1";
    stored.dataBits = 7;
    stored.parity = "Mark";
    stored.stopBits = "1.5";
    stored.tncCommandFile = "/data/tnc/kpc3.tnc";
    stored.Save(profile);

    CTncSettings loaded;
    loaded.Load(profile);
    const TncForm form = TncFormFrom(loaded, kFiles);
    EXPECT_TRUE(form.controlsEnabled());
    EXPECT_EQ(form.type, 2);
    CTncSettings saved;
    StoreTncForm(form, kFiles, saved);
    saved.Save(profile);

    CTncSettings again;
    again.Load(profile);
    EXPECT_EQ(again.enabled, true);
    EXPECT_EQ(again.baudRate, 19200);
    EXPECT_EQ(again.port, "/dev/ttyACM1");
    EXPECT_EQ(again.dataBits, 7);
    EXPECT_EQ(again.parity, "Mark");
    EXPECT_EQ(again.stopBits, "1.5");
    EXPECT_EQ(again.tncCommandFile, "/data/tnc/kpc3.tnc");

    // "[None]" stores an empty path; clearing "TNC &Enabled" disables the rest.
    TncForm none = form;
    none.type = 0;
    none.enabled = false;
    EXPECT_FALSE(none.controlsEnabled());
    StoreTncForm(none, kFiles, again);
    EXPECT_EQ(again.tncCommandFile, "");
    EXPECT_FALSE(again.enabled);
}

TEST(GpsForm, SourcesFollowEnabledAndTheSerialListsTheThirdSource) {
    struct Case {
        bool enabled;
        int source;
        bool sources, serial;
    } cases[] = {
        {false, 0, false, false}, {false, 2, false, false}, {true, 0, true, false},
        {true, 1, true, false},   {true, 2, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.enabled) + " " + std::to_string(c.source));
        GpsForm form;
        form.enabled = c.enabled;
        form.source = c.source;
        EXPECT_EQ(form.sourcesEnabled(), c.sources);
        EXPECT_EQ(form.serialEnabled(), c.serial);
    }
}

TEST(GpsForm, EveryValueGoesThroughThePageAndTheProfile) {
    MemoryProfile profile;
    CGpsSettings stored;
    stored.enabled = true;
    stored.source = kGpsSerialPort;
    stored.port = "/dev/ttyUSB1";
    stored.baudRate = 9600;
    stored.dataBits = 7;
    stored.parity = "Odd";
    stored.stopBits = "2";
    stored.Save(profile);

    CGpsSettings loaded;
    loaded.Load(profile);
    CGpsSettings saved;
    StoreGpsForm(GpsFormFrom(loaded), saved);
    saved.Save(profile);
    CGpsSettings again;
    again.Load(profile);
    EXPECT_TRUE(again.enabled);
    EXPECT_EQ(again.source, kGpsSerialPort);
    EXPECT_EQ(again.port, "/dev/ttyUSB1");
    EXPECT_EQ(again.baudRate, 9600);
    EXPECT_EQ(again.dataBits, 7);
    EXPECT_EQ(again.parity, "Odd");
    EXPECT_EQ(again.stopBits, "2");

    // A stored source no button stands for keeps its value when no button is checked.
    CGpsSettings odd;
    odd.source = 7;
    GpsForm form = GpsFormFrom(odd);
    StoreGpsForm(form, odd);
    EXPECT_EQ(odd.source, 7);
    form.source = kGpsFromTncPolled;
    StoreGpsForm(form, odd);
    EXPECT_EQ(odd.source, kGpsFromTncPolled);
}

TEST(NetForm, EveryValueGoesThroughThePageAndTheProfileAsTyped) {
    MemoryProfile profile;
    CNetSettings stored;
    stored.enabled = true;
    stored.autoReconnect = true;
    stored.hostAddress = " second.example.net";
    stored.hostPort = "14580x";  // stored as typed, no checking
    stored.netFilter = "r/50.1/14.4/100";
    stored.Save(profile);

    CNetSettings loaded;
    loaded.Load(profile);
    const NetForm form = NetFormFrom(loaded);
    EXPECT_TRUE(form.inputsEnabled());
    CNetSettings saved;
    StoreNetForm(form, saved);
    saved.Save(profile);
    CNetSettings again;
    again.Load(profile);
    EXPECT_TRUE(again.enabled);
    EXPECT_TRUE(again.autoReconnect);
    EXPECT_EQ(again.hostAddress, " second.example.net");
    EXPECT_EQ(again.hostPort, "14580x");
    EXPECT_EQ(again.netFilter, "r/50.1/14.4/100");

    NetForm off = form;
    off.enabled = false;
    EXPECT_FALSE(off.inputsEnabled());
}

}  // namespace
}  // namespace plovane
