// A label added after the others (a station drawn again alone) finds a free place among them.
#include <gtest/gtest.h>

#include "maps/label_placement.h"

namespace plovane {
namespace {

const PixelRect kArea{0, 19, 800, 619};

// Symbols on every place around (100, 100).
const std::vector<LabelRequest> kBoxedIn{
    {{100, 84}, 0, 0, 0}, {{100, 116}, 0, 0, 0}, {{60, 100}, 0, 0, 0}, {{140, 100}, 0, 0, 0},
    {{60, 84}, 0, 0, 0},  {{140, 84}, 0, 0, 0},  {{60, 116}, 0, 0, 0}, {{140, 116}, 0, 0, 0}};

TEST(LabelLayout, OneMoreLabelTakesAFreePlaceAmongThoseOnThePicture) {
    struct Case {
        const char* name;
        std::vector<LabelRequest> placed;  // the complete drawing's labels
        std::vector<PixelRect> reserved;   // drawn over the labels
        LabelRequest added;
        LabelPlacement expected;
    };
    const Case cases[] = {
        {"nothing near: right of its symbol",
         {{{500, 500}, 40, 12, 0}},
         {},
         {{100, 100}, 40, 12, 0},
         {true, {109, 94, 149, 106}}},
        {"a label already right of it: left",
         {{{100, 108}, 40, 12, 0}},  // its label reaches into the added one's right place
         {},
         {{100, 100}, 40, 12, 0},
         {true, {51, 94, 91, 106}}},
        {"at the edge: inside the area",
         {},
         {},
         {{790, 300}, 40, 12, 0},
         {true, {741, 294, 781, 306}}},
        {"the scale bar's panel right of it: left",
         {},
         {{740, 19, 790, 45}},
         {{730, 30}, 40, 12, 0},
         {true, {681, 24, 721, 36}}},
        {"boxed in by symbols: not shown",
         kBoxedIn,
         {},
         {{100, 100}, 40, 12, kLabelPriorityOther},
         {false, {}}},
        {"boxed in, but the own station's call shows",
         kBoxedIn,
         {},
         {{100, 100}, 40, 12, kLabelPriorityOwn},
         {true, {109, 94, 149, 106}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLabelLayout layout;
        layout.PlaceAll(c.placed, kArea, c.reserved);
        const LabelPlacement got = layout.PlaceOne(c.added);
        EXPECT_EQ(got.shown, c.expected.shown);
        if (c.expected.shown) {
            EXPECT_EQ(got.box, c.expected.box);
        }
    }

    // A second label at the same spot does not take the first one's place.
    CLabelLayout layout;
    layout.PlaceAll({}, kArea);
    const LabelPlacement first = layout.PlaceOne({{300, 300}, 40, 12, 0});
    const LabelPlacement second = layout.PlaceOne({{300, 300}, 40, 12, 0});
    ASSERT_TRUE(second.shown);
    EXPECT_NE(second.box, first.box);
}

}  // namespace
}  // namespace plovane
