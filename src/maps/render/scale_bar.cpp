// SPDX-License-Identifier: GPL-3.0-or-later
// Scale bar distance and text.
#include "maps/render/scale_bar.h"

#include <cmath>
#include <cstdio>

#include "maps/render/speed_marks.h"

namespace plovane {

namespace {

int UnitIndex(int unitsOfMeasure) {
    return unitsOfMeasure == kUnitsNautical || unitsOfMeasure == kUnitsMetric ? unitsOfMeasure
                                                                              : kUnitsStatute;
}

// Thousands separators for a whole number written without a sign.
std::string GroupThousands(const std::string& digits) {
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

double ScaleInchDistance(const MapBox& view, int32_t unitsPerPixelX, double pixelsPerInch,
                         int unitsOfMeasure) {
    const int64_t centre = view.top + view.Height() / 2;
    double c = static_cast<double>(centre) * 180 * 1.54320987654321e-08;  // colatitude, degrees
    if (c > 90)
        c = 180 - c;
    const double phi = (90 - c) * 0.011111111111111112 * 1.57079632675;
    return unitsPerPixelX * pixelsPerInch * 0.01 * 0.016666666666666666 * 0.016666666666666666 *
           (std::cos(phi) * 69.4072) * UnitsFactor(unitsOfMeasure);
}

std::string ScaleText(double distance, int unitsOfMeasure) {
    static constexpr const char* kSmallUnit[] = {"ft", "ft", "m"};
    static constexpr const char* kLargeUnit[] = {"mi", "nmi", "km"};
    static constexpr double kSmallPerLarge[] = {5280, 6076, 1000};
    const int u = UnitIndex(unitsOfMeasure);
    char text[64];
    if (!(distance > 0))
        return "Off Edge of Globe";
    if (distance < 1) {
        const double small = distance * kSmallPerLarge[u];
        if (small < 1000) {
            std::snprintf(text, sizeof text, "%.01f %s", small, kSmallUnit[u]);
        } else {
            std::snprintf(text, sizeof text, "%1.2lf %s", distance, kLargeUnit[u]);
        }
        return text;
    }
    if (distance < 10) {
        std::snprintf(text, sizeof text, "%1.1lf %s", distance, kLargeUnit[u]);
        return text;
    }
    // Far beyond any real inch of map, keep the number printable.
    const double whole = std::floor(std::fmin(distance + 0.5, 1e15));
    std::snprintf(text, sizeof text, "%.0lf", whole);
    return GroupThousands(text) + " " + kLargeUnit[u];
}

}  // namespace plovane
