#include "planar.h"

#include "triangulate.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

RectMap::RectMap(double x0, double y0, double x1, double y1, int baseRun)
{
    rects_.push_back({x0, y0, x1, y1, baseRun});
}

void RectMap::paint(double x0, double y0, double x1, double y1, int run)
{
    rects_.push_back({std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1), run});
    built_ = false;
}

void RectMap::build() const
{
    if (built_)
        return;
    const Rect &base = rects_.front();
    xs_.clear();
    ys_.clear();
    for (const Rect &r : rects_) {
        for (double x : {r.x0, r.x1})
            xs_.push_back(std::clamp(x, base.x0, base.x1));
        for (double y : {r.y0, r.y1})
            ys_.push_back(std::clamp(y, base.y0, base.y1));
    }
    std::sort(xs_.begin(), xs_.end());
    xs_.erase(std::unique(xs_.begin(), xs_.end()), xs_.end());
    std::sort(ys_.begin(), ys_.end());
    ys_.erase(std::unique(ys_.begin(), ys_.end()), ys_.end());
    const int nx = int(xs_.size()) - 1, ny = int(ys_.size()) - 1;
    cells_.assign(size_t(nx) * ny, base.run);
    for (const Rect &r : rects_) {
        for (int i = 0; i < nx; ++i) {
            const double cx = (xs_[i] + xs_[i + 1]) / 2;
            if (cx < r.x0 || cx > r.x1)
                continue;
            for (int j = 0; j < ny; ++j) {
                const double cy = (ys_[j] + ys_[j + 1]) / 2;
                if (cy >= r.y0 && cy <= r.y1)
                    cells_[size_t(j) * nx + i] = r.run;
            }
        }
    }
    built_ = true;
}

int RectMap::cellRun(int i, int j) const
{
    const int nx = int(xs_.size()) - 1, ny = int(ys_.size()) - 1;
    if (i < 0 || j < 0 || i >= nx || j >= ny)
        return -1;
    return cells_[size_t(j) * nx + i];
}

// Node (i, j) is needed unless the boundaries through it run straight on
// between the same two regions.
bool RectMap::essential(int i, int j) const
{
    const int bl = cellRun(i - 1, j - 1), br = cellRun(i, j - 1), tr = cellRun(i, j),
              tl = cellRun(i - 1, j);
    const bool vertical = bl == tl && br == tr;
    const bool horizontal = bl == br && tl == tr;
    return !(vertical || horizontal);
}

std::vector<RectMap::Component> RectMap::region(int run) const
{
    build();
    const int nx = int(xs_.size()) - 1, ny = int(ys_.size()) - 1;
    // Directed boundary edges between grid nodes, region on the left.
    using Node = std::pair<int, int>;
    std::multimap<Node, Node> out;
    for (int j = 0; j < ny; ++j) {
        for (int i = 0; i < nx; ++i) {
            if (cellRun(i, j) != run)
                continue;
            if (cellRun(i, j - 1) != run)
                out.emplace(Node {i, j}, Node {i + 1, j});
            if (cellRun(i + 1, j) != run)
                out.emplace(Node {i + 1, j}, Node {i + 1, j + 1});
            if (cellRun(i, j + 1) != run)
                out.emplace(Node {i + 1, j + 1}, Node {i, j + 1});
            if (cellRun(i - 1, j) != run)
                out.emplace(Node {i, j + 1}, Node {i, j});
        }
    }
    auto pos = [this](Node n) { return Vec2 {xs_[n.first], ys_[n.second]}; };
    std::vector<std::vector<Node>> loops;
    while (!out.empty()) {
        std::vector<Node> loop;
        Node start = out.begin()->first, cur = start, prev = start;
        bool first = true;
        while (true) {
            auto range = out.equal_range(cur);
            if (range.first == range.second)
                throw std::runtime_error("RectMap: open boundary");
            auto pick = range.first;
            if (std::distance(range.first, range.second) > 1 && !first) {
                // pinch point: turn as far right as possible, staying in
                // this component's corner
                const Vec2 back = pos(prev) - pos(cur);
                double best = 1e9;
                for (auto it = range.first; it != range.second; ++it) {
                    const Vec2 d = pos(it->second) - pos(cur);
                    double a
                        = std::atan2(cross(d, back), dot(d, back)); // clockwise angle from back
                    if (a <= 0)
                        a += 2 * pi;
                    if (a < best) {
                        best = a;
                        pick = it;
                    }
                }
            }
            loop.push_back(cur);
            prev = cur;
            cur = pick->second;
            out.erase(pick);
            first = false;
            if (cur == start)
                break;
        }
        loops.push_back(loop);
    }
    // keep the needed nodes only
    std::vector<std::vector<Vec2>> outers, holes;
    const Rect &base = rects_.front();
    for (const auto &loop : loops) {
        std::vector<Vec2> pts;
        for (const Node &n : loop) {
            if (!essential(n.first, n.second))
                continue;
            const Vec2 p = pos(n);
            if (cut_ > 0 && p.x == base.x0 && p.y == base.y1) { // the cut corner
                if (cellRun(0, ny - 1) != run)
                    throw std::runtime_error("RectMap: the cut corner is not the base run's");
                pts.push_back({base.x0 + cut_, base.y1});
                pts.push_back({base.x0, base.y1 - cut_});
                continue;
            }
            pts.push_back(p);
        }
        (signedArea(pts) > 0 ? outers : holes).push_back(pts);
    }
    std::vector<Component> comps;
    for (auto &o : outers)
        comps.push_back({o, {}});
    for (auto &h : holes) {
        // a point just inside the hole (to the right of its first edge)
        const Vec2 a = h[0], b = h[1], d = b - a;
        const Vec2 probe = a + d * 0.5 + Vec2 {d.y, -d.x} * (1e-6 / length(d));
        int best = -1;
        double bestArea = 1e300;
        for (size_t c = 0; c < comps.size(); ++c) {
            const double area = signedArea(comps[c].outer);
            if (area < bestArea && pointInPolygon(probe, comps[c].outer)) {
                best = int(c);
                bestArea = area;
            }
        }
        if (best < 0)
            throw std::runtime_error("RectMap: hole outside every component");
        comps[size_t(best)].holes.push_back(h);
    }
    return comps;
}
