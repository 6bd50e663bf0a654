// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled world map and sample simulation, whole and zoomed in; the pictures are saved
// in the test's temporary folder for a person to look at.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "intake/packet_intake.h"
#include "maps/map_file.h"
#include "maps/render/map_renderer.h"
#include "render/render_rig.h"

namespace plovane {
namespace {

using testing::CountColour;

struct SampleScene {
    SampleScene() {
        MapProgress silent;
        MapReadResult read =
            ReadMapFile(std::string(PLOVANE_SOURCE_DIR) + "/data/maps/world.map", silent);
        loaded = read.ok();
        rig.map = std::move(read.map);
        std::ifstream sim(std::string(PLOVANE_SOURCE_DIR) + "/data/sim/sample.sim");
        std::string line;
        while (std::getline(sim, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            decoder.DecodeLine(line, "FILE>");
        }
        rig.view.Resize(800, 619);
        rig.image = QImage(800, 619, QImage::Format_RGB32);
    }

    int Shown() {
        int n = 0;
        rig.stations.ForEach([&](const CStation& s) { n += s.shownOnMap; });
        return n;
    }

    void Save(const char* name) {
        const std::string path = ::testing::TempDir() + name;
        EXPECT_TRUE(rig.image.save(QString::fromStdString(path)));
        std::printf("picture: %s\n", path.c_str());
    }

    testing::RenderRig rig;
    CPacketIntake decoder{rig.clock, PacketTargets{rig.host, rig.stations}};
    bool loaded = false;
};

TEST(SampleRender, WorldMapWithTheSampleSimulation) {
    SampleScene scene;
    ASSERT_TRUE(scene.loaded);
    ASSERT_GT(scene.rig.stations.Count(), 100u);

    // The whole world: coastlines in dark blue, the stations one cluster near Seattle.
    ASSERT_TRUE(scene.rig.Draw());
    scene.Save("render_sample_world.png");
    EXPECT_GT(CountColour(scene.rig.image, QRect(0, 19, 800, 600), QColor(0, 0, 192)), 2000);
    EXPECT_GT(scene.Shown(), 80);
    // Seattle (47.6 N, 122.3 W) lies about 1/4 down the world, whose height fills the area.
    const PixelPoint seattle =
        scene.rig.view.MapToScreen(int32_t((180 - 122.3) * 360000), int32_t((90 - 47.6) * 360000));
    EXPECT_NEAR(seattle.y, 19 + 600 * (90 - 47.6) / 180, 2);

    // Zoomed in on Puget Sound with every station option on.
    CMapOptions& o = scene.rig.options;
    o.IconLabels = o.ShowTracks = o.ShowCourseSpeed = o.ShowWX = true;
    for (int i = 0; i < 8; ++i)
        scene.rig.view.ZoomIn();
    scene.rig.view.CenterOn(int32_t((90 - 47.6) * 360000), int32_t((180 - 122.4) * 360000));
    ASSERT_TRUE(scene.rig.Draw());
    scene.Save("render_sample_sound.png");
    EXPECT_GT(scene.Shown(), 50);
    EXPECT_GT(CountColour(scene.rig.image, QRect(0, 19, 800, 600), QColor(255, 0, 0)), 200);
    EXPECT_GT(CountColour(scene.rig.image, QRect(0, 19, 800, 600), QColor(0, 0, 255)), 20);
}

}  // namespace
}  // namespace plovane
