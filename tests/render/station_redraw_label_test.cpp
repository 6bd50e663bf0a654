// A station drawn again alone (one station changed) puts its call where the complete drawing
// placed it, not at a fixed place beside the icon.
#include <gtest/gtest.h>

#include "render_rig.h"

namespace plovane {
namespace {

using testing::RenderRig;

bool Dark(const QColor& p) {
    return p.red() + p.green() + p.blue() < 3 * 128;
}

TEST(StationRedraw, AloneItShowsNothingTheCompleteDrawingDidNot) {
    // A halo onto the target, or an opaque box into the picture copy.
    for (const bool offScreen : {false, true}) {
        SCOPED_TRACE(offScreen ? "opaque, picture copy" : "halo, target");
        RenderRig rig;
        rig.options.IconLabels = true;
        rig.options.OpaqueLabels = rig.options.UseOffScreenBitmaps = offScreen;
        rig.map.loaded = false;  // a white map: only stations and their calls
        // A crowd on an 18-pixel grid: symbols never overlap, most calls find no free place.
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 9; ++column) {
                rig.Place("N" + std::to_string(row) + "C" + std::to_string(column) + "-1", "/-",
                          20 + 18 * column, 20 + 18 * row);
            }
        }
        ASSERT_TRUE(rig.Draw());
        const QImage complete = rig.image.copy();

        std::vector<CStation> crowd;  // copied: drawing looks the station up under the lock
        rig.stations.ForEach([&](const CStation& s) {
            if (s.hasPosition)
                crowd.push_back(s);
        });
        int withLabel = 0;
        for (const CStation& s : crowd) {
            SCOPED_TRACE(s.call);
            QImage alone(RenderRig::kWidth, RenderRig::kHeight, QImage::Format_RGB32);
            alone.fill(Qt::white);
            if (offScreen) {
                QPainter(&rig.renderer.bitmaps().picture()).fillRect(alone.rect(), Qt::white);
                ASSERT_TRUE(rig.renderer.DrawStation(nullptr, rig.Scene(), s.call));
                alone = rig.renderer.bitmaps().picture().copy(alone.rect());
            } else {
                QPainter painter(&alone);
                ASSERT_TRUE(rig.renderer.DrawStation(&painter, rig.Scene(), s.call));
            }
            const PixelPoint at = rig.view.MapToScreen(s.position.longitude, s.position.colatitude);
            const QRect icon(at.x - 8, at.y - 8, 16, 16);
            int outsideIcon = 0;
            for (int y = RenderRig::kHeight - 200; y < RenderRig::kHeight; ++y) {
                for (int x = 0; x < RenderRig::kWidth; ++x) {
                    if (!Dark(QColor::fromRgb(alone.pixel(x, y))))
                        continue;
                    outsideIcon += icon.contains(x, y) ? 0 : 1;
                    ASSERT_NE(complete.pixel(x, y), QColor(Qt::white).rgb())
                        << "drawn alone at " << x << "," << y;
                }
            }
            withLabel += outsideIcon > 0 ? 1 : 0;
        }
        // Some calls found a place and were drawn again; most did not.
        EXPECT_GE(withLabel, 3);
        EXPECT_LT(withLabel, 60);
    }
}

}  // namespace
}  // namespace plovane
