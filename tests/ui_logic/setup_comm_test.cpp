#include "ui/logic/setup_comm.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/profile.h"

namespace plovane {
namespace {

const std::vector<TncTypeChoice> kFiles = {
    {"/data/tnc/kenwood.tnc", "Kenwood TM-D710"},
    {"/data/tnc/kpc3.tnc", "KPC-3+"},
    {"/home/me/kpc3.tnc", "KPC-3+ (2)"},
};

// Saved to a profile, loaded, shown on the page, stored from it, saved and loaded again.
template <typename Settings, typename FromForm, typename ToForm>
Settings ThroughPageAndProfile(const Settings& stored, FromForm from, ToForm store) {
    MemoryProfile profile;
    Settings(stored).Save(profile);
    Settings loaded;
    loaded.Load(profile);
    Settings saved;
    store(from(loaded), saved);
    saved.Save(profile);
    Settings again;
    again.Load(profile);
    return again;
}

TEST(TncType, NoneFirstThenTheFilesSelectedByPath) {
    EXPECT_EQ(TncTypeTexts(kFiles),
              (std::vector<std::string>{"[None]", "Kenwood TM-D710", "KPC-3+", "KPC-3+ (2)"}));
    struct Case {
        const char* stored;
        int index;
    } cases[] = {
        {"/home/me/kpc3.tnc", 3}, {"", 0}, {"/gone.tnc", 0}, {"KPC-3+", 0},  // a name is no path
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(TncTypeIndexOf(kFiles, c.stored), c.index);
    }
    EXPECT_EQ(TncTypePathAt(kFiles, 2), "/data/tnc/kpc3.tnc");
    for (const int outside : {0, 4, -1})
        EXPECT_EQ(TncTypePathAt(kFiles, outside), "");
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
    EXPECT_EQ(TncTypeIndexAfterRefresh(kFiles, 2, {}), 0);
}

TEST(CommPages, EveryValueGoesThroughThePagesAndTheProfile) {
    CTncSettings tnc;
    tnc.enabled = true;
    tnc.baudRate = 19200;
    tnc.port = "/dev/ttyACM1";
    tnc.dataBits = 7;
    tnc.parity = "Mark";
    tnc.stopBits = "1.5";
    tnc.tncCommandFile = "/data/tnc/kpc3.tnc";
    tnc.mode = kTncKissTcp;
    tnc.kissHost = "radio.local";
    tnc.kissPort = "8101";
    tnc.kissTxDelay = 30;
    tnc.kissPersistence = 63;
    tnc.kissFullDuplex = 1;
    const auto tncFields = [](const CTncSettings& t) {
        return std::tie(t.enabled, t.baudRate, t.port, t.dataBits, t.parity, t.stopBits,
                        t.tncCommandFile, t.mode, t.kissHost, t.kissPort, t.kissTxDelay,
                        t.kissPersistence, t.kissSlotTime, t.kissFullDuplex);
    };
    EXPECT_EQ(tncFields(ThroughPageAndProfile(
                  tnc, [](const CTncSettings& s) { return TncFormFrom(s, kFiles); },
                  [](const TncForm& f, CTncSettings& s) { StoreTncForm(f, kFiles, s); })),
              tncFields(tnc));

    CGpsSettings gps;
    gps.enabled = true;
    gps.source = kGpsGpsd;
    gps.gpsdHost = "::1";
    gps.gpsdPort = "2948";
    gps.port = "/dev/ttyUSB1";
    gps.baudRate = 9600;
    gps.dataBits = 7;
    gps.parity = "Odd";
    gps.stopBits = "2";
    const auto gpsFields = [](const CGpsSettings& g) {
        return std::tie(g.enabled, g.source, g.gpsdHost, g.gpsdPort, g.port, g.baudRate, g.dataBits,
                        g.parity, g.stopBits);
    };
    EXPECT_EQ(gpsFields(ThroughPageAndProfile(gps, GpsFormFrom, StoreGpsForm)), gpsFields(gps));

    CNetSettings net;
    net.enabled = net.autoReconnect = true;
    net.hostAddress = " second.example.net";
    net.hostPort = "14580x";  // stored as typed, no checking
    net.netFilter = "r/50.1/14.4/100";
    const auto netFields = [](const CNetSettings& n) {
        return std::tie(n.enabled, n.autoReconnect, n.hostAddress, n.hostPort, n.netFilter);
    };
    EXPECT_EQ(netFields(ThroughPageAndProfile(net, NetFormFrom, StoreNetForm)), netFields(net));

    // A profile without the KISS keys: text mode, the usual port, nothing sent.
    CTncSettings fresh;
    fresh.Load(MemoryProfile());
    EXPECT_EQ(std::tie(fresh.mode, fresh.kissHost, fresh.kissPort, fresh.kissTxDelay),
              std::make_tuple(int32_t(kTncText), std::string("localhost"), std::string("8001"),
                              int32_t(-1)));
}

TEST(CommPages, KissParameterFieldsTakeWholeNumbersUpTo255) {
    const std::pair<const char*, int32_t> cases[] = {
        {"", -1},    {" 30 ", 30}, {"0", 0},   {"255", 255},
        {"256", -1}, {"1000", -1}, {"-1", -1}, {"3x", -1},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(KissParameterFromText(text), value);
    }
}

TEST(CommPages, EnablingAndValuesNoControlStandsFor) {
    TncForm tnc = TncFormFrom(CTncSettings(), kFiles);
    tnc.enabled = false;
    EXPECT_FALSE(tnc.controlsEnabled());
    CTncSettings stored;
    stored.tncCommandFile = "/x.tnc";
    StoreTncForm(tnc, kFiles, stored);  // "[None]" stores an empty path
    EXPECT_EQ(stored.tncCommandFile, "");

    struct Case {
        bool enabled;
        int source;
        bool sources, serial;
    } cases[] = {{false, 2, false, false}, {true, 1, true, false}, {true, 2, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        GpsForm form;
        form.enabled = c.enabled;
        form.source = c.source;
        EXPECT_EQ(form.sourcesEnabled(), c.sources);
        EXPECT_EQ(form.serialEnabled(), c.serial);
    }
    // A stored source no button stands for keeps its value when no button is checked.
    CGpsSettings odd;
    odd.source = 7;
    StoreGpsForm(GpsFormFrom(odd), odd);
    EXPECT_EQ(odd.source, 7);
}

}  // namespace
}  // namespace plovane
