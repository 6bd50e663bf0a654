// The painter shortcuts the map relies on must draw exactly what the long way draws.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "maps/render/render_internal.h"
#include "render/render_rig.h"

namespace plovane {
namespace {

QImage Blank() {
    QImage image(240, 120, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 200));
    return image;
}

TEST(MapPainter, HaloTextMatchesSeparateTexts) {
    testing::EnsureGuiApplication();
    const RenderResources resources;
    for (const char* text : {"K1ABC-9", "A LONG OBJECT NAME FAR WIDER THAN ITS BOX", "two\nlines",
                             "tab\there", "trailing  ", "", "\xc3\x9cml\xc3\xa4ut"}) {
        SCOPED_TRACE(text);
        const QString call = QString::fromUtf8(text);
        const QRect box(20, 40, 50, 10);
        QImage expected = Blank(), actual = Blank();
        {
            QPainter painter(&expected);
            MapPainter out(painter, resources);
            out.SelectFont(MapFont::kBold12);
            const int align = Qt::AlignLeft | Qt::AlignTop;
            out.SetTextColour(Qt::white);
            out.Text(box.translated(-1, -1), align, call);
            out.Text(box.translated(1, 1), align, call);
            out.SetTextColour(Qt::black);
            out.Text(box, align, call);
        }
        {
            QPainter painter(&actual);
            MapPainter out(painter, resources);
            out.SelectFont(MapFont::kBold12);
            out.HaloText(box, call);
        }
        EXPECT_EQ(actual, expected);
    }
}

// Vectors draw the thin pen as a solid line: over an opaque background of its own colour the
// dashed pen must set the same pixels, repeated vertices or not.
TEST(MapPainter, SolidThinPenDrawsTheDashedPenOverItsOwnColour) {
    testing::EnsureGuiApplication();
    const RenderResources resources;
    QImage dashed = Blank(), solid = Blank();
    QPainter a(&dashed), b(&solid);
    uint32_t seed = 7;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int shape = 0; shape < 300; ++shape) {
        std::vector<QPoint> points;
        int x = int(next() % 280) - 20, y = int(next() % 160) - 20;
        for (int n = 2 + int(next() % 30); n > 0; --n) {
            points.emplace_back(x, y);
            if (next() % 4 == 0)
                points.emplace_back(x, y);
            x += int(next() % 13) - 6;
            y += int(next() % 13) - 6;
        }
        const int colour = int(next() % kPaletteSize);
        a.setPen(resources.Pen(colour));
        a.setBackgroundMode(Qt::OpaqueMode);
        a.setBackground(PaletteColour(colour));
        a.drawPolyline(points.data(), int(points.size()));
        b.setPen(resources.Pen(kSolidThinPen + colour));
        b.drawPolyline(points.data(), int(points.size()));
    }
    a.end();
    b.end();
    EXPECT_EQ(solid, dashed);
}

}  // namespace
}  // namespace plovane
