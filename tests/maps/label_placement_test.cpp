// Station calls never pile up: placement around the symbol, priorities, and a crowded town.
#include "maps/label_placement.h"

#include <gtest/gtest.h>

#include <random>

namespace plovane {
namespace {

const PixelRect kArea{0, 19, 800, 619};

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

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
}

TEST(LabelPlacement, FiveHundredStationsInATownNeverOverlap) {
    std::mt19937 random(17);
    std::uniform_int_distribution<int> x(0, 799), y(19, 618), width(30, 70), kind(0, 9);
    std::vector<LabelRequest> requests;
    for (int i = 0; i < 500; ++i)
        requests.push_back({{x(random), y(random)}, width(random), 13, kind(random) == 0 ? 1 : 0});
    requests[250].priority = kLabelPriorityOwn;
    const auto placed = PlaceLabels(requests, kArea);
    size_t shown = 0;
    for (size_t i = 0; i < placed.size(); ++i) {
        if (!placed[i].shown)
            continue;
        ++shown;
        const PixelRect& box = placed[i].box;
        EXPECT_TRUE(box.left >= kArea.left && box.right <= kArea.right && box.top >= kArea.top &&
                    box.bottom <= kArea.bottom);
        for (size_t j = 0; j < placed.size(); ++j) {
            if (j == i)
                continue;
            const PixelPoint s = requests[j].anchor;
            if (requests[i].priority < kLabelPrioritySelected) {
                EXPECT_FALSE(Overlap(box, {s.x - 8, s.y - 8, s.x + 8, s.y + 8}))
                    << i << " on symbol " << j;
            }
            if (j > i && placed[j].shown) {
                EXPECT_FALSE(Overlap(box, placed[j].box)) << i << " and " << j;
            }
        }
    }
    EXPECT_TRUE(placed[250].shown);
    // Crowded, yet a good share of the calls still shows.
    EXPECT_GT(shown, 150u);
    EXPECT_LT(shown, 500u);
}

}  // namespace
}  // namespace plovane
