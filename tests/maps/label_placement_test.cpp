// SPDX-License-Identifier: GPL-3.0-or-later
// Station calls never pile up: placement around the symbol, and its priorities.
#include "maps/label_placement.h"

#include <gtest/gtest.h>

namespace plovane {
namespace {

const PixelRect kArea{0, 19, 800, 619};

TEST(LabelPlacement, ALabelTakesTheFirstFreePlaceAroundItsSymbol) {
    struct Case {
        const char* name;
        std::vector<LabelRequest> requests;
        size_t index;  // the label checked
        PixelRect box;
    };
    const Case cases[] = {
        {"alone: right of the symbol", {{{100, 100}, 40, 12, 0}}, 0, {109, 94, 149, 106}},
        {"at the right edge: left of it", {{{790, 100}, 40, 12, 0}}, 0, {741, 94, 781, 106}},
        {"a symbol to the right: left of it",
         {{{100, 100}, 40, 12, 0}, {{125, 100}, 0, 0, 0}},
         0,
         {51, 94, 91, 106}},
        {"two on one spot: the second goes to the left",
         {{{300, 300}, 40, 12, 0}, {{300, 300}, 40, 12, 0}},
         1,
         {251, 294, 291, 306}},
        {"the own station wins the right-hand place",
         {{{300, 300}, 40, 12, kLabelPriorityOther}, {{300, 300}, 40, 12, kLabelPriorityOwn}},
         1,
         {309, 294, 349, 306}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto placed = PlaceLabels(c.requests, kArea);
        ASSERT_EQ(placed.size(), c.requests.size());
        ASSERT_TRUE(placed[c.index].shown);
        EXPECT_EQ(placed[c.index].box, c.box);
    }
    CLabelLayout layout;  // one more label (a station redrawn alone) among those placed
    layout.PlaceAll({{{100, 108}, 40, 12, 0}}, kArea, {});
    EXPECT_EQ(layout.PlaceOne({{100, 100}, 40, 12, 0}).box, (PixelRect{51, 94, 91, 106}));
}

}  // namespace
}  // namespace plovane
