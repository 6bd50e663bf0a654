// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/auto_reset_event.h"
#include "core/latin1.h"
#include "core/msvc_rand.h"

namespace plovane {
namespace {

// The first draws of the classic generator seeded with 42 and with 1.
TEST(MsvcRand, ReproducesTheReferenceSequence) {
    MsvcRand rand(42);
    EXPECT_EQ(rand.Next(), 175);
    rand.Seed(1);
    EXPECT_EQ(rand.Next(), 41);
    EXPECT_EQ(rand.Next(), 18467);
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

TEST(AutoResetEvent, ReleasesOneWaitAndResets) {
    AutoResetEvent event;
    event.Set();
    event.Set();  // signalling twice still releases once
    EXPECT_TRUE(event.WaitFor(std::chrono::milliseconds(1)));
    EXPECT_FALSE(event.WaitFor(std::chrono::milliseconds(1)));
    std::thread waiter([&] { event.Wait(); });
    event.Set();
    waiter.join();
}

}  // namespace
}  // namespace plovane
