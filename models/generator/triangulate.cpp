#include "triangulate.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

double signedArea(const std::vector<Vec2> &loop)
{
    double a = 0;
    for (size_t i = 0; i < loop.size(); ++i) {
        const Vec2 p = loop[i], q = loop[(i + 1) % loop.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a / 2;
}

bool pointInPolygon(Vec2 p, const std::vector<Vec2> &loop)
{
    bool in = false;
    for (size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
        const Vec2 a = loop[i], b = loop[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

namespace {

bool samePoint(Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }

// Orientation of c relative to the line a->b, scaled to be independent of size.
double turn(Vec2 a, Vec2 b, Vec2 c)
{
    const Vec2 u = b - a, v = c - b;
    const double l = length(u) * length(v);
    return l > 0 ? cross(u, v) / l : 0;
}

constexpr double collinear = 1e-9;

// p inside or on the boundary of the counter-clockwise triangle a b c.
bool inTriangle(Vec2 p, Vec2 a, Vec2 b, Vec2 c)
{
    const double eps = -1e-12;
    return cross(b - a, p - a) >= eps && cross(c - b, p - b) >= eps && cross(a - c, p - c) >= eps;
}

// Segments p1-p2 and q1-q2 cross at a point interior to both.
bool properCross(Vec2 p1, Vec2 p2, Vec2 q1, Vec2 q2)
{
    const double d1 = cross(p2 - p1, q1 - p1), d2 = cross(p2 - p1, q2 - p1);
    const double d3 = cross(q2 - q1, p1 - q1), d4 = cross(q2 - q1, p2 - q1);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

// Does direction d from vertex b lie strictly inside the interior angle at b
// of a counter-clockwise polygon with neighbours a (before) and c (after)?
bool inCone(Vec2 a, Vec2 b, Vec2 c, Vec2 d)
{
    const Vec2 toA = a - b, toC = c - b;
    if (cross(b - a, c - b) > 0) // convex: between toC and toA, counter-clockwise
        return cross(toC, d) > 0 && cross(d, toA) > 0;
    // reflex or straight: anywhere but the outside wedge from toA to toC
    return !(cross(toA, d) >= 0 && cross(d, toC) >= 0);
}

} // namespace

std::vector<std::array<int, 3>> triangulate(
    const std::vector<Vec2> &outerIn, const std::vector<std::vector<Vec2>> &holesIn)
{
    std::vector<Vec2> pts;
    std::vector<int> ring; // indices into pts, counter-clockwise
    for (const Vec2 &p : outerIn)
        pts.push_back(p);
    ring.resize(outerIn.size());
    for (size_t i = 0; i < ring.size(); ++i)
        ring[i] = int(i);
    if (signedArea(outerIn) < 0)
        std::reverse(ring.begin(), ring.end());

    struct Hole
    {
        std::vector<int> idx; // clockwise
        double maxX;
    };
    std::vector<Hole> holes;
    for (const auto &h : holesIn) {
        Hole hole;
        hole.maxX = -1e300;
        for (const Vec2 &p : h) {
            hole.idx.push_back(int(pts.size()));
            pts.push_back(p);
            hole.maxX = std::max(hole.maxX, p.x);
        }
        if (signedArea(h) > 0)
            std::reverse(hole.idx.begin(), hole.idx.end());
        holes.push_back(hole);
    }
    // Join the holes rightmost first, each to the nearest ring vertex it sees.
    std::stable_sort(
        holes.begin(), holes.end(), [](const Hole &a, const Hole &b) { return a.maxX > b.maxX; });
    for (size_t hi = 0; hi < holes.size(); ++hi) {
        const Hole &hole = holes[hi];
        int mPos = 0;
        for (size_t k = 1; k < hole.idx.size(); ++k) {
            const Vec2 p = pts[hole.idx[k]], q = pts[hole.idx[mPos]];
            if (p.x > q.x || (p.x == q.x && p.y < q.y))
                mPos = int(k);
        }
        const Vec2 m = pts[hole.idx[mPos]];
        int best = -1;
        double bestD = 1e300;
        const size_t n = ring.size();
        for (size_t r = 0; r < n; ++r) {
            const Vec2 p = pts[ring[r]];
            const double d = length(p - m);
            if (d >= bestD || d == 0)
                continue;
            if (!inCone(pts[ring[(r + n - 1) % n]], p, pts[ring[(r + 1) % n]], m - p))
                continue;
            bool blocked = false;
            for (size_t e = 0; e < n && !blocked; ++e)
                blocked = properCross(p, m, pts[ring[e]], pts[ring[(e + 1) % n]]);
            for (size_t oh = hi; oh < holes.size() && !blocked; ++oh) {
                const auto &o = holes[oh].idx;
                for (size_t e = 0; e < o.size() && !blocked; ++e)
                    blocked = properCross(p, m, pts[o[e]], pts[o[(e + 1) % o.size()]]);
            }
            // a ring vertex lying on the bridge would make it touch the ring
            for (size_t e = 0; e < n && !blocked; ++e) {
                const Vec2 q = pts[ring[e]];
                if (e != r && !samePoint(q, p) && std::fabs(cross(m - p, q - p)) < 1e-15
                    && dot(q - p, m - q) > 0)
                    blocked = true;
            }
            if (!blocked) {
                best = int(r);
                bestD = d;
            }
        }
        if (best < 0)
            throw std::runtime_error("triangulate: no bridge for a hole");
        std::vector<int> joined(ring.begin(), ring.begin() + best + 1);
        for (size_t k = 0; k <= hole.idx.size(); ++k)
            joined.push_back(hole.idx[(mPos + k) % hole.idx.size()]);
        joined.insert(joined.end(), ring.begin() + best, ring.end());
        ring = joined;
    }

    std::vector<std::array<int, 3>> out;
    while (ring.size() > 3) {
        const size_t n = ring.size();
        int bestEar = -1;
        double bestQ = -1;
        for (size_t i = 0; i < n; ++i) {
            const int ia = ring[(i + n - 1) % n], ib = ring[i], ic = ring[(i + 1) % n];
            const Vec2 a = pts[ia], b = pts[ib], c = pts[ic];
            if (turn(a, b, c) <= collinear)
                continue;
            const double minX = std::min({a.x, b.x, c.x}), maxX = std::max({a.x, b.x, c.x});
            const double minY = std::min({a.y, b.y, c.y}), maxY = std::max({a.y, b.y, c.y});
            bool ok = true;
            for (size_t k = 0; k < n && ok; ++k) {
                const Vec2 p = pts[ring[k]];
                if (p.x < minX || p.x > maxX || p.y < minY || p.y > maxY)
                    continue;
                if (samePoint(p, a) || samePoint(p, b) || samePoint(p, c))
                    continue;
                if (inTriangle(p, a, b, c))
                    ok = false;
            }
            if (!ok)
                continue;
            // quality: the smallest angle of the triangle
            auto angle = [](Vec2 p, Vec2 q, Vec2 r) {
                const Vec2 u = q - p, v = r - p;
                return std::atan2(std::fabs(cross(u, v)), dot(u, v));
            };
            const double q = std::min({angle(a, b, c), angle(b, c, a), angle(c, a, b)});
            if (q > bestQ + 1e-12) {
                bestQ = q;
                bestEar = int(i);
            }
        }
        if (bestEar < 0)
            throw std::runtime_error("triangulate: no ear found");
        const size_t i = size_t(bestEar);
        out.push_back({ring[(i + n - 1) % n], ring[i], ring[(i + 1) % n]});
        ring.erase(ring.begin() + bestEar);
    }
    if (turn(pts[ring[0]], pts[ring[1]], pts[ring[2]]) <= collinear)
        throw std::runtime_error("triangulate: degenerate last triangle");
    out.push_back({ring[0], ring[1], ring[2]});
    return out;
}
