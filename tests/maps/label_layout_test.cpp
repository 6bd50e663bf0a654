// A label added after the others (a station drawn again alone) finds a free place among them.
#include <gtest/gtest.h>

#include "maps/label_placement.h"

namespace plovane {
namespace {

TEST(LabelLayout, OneMoreLabelTakesAFreePlaceAmongThoseOnThePicture) {
    // Symbols on every place around (100, 100).
    const std::vector<LabelRequest> boxedIn{
        {{100, 84}, 0, 0, 0}, {{100, 116}, 0, 0, 0}, {{60, 100}, 0, 0, 0}, {{140, 100}, 0, 0, 0},
        {{60, 84}, 0, 0, 0},  {{140, 84}, 0, 0, 0},  {{60, 116}, 0, 0, 0}, {{140, 116}, 0, 0, 0}};
    struct Case {
        const char* name;
        std::vector<LabelRequest> placed;  // the complete drawing's labels
        std::vector<PixelRect> reserved;   // drawn over the labels
        int priority;
        LabelPlacement expected;
    };
    const Case cases[] = {
        {"a call right of it already: left",
         {{{100, 108}, 40, 12, 0}},
         {},
         0,
         {true, {51, 94, 91, 106}}},
        {"the scale bar right of it: left",
         {},
         {{110, 80, 190, 120}},
         0,
         {true, {51, 94, 91, 106}}},
        {"boxed in by symbols: not shown", boxedIn, {}, kLabelPriorityOther, {false, {}}},
        {"boxed in, the own call shows",
         boxedIn,
         {},
         kLabelPriorityOwn,
         {true, {109, 94, 149, 106}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLabelLayout layout;
        layout.PlaceAll(c.placed, {0, 19, 800, 619}, c.reserved);
        const LabelPlacement got = layout.PlaceOne({{100, 100}, 40, 12, c.priority});
        EXPECT_EQ(got.shown, c.expected.shown);
        EXPECT_EQ(got.box, c.expected.box);
    }
}

}  // namespace
}  // namespace plovane
