// SPDX-License-Identifier: GPL-3.0-or-later
// The symbol icon strips: the stored files in data/icons, the fallback drawing, the key colour.
#include "maps/render/symbol_icons.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "render/render_rig.h"

namespace plovane {
namespace {

const IconStrip kStrips[] = {IconStrip::kPrimary, IconStrip::kAlternate, IconStrip::kOverlay};

// Every drawn icon is crisp (no half-transparent pixels) and not empty, and the stored
// strips hold exactly the drawing (a stale file, make-icons not run, shows here).
TEST(SymbolIcons, StoredStripsMatchTheCrispDrawing) {
    testing::EnsureGuiApplication();
    const CSymbolIcons stored(std::filesystem::path(PLOVANE_SOURCE_DIR) / "data" / "icons");
    for (IconStrip s : kStrips) {
        ASSERT_TRUE(stored.FromFile(s)) << IconFileName(s);
        for (int i = 0; i < IconCount(s); ++i) {
            SCOPED_TRACE(::testing::Message() << IconFileName(s) << " " << i);
            const QImage icon = PaintIcon(s, i);
            ASSERT_EQ(stored.Icon(s, i), icon);
            ASSERT_EQ(icon.size(), QSize(16, 16));
            int drawn = 0;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    const int alpha = qAlpha(icon.pixel(x, y));
                    EXPECT_TRUE(alpha == 0 || alpha == 255);
                    drawn += alpha != 0;
                }
            }
            EXPECT_GE(drawn, 4);
        }
    }
    EXPECT_TRUE(PaintIcon(IconStrip::kOverlay, 36).isNull());
    EXPECT_TRUE(PaintIcon(IconStrip::kPrimary, -1).isNull());
    EXPECT_STREQ(SymbolName(IconStrip::kAlternate, 95), "Reserved");
    EXPECT_STREQ(SymbolName(IconStrip::kPrimary, 96), "");
}

TEST(SymbolIcons, MissingOrMisshapenFilesAreDrawnInstead) {
    testing::EnsureGuiApplication();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::filesystem::path path = folder.path().toStdString();
    // A primary strip one icon short, an alternate strip that is not an image, no overlays.
    QImage(16 * 95, 16, QImage::Format_RGB32)
        .save(QString::fromStdString((path / "primary.png").string()));
    std::ofstream(path / "alternate.png") << "not a png";
    const CSymbolIcons icons(path);
    for (IconStrip s : kStrips) {
        EXPECT_FALSE(icons.FromFile(s));
        EXPECT_EQ(icons.Icon(s, 5), PaintIcon(s, 5));
    }
    EXPECT_TRUE(icons.Icon(IconStrip::kPrimary, 96).isNull());
}

TEST(SymbolIcons, KeyColourReadsAsClear) {
    testing::EnsureGuiApplication();
    QImage strip(32, 16, QImage::Format_RGB32);
    strip.fill(QColor(128, 0, 0));
    strip.setPixel(3, 4, qRgb(10, 20, 30));
    strip.setPixel(20, 5, qRgb(129, 0, 0));
    const std::vector<QImage> icons = SplitIconStrip(strip, 2);
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_EQ(icons[0].pixel(3, 4), qRgb(10, 20, 30));
    EXPECT_EQ(qAlpha(icons[0].pixel(0, 0)), 0);
    EXPECT_EQ(icons[1].pixel(4, 5), qRgb(129, 0, 0));
    EXPECT_TRUE(SplitIconStrip(strip, 3).empty());
    // A stored strip never holds the key colour where something is drawn.
    const QImage primary = PaintIconStrip(IconStrip::kPrimary);
    EXPECT_EQ(SplitIconStrip(primary, 96)[62], PaintIcon(IconStrip::kPrimary, 62));
}

}  // namespace
}  // namespace plovane
