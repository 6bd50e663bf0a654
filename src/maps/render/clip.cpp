// SPDX-License-Identifier: GPL-3.0-or-later
// Polyline and polygon clipping.
#include "maps/render/clip.h"

#include <cmath>

namespace plovane {

namespace {

bool Inside(const QPoint& p, const QRect& r) {
    return p.x() >= r.left() && p.x() <= r.right() && p.y() >= r.top() && p.y() <= r.bottom();
}

bool AllInside(const std::vector<QPoint>& points, const QRect& r) {
    for (const QPoint& p : points) {
        if (!Inside(p, r))
            return false;
    }
    return true;
}

QPoint Round(double x, double y) {
    return QPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
}

// Liang-Barsky: the part of segment a-b inside r, or false when none is.
bool ClipSegment(QPoint a, QPoint b, const QRect& r, QPoint& outA, QPoint& outB) {
    const double x0 = a.x(), y0 = a.y();
    const double dx = double(b.x()) - x0, dy = double(b.y()) - y0;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - r.left(), r.right() - x0, y0 - r.top(), r.bottom() - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1)
                return false;
            if (t > t0)
                t0 = t;
        } else {
            if (t < t0)
                return false;
            if (t < t1)
                t1 = t;
        }
    }
    outA = t0 == 0 ? a : Round(x0 + t0 * dx, y0 + t0 * dy);
    outB = t1 == 1 ? b : Round(x0 + t1 * dx, y0 + t1 * dy);
    return true;
}

enum class Edge { kLeft, kRight, kTop, kBottom };

bool InsideEdge(const QPoint& p, const QRect& r, Edge e) {
    switch (e) {
        case Edge::kLeft:
            return p.x() >= r.left();
        case Edge::kRight:
            return p.x() <= r.right();
        case Edge::kTop:
            return p.y() >= r.top();
        case Edge::kBottom:
            return p.y() <= r.bottom();
    }
    return true;
}

QPoint Cross(const QPoint& a, const QPoint& b, const QRect& r, Edge e) {
    const double ax = a.x(), ay = a.y(), bx = b.x(), by = b.y();
    double t = 0;
    switch (e) {
        case Edge::kLeft:
            t = (r.left() - ax) / (bx - ax);
            return Round(r.left(), ay + t * (by - ay));
        case Edge::kRight:
            t = (r.right() - ax) / (bx - ax);
            return Round(r.right(), ay + t * (by - ay));
        case Edge::kTop:
            t = (r.top() - ay) / (by - ay);
            return Round(ax + t * (bx - ax), r.top());
        case Edge::kBottom:
            t = (r.bottom() - ay) / (by - ay);
            return Round(ax + t * (bx - ax), r.bottom());
    }
    return a;
}

}  // namespace

QRect ClipGuard(int clientWidth, int clientHeight) {
    return QRect(QPoint(-kClipGuard, -kClipGuard),
                 QPoint(clientWidth + kClipGuard, clientHeight + kClipGuard));
}

std::vector<std::vector<QPoint>> ClipPolyline(const std::vector<QPoint>& points,
                                              const QRect& rect) {
    std::vector<std::vector<QPoint>> runs;
    if (points.size() < 2)
        return runs;
    if (AllInside(points, rect)) {
        runs.push_back(points);
        return runs;
    }
    std::vector<QPoint> run;
    for (size_t i = 1; i < points.size(); ++i) {
        QPoint a, b;
        if (!ClipSegment(points[i - 1], points[i], rect, a, b)) {
            if (run.size() >= 2)
                runs.push_back(std::move(run));
            run.clear();
            continue;
        }
        if (!run.empty() && run.back() != a) {
            if (run.size() >= 2)
                runs.push_back(std::move(run));
            run.clear();
        }
        if (run.empty())
            run.push_back(a);
        run.push_back(b);
    }
    if (run.size() >= 2)
        runs.push_back(std::move(run));
    return runs;
}

std::vector<QPoint> ClipPolygon(const std::vector<QPoint>& points, const QRect& rect) {
    if (AllInside(points, rect))
        return points;
    std::vector<QPoint> out = points;
    for (Edge e : {Edge::kLeft, Edge::kRight, Edge::kTop, Edge::kBottom}) {
        std::vector<QPoint> in;
        in.swap(out);
        if (in.empty())
            break;
        QPoint prev = in.back();
        for (const QPoint& cur : in) {
            const bool curIn = InsideEdge(cur, rect, e);
            const bool prevIn = InsideEdge(prev, rect, e);
            if (curIn) {
                if (!prevIn)
                    out.push_back(Cross(prev, cur, rect, e));
                out.push_back(cur);
            } else if (prevIn) {
                out.push_back(Cross(prev, cur, rect, e));
            }
            prev = cur;
        }
    }
    return out;
}

}  // namespace plovane
