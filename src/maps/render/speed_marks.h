// SPDX-License-Identifier: GPL-3.0-or-later
// Course/speed and wind marks: the speed converted to the user's units, rounded to fives and
// broken into barbs (250s, 50s, 10s, a 5), and the lines and triangles that draw them beside
// a station. Pure geometry, so the drawing code only strokes what this returns.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/units.h"

namespace plovane {

// The factor from mph into the user's speed unit (knots are mph times kKnotsPerMph).
double UnitsFactor(int unitsOfMeasure);

// Speeds above these (knots) are drawn as these.
inline constexpr int kMaxCourseSpeedKnots = 1000;
inline constexpr int kMaxWindSpeedKnots = 300;

// knots, capped, in the user's unit, truncated and rounded to the nearest multiple of 5.
int MarkSpeed(int knots, int capKnots, int unitsOfMeasure);

struct Barbs {
    int p = 0;  // 250s (filled triangles; course/speed marks only)
    int q = 0;  // 50s
    int r = 0;  // 10s
    int h = 0;  // 1 when a 5 remains
    bool operator==(const Barbs&) const = default;
};

// Decomposes a rounded speed; without 250s (wind marks) every 50 counts as a fifty.
Barbs DecomposeSpeed(int speed, bool with250s);

// Sine and cosine of whole degrees, built once.
class DegreeTable {
  public:
    DegreeTable();
    // Any whole number of degrees, reduced into 0..359.
    double Sin(int degrees) const { return sin_[Reduce(degrees)]; }
    double Cos(int degrees) const { return cos_[Reduce(degrees)]; }
    static int Reduce(int degrees) { return ((degrees % 360) + 360) % 360; }

  private:
    std::array<double, 360> sin_{};
    std::array<double, 360> cos_{};
};

struct MarkPoint {
    int x = 0;
    int y = 0;
    bool operator==(const MarkPoint&) const = default;
};

struct MarkLine {
    MarkPoint from;
    MarkPoint to;
    bool operator==(const MarkLine&) const = default;
};

struct MarkTriangle {
    std::array<MarkPoint, 3> points;
    bool operator==(const MarkTriangle&) const = default;
};

// What one mark draws: lines, triangle outlines, filled triangles.
struct MarkShape {
    std::vector<MarkLine> lines;
    std::vector<MarkTriangle> outlines;
    std::vector<MarkTriangle> filled;
};

// Shaft length beyond the first 20 pixels for a decomposition.
int ShaftExtra(const Barbs& barbs);

// A station's course/speed mark at pixel (sx, sy): a shaft along the course (degrees
// clockwise from north) with chevron barbs on both sides.
MarkShape CourseSpeedMark(const DegreeTable& trig, int sx, int sy, int courseDegrees,
                          int speedKnots, int unitsOfMeasure);

// A weather station's wind mark: the shaft along the wind direction with one-sided strokes.
MarkShape WindMark(const DegreeTable& trig, int sx, int sy, int directionDegrees, int speedKnots,
                   int unitsOfMeasure);

}  // namespace plovane
