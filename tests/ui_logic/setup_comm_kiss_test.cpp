// The KISS and gpsd fields of the communications pages: through the page and the profile, and
// the KISS parameter fields.
#include <gtest/gtest.h>

#include <tuple>

#include "core/profile.h"
#include "ui/logic/setup_comm.h"

namespace plovane {
namespace {

TEST(CommPagesKiss, KissAndGpsdValuesGoThroughThePagesAndTheProfile) {
    CTncSettings tnc;
    tnc.enabled = true;
    tnc.mode = kTncKissTcp;
    tnc.kissHost = "radio.local";
    tnc.kissPort = "8101";
    tnc.kissTxDelay = 30;
    tnc.kissPersistence = 63;
    tnc.kissFullDuplex = 1;
    CGpsSettings gps;
    gps.enabled = true;
    gps.source = kGpsGpsd;
    gps.gpsdHost = "::1";
    gps.gpsdPort = "2948";

    MemoryProfile profile;
    tnc.Save(profile);
    gps.Save(profile);
    CTncSettings tncLoaded;
    CGpsSettings gpsLoaded;
    tncLoaded.Load(profile);
    gpsLoaded.Load(profile);
    CTncSettings tncStored;
    CGpsSettings gpsStored;
    StoreTncForm(TncFormFrom(tncLoaded, {}), {}, tncStored);
    StoreGpsForm(GpsFormFrom(gpsLoaded), gpsStored);
    const auto fields = [](const CTncSettings& t) {
        return std::tie(t.enabled, t.mode, t.kissHost, t.kissPort, t.kissTxDelay, t.kissPersistence,
                        t.kissSlotTime, t.kissFullDuplex);
    };
    EXPECT_EQ(fields(tncStored), fields(tnc));
    EXPECT_EQ(std::tie(gpsStored.source, gpsStored.gpsdHost, gpsStored.gpsdPort),
              std::tie(gps.source, gps.gpsdHost, gps.gpsdPort));

    // A profile without the new keys: text mode, the usual ports, nothing sent.
    CTncSettings fresh;
    fresh.Load(MemoryProfile());
    EXPECT_EQ(std::tie(fresh.mode, fresh.kissHost, fresh.kissPort, fresh.kissTxDelay),
              std::make_tuple(int32_t(kTncText), std::string("localhost"), std::string("8001"),
                              int32_t(-1)));
}

TEST(CommPagesKiss, KissParameterFieldsTakeWholeNumbersUpTo255) {
    const std::pair<const char*, int32_t> cases[] = {
        {"", -1},    {" 30 ", 30}, {"0", 0},   {"255", 255},
        {"256", -1}, {"1000", -1}, {"-1", -1}, {"3x", -1},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(KissParameterFromText(text), value);
    }
}

}  // namespace
}  // namespace plovane
