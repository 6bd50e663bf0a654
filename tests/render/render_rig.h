// SPDX-License-Identifier: GPL-3.0-or-later
// A map, a view, the stores and a renderer painting into a QImage: map point
// (kX0 + 1000 px, kY0 + 1000 py) lands on pixel (px, 19 + py) of the 200 x 200 map area.
#pragma once

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/profile.h"
#include "core/station_report.h"
#include "core/station_settings.h"
#include "maps/map_data.h"
#include "maps/map_options.h"
#include "maps/map_view.h"
#include "maps/render/map_renderer.h"
#include "maps/render/symbol_icons.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane::testing {

// QPainter needs a GUI application for fonts; one lives for the whole test run.
inline void EnsureGuiApplication() {
    if (QGuiApplication::instance())
        return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "render_tests";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);  // never deleted: fonts outlive the tests
}

inline QColor Pixel(const QImage& image, int x, int y) {
    return QColor::fromRgb(image.pixel(x, y));
}

// Pixels of `area` (clipped to the image) that `match`.
template <typename Match>
int CountPixels(const QImage& image, const QRect& area, Match match) {
    const QRect clipped = area & image.rect();
    int n = 0;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            n += match(Pixel(image, x, y)) ? 1 : 0;
    }
    return n;
}

inline int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    return CountPixels(image, area, [&](const QColor& p) { return p == colour; });
}

// Pixels of smoothed text drawn in `colour`: those much nearer to it than to white.
inline int CountTinted(const QImage& image, const QRect& area, const QColor& colour) {
    return CountPixels(image, area, [&](const QColor& p) {
        const int toColour = std::abs(p.red() - colour.red()) +
                             std::abs(p.green() - colour.green()) +
                             std::abs(p.blue() - colour.blue());
        const int toWhite = (255 - p.red()) + (255 - p.green()) + (255 - p.blue());
        return toColour * 3 < toWhite;
    });
}

// What a drawing reported: "show:<title>", "<percent>", "hide", and failed checks.
struct RecordingReport final : RenderReport {
    void Begin(std::string_view title) override { steps.push_back("show:" + std::string(title)); }
    void Step(int percent) override { steps.push_back(std::to_string(percent)); }
    void End() override { steps.emplace_back("hide"); }
    void CheckFailed(std::string_view text) override { checks.emplace_back(text); }

    std::vector<std::string> steps;
    std::vector<std::string> checks;
};

struct RenderRig {
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 200 + 19;
    static constexpr int32_t kX0 = 64800000;  // 0 degrees east
    static constexpr int32_t kY0 = 14400000;  // 50 degrees north

    RenderRig() {
        settings.Load(profile);
        stations.ApplySettings(settings, false);
        map.loaded = true;
        map.name = "Test Map";
        map.left = kX0;
        map.right = kX0 + 200000;
        map.top = kY0;
        map.bottom = kY0 + 200000;
        view.Resize(kWidth, kHeight);
        image = QImage(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(Qt::gray);
    }

    MapScene Scene() {
        MapScene scene;
        scene.view = &view;
        scene.map = &map;
        scene.options = &options;
        scene.stations = &stations;
        return scene;
    }

    bool Draw() {
        QPainter painter(&image);
        return renderer.DrawMap(&painter, Scene());
    }

    static MapVectorPoint Point(uint8_t code, int px, int py, uint8_t attributes = 0,
                                uint16_t level = 0) {
        return {code, attributes, level, kX0 + 1000 * px, kY0 + 1000 * py};
    }
    static MapLabel Label(uint8_t code, int px, int py, std::string text, uint16_t level = 0) {
        return {.code = code,
                .level = level,
                .x = kX0 + 1000 * px,
                .y = kY0 + 1000 * py,
                .text = std::move(text)};
    }

    // "DDMM.mmN" / "DDDMM.mmE" text, to hundredths of a minute: Place aims at mid-pixel.
    static std::string Angle(double degrees, int width, char hemisphere) {
        const int whole = static_cast<int>(degrees);
        char text[16];
        std::snprintf(text, sizeof text, "%0*d%05.2f%c", width, whole, (degrees - whole) * 60,
                      hemisphere);
        return text;
    }
    // A station placed on pixel (px, py) of the map area.
    void Place(const std::string& call, const std::string& symbol, int px, int py) {
        stations.UpdatePosition(
            call, symbol, Angle(90.0 - (kY0 + 1000 * py + 500) / 360000.0, 2, 'N'),
            Angle((kX0 + 1000 * px + 500) / 360000.0 - 180.0, 3, 'E'), "", "", -1);
    }
    // The radio range a station gives ("RNG...").
    void GiveRange(const std::string& call, double miles) {
        StationReport report;
        report.call = call;
        report.hasRange = true;
        report.rangeMiles = miles;
        stations.Apply(report);
    }
    // The opaque pixels of a 16 x 16 icon drawn with its top-left corner at (left, top).
    void ExpectIconAt(const QImage& icon, int left, int top) const {
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (qAlpha(icon.pixel(x, y)) != 0) {
                    ASSERT_EQ(image.pixel(left + x, top + y), icon.pixel(x, y) | 0xFF000000u)
                        << x << "," << y;
                }
            }
        }
    }

    // First, so the fonts of the renderer find the application.
    struct GuiFirst {
        GuiFirst() { EnsureGuiApplication(); }
    } guiFirst;
    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock{CDateTime(2024, 6, 15, 14, 0, 0)};
    RecordingHost host;
    CStationList stations{settings, clock, host, host};
    CMapData map{clock.Now()};
    CMapView view;
    CMapOptions options;
    CSymbolIcons icons;
    RecordingReport report;
    CMapRenderer renderer{report, clock, icons};
    QImage image;
};

}  // namespace plovane::testing
