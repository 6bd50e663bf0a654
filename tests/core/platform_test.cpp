#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/auto_reset_event.h"
#include "core/latin1.h"
#include "core/msvc_rand.h"
#include "core/profile.h"

namespace plovane {
namespace {

TEST(MsvcRand, ReproducesTheReferenceSequence) {
    // The first draws of the classic generator seeded with 1 and with 42.
    MsvcRand rand(42);
    EXPECT_EQ(rand.Next(), 175);
    EXPECT_EQ(rand.Next(), 400);
    rand.Seed(1);
    EXPECT_EQ(rand.Next(), 41);
    EXPECT_EQ(rand.Next(), 18467);
    for (int i = 0; i < 10000; ++i) {
        const int v = rand.Next();
        ASSERT_TRUE(v >= 0 && v <= MsvcRand::kMax) << v;
    }
}

TEST(Latin1, ClassifiesHighBytesAsLetters) {
    struct Case {
        unsigned char c;
        bool alpha, upper, lower, space;
        unsigned char upperForm;
    } cases[] = {
        {'a', true, false, true, false, 'A'},    {0xC4, true, true, false, false, 0xC4},
        {0xE4, true, false, true, false, 0xC4},  {0xD7, false, false, false, false, 0xD7},
        {0xDF, true, false, true, false, 0xDF},  {0xFF, true, false, true, false, 0xFF},
        {0xA0, false, false, false, true, 0xA0}, {0x1C, false, false, false, false, 0x1C},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.c));
        EXPECT_EQ(latin1::IsAlpha(c.c), c.alpha);
        EXPECT_EQ(latin1::IsUpper(c.c), c.upper);
        EXPECT_EQ(latin1::IsLower(c.c), c.lower);
        EXPECT_EQ(latin1::IsSpace(c.c), c.space);
        EXPECT_EQ(latin1::ToUpper(c.c), c.upperForm);
    }
    EXPECT_EQ(latin1::ToUpper("n0call-9 \xE4"), "N0CALL-9 \xC4");
    EXPECT_EQ(latin1::Trim(" \t x y \r\n"), "x y");
}

TEST(MemoryProfile, ReadsDefaultsWhatWasWrittenAndWholeNumbersOnly) {
    MemoryProfile profile;
    std::vector<uint8_t> blob{1};
    EXPECT_FALSE(profile.GetBinary("ToolBar", "RestoreInfo", blob));
    EXPECT_TRUE(blob.empty());
    profile.WriteBinary("ToolBar", "RestoreInfo", {0, 255, 7});
    EXPECT_TRUE(profile.GetBinary("ToolBar", "RestoreInfo", blob));
    EXPECT_EQ(blob, (std::vector<uint8_t>{0, 255, 7}));
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    EXPECT_EQ(profile.GetString("Station", "MyCall", "NOCALL"), "N0CALL-9");
    EXPECT_EQ(profile.GetString("Comm", "MyCall", "none"), "none");  // sections apart

    struct Case {
        const char* text;
        int value;
    } cases[] = {{"", 9600},   {"12x", 9600}, {"x12", 9600},   {"99999999999", 9600},
                 {" 5", 9600}, {"1.5", 9600}, {"+4800", 4800}, {"-2147483648", INT32_MIN}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        profile.WriteString("Comm", "TNCBaudRate", c.text);
        EXPECT_EQ(profile.GetInt("Comm", "TNCBaudRate", 9600), c.value);
    }
}

TEST(AutoResetEvent, ReleasesOneWaitAndResets) {
    AutoResetEvent event;
    EXPECT_FALSE(event.WaitFor(std::chrono::milliseconds(1)));
    event.Set();
    event.Set();  // signalling twice still releases once
    EXPECT_TRUE(event.WaitFor(std::chrono::milliseconds(1)));
    EXPECT_FALSE(event.WaitFor(std::chrono::milliseconds(1)));
    bool woke = false;
    std::thread waiter([&] {
        event.Wait();
        woke = true;
    });
    event.Set();
    waiter.join();
    EXPECT_TRUE(woke);
}

}  // namespace
}  // namespace plovane
