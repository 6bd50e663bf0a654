// SPDX-License-Identifier: GPL-3.0-or-later
// Course/speed and wind mark geometry.
#include "maps/render/speed_marks.h"

#include <algorithm>
#include <cmath>

namespace plovane {

namespace {

// Pixels along the shaft at which the barbs start, and their spacing.
constexpr int kShaftBase = 20;
constexpr int kTensStart = 23;
constexpr int kTensStep = 3;
constexpr int kTrianglesStart = 25;
constexpr int kTrianglesStep = 5;

// Rounds to the nearest pixel, halves upward. The tables carry a slightly short pi, so an
// exact half (a 3-pixel stroke at 120 degrees) comes out a hair either side of it; the
// tolerance makes both sides of a barb round alike.
int RoundPixel(double v) {
    return static_cast<int>(std::floor(v + 0.5 + 1e-6));
}

MarkPoint Along(const DegreeTable& trig, MarkPoint from, int degrees, int length) {
    return {from.x + RoundPixel(length * trig.Sin(degrees)),
            from.y + RoundPixel(-length * trig.Cos(degrees))};
}

}  // namespace

double UnitsFactor(int unitsOfMeasure) {
    return UnitsPerMile(unitsOfMeasure);
}

int MarkSpeed(int knots, int capKnots, int unitsOfMeasure) {
    const int capped = std::clamp(knots, 0, capKnots);
    const int s = static_cast<int>(capped / kKnotsPerMph * UnitsFactor(unitsOfMeasure));
    const int t = s + 2;
    return t - t % 5;
}

Barbs DecomposeSpeed(int speed, bool with250s) {
    Barbs b;
    int s = std::max(speed, 0);
    if (with250s) {
        b.p = s / 250;
        s %= 250;
    }
    b.q = s / 50;
    s %= 50;
    b.r = s / 10;
    s %= 10;
    b.h = s >= 5 ? 1 : 0;
    return b;
}

DegreeTable::DegreeTable() {
    for (int d = 0; d < 360; ++d) {
        const double radians = d * 3.141592535 * 0.005555555555555556;
        sin_[d] = std::sin(radians);
        cos_[d] = std::cos(radians);
    }
}

int ShaftExtra(const Barbs& barbs) {
    if (barbs.p + barbs.q + barbs.r == 0)
        return 4;
    return 3 * barbs.r + 5 * (barbs.p + barbs.q) + 1;
}

namespace {

// A mark's shaft from the station towards `degrees`: at(d) is the point d pixels along it.
struct Shaft {
    const DegreeTable& trig;
    MarkPoint origin;
    int degrees;

    MarkPoint at(int d) const { return Along(trig, origin, degrees, d); }
    // A shape holding the shaft, as long as the barbs of `b` need.
    MarkShape Start(const Barbs& b) const {
        MarkShape shape;
        shape.lines.push_back({origin, at(kShaftBase + ShaftExtra(b))});
        return shape;
    }
};

}  // namespace

MarkShape CourseSpeedMark(const DegreeTable& trig, int sx, int sy, int courseDegrees,
                          int speedKnots, int unitsOfMeasure) {
    const Barbs b =
        DecomposeSpeed(MarkSpeed(speedKnots, kMaxCourseSpeedKnots, unitsOfMeasure), true);
    const Shaft shaft{trig, {sx, sy}, DegreeTable::Reduce(courseDegrees)};
    const int a1 = DegreeTable::Reduce(shaft.degrees + 240);
    const int a2 = DegreeTable::Reduce(shaft.degrees + 120);

    MarkShape shape = shaft.Start(b);
    if (b.h) {
        const MarkPoint p = shaft.at(kShaftBase);
        shape.lines.push_back({Along(trig, p, a1, 3), p});
        shape.lines.push_back({Along(trig, p, a2, 3), p});
    }
    for (int k = 0; k < b.r; ++k) {
        const MarkPoint p = shaft.at(kTensStart + kTensStep * k);
        shape.lines.push_back({Along(trig, p, a1, 7), p});
        shape.lines.push_back({Along(trig, p, a2, 7), p});
    }
    const int fiftiesStart = kTrianglesStart + kTensStep * b.r;
    for (int k = 0; k < b.q; ++k) {
        const MarkPoint p = shaft.at(fiftiesStart + kTrianglesStep * k);
        shape.outlines.push_back({{p, Along(trig, p, a1, 7), Along(trig, p, a2, 7)}});
    }
    const int bigStart = fiftiesStart + kTrianglesStep * b.q;
    for (int k = 0; k < b.p; ++k) {
        const MarkPoint p = shaft.at(bigStart + kTrianglesStep * k);
        shape.filled.push_back({{Along(trig, p, a1, 7), p, Along(trig, p, a2, 7)}});
    }
    return shape;
}

MarkShape WindMark(const DegreeTable& trig, int sx, int sy, int directionDegrees, int speedKnots,
                   int unitsOfMeasure) {
    const Barbs b =
        DecomposeSpeed(MarkSpeed(speedKnots, kMaxWindSpeedKnots, unitsOfMeasure), false);
    const Shaft shaft{trig, {sx, sy}, DegreeTable::Reduce(directionDegrees)};
    const int side = DegreeTable::Reduce(shaft.degrees + 60);

    MarkShape shape = shaft.Start(b);
    if (b.h) {
        const MarkPoint p = shaft.at(kShaftBase);
        shape.lines.push_back({p, Along(trig, p, side, 5)});
    }
    for (int k = 0; k < b.r; ++k) {
        const MarkPoint p = shaft.at(kTensStart + kTensStep * k);
        shape.lines.push_back({p, Along(trig, p, side, 10)});
    }
    // A pennant: from the shaft out along the stroke and back to the shaft 5 pixels on.
    const int fiftiesStart = kTrianglesStart + kTensStep * b.r;
    for (int k = 0; k < b.q; ++k) {
        const int d = fiftiesStart + kTrianglesStep * k;
        const MarkPoint p = shaft.at(d);
        shape.filled.push_back({{p, Along(trig, p, side, 10), shaft.at(d + kTrianglesStep)}});
    }
    return shape;
}

}  // namespace plovane
