#include "mesh.h"

#include "triangulate.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

// ---- Transform -------------------------------------------------------------

Transform Transform::translate(Vec3 d)
{
    Transform t;
    t.t = d;
    return t;
}

Transform Transform::scale(double sx, double sy, double sz)
{
    Transform t;
    t.cx = {sx, 0, 0};
    t.cy = {0, sy, 0};
    t.cz = {0, 0, sz};
    return t;
}

Transform Transform::mirrorY() { return scale(1, -1, 1); }

Transform Transform::rotateX(double a)
{
    Transform t;
    t.cy = {0, std::cos(a), std::sin(a)};
    t.cz = {0, -std::sin(a), std::cos(a)};
    return t;
}

Transform Transform::rotateY(double a)
{
    Transform t;
    t.cx = {std::cos(a), 0, -std::sin(a)};
    t.cz = {std::sin(a), 0, std::cos(a)};
    return t;
}

Transform Transform::rotateZ(double a)
{
    Transform t;
    t.cx = {std::cos(a), std::sin(a), 0};
    t.cy = {-std::sin(a), std::cos(a), 0};
    return t;
}

Transform operator*(const Transform &o, const Transform &i)
{
    Transform r;
    auto lin = [&o](Vec3 v) { return o.cx * v.x + o.cy * v.y + o.cz * v.z; };
    r.cx = lin(i.cx);
    r.cy = lin(i.cy);
    r.cz = lin(i.cz);
    r.t = o.apply(i.t);
    return r;
}

// ---- Part ------------------------------------------------------------------

Part::Part(std::string name, Welding welding)
    : name_(std::move(name))
    , welding_(welding)
{
}

int Part::beginGroup(Shading shading)
{
    groups_.push_back({shading});
    return int(groups_.size()) - 1;
}

int Part::vertexIndex(Vec3 p, int group)
{
    // Positions closer than 1e-10 model units are the same point.
    const double q = 1e10;
    const auto key = std::make_tuple(std::llround(p.x * q), std::llround(p.y * q),
        std::llround(p.z * q), welding_ == Welding::PerGroup ? group : -1);
    const auto it = weld_.find(key);
    if (it != weld_.end())
        return it->second;
    vertices_.push_back(p);
    const int index = int(vertices_.size()) - 1;
    weld_.emplace(key, index);
    return index;
}

void Part::triangle(int g, Vec3 a, Vec3 b, Vec3 c, const int *tags)
{
    if (finished_)
        throw std::logic_error("Part " + name_ + ": triangle after finish");
    Vec3 p[3] = {transform_.apply(a), transform_.apply(b), transform_.apply(c)};
    int tg[3] = {tags ? tags[0] : 0, tags ? tags[1] : 0, tags ? tags[2] : 0};
    if (transform_.determinant() < 0) {
        std::swap(p[1], p[2]);
        std::swap(tg[1], tg[2]);
    }
    // Look the corners up first, so that a collapsed triangle adds no vertex.
    const double q = 1e10;
    auto key = [q](Vec3 v) {
        return std::make_tuple(std::llround(v.x * q), std::llround(v.y * q), std::llround(v.z * q));
    };
    if (key(p[0]) == key(p[1]) || key(p[1]) == key(p[2]) || key(p[0]) == key(p[2]))
        return;
    const double area2 = length(cross(p[1] - p[0], p[2] - p[0]));
    if (area2 < 1e-13)
        throw std::runtime_error("Part " + name_ + ": degenerate triangle");
    Tri t;
    t.group = g;
    for (int k = 0; k < 3; ++k) {
        t.v[k] = vertexIndex(p[k], g);
        t.tag[k] = tg[k];
    }
    tris_.push_back(t);
}

void Part::quad(int g, Vec3 a, Vec3 b, Vec3 c, Vec3 d, const int *tags)
{
    if (!tags) {
        triangle(g, a, b, c);
        triangle(g, a, c, d);
        return;
    }
    const int t1[3] = {tags[0], tags[1], tags[2]}, t2[3] = {tags[0], tags[2], tags[3]};
    triangle(g, a, b, c, t1);
    triangle(g, a, c, d, t2);
}

void Part::finish()
{
    if (finished_)
        return;
    finished_ = true;
    // Accumulate: one sum per flat group, one per (smooth group, vertex).
    std::vector<Vec3> flatSum(groups_.size());
    using Key = std::tuple<int, int, int>; // group, vertex (-1 for a facet), tag
    std::map<Key, Vec3> smoothSum;
    for (const Tri &t : tris_) {
        const Vec3 p0 = vertices_[t.v[0]], p1 = vertices_[t.v[1]], p2 = vertices_[t.v[2]];
        const Vec3 n = cross(p1 - p0, p2 - p0);
        if (groups_[t.group].shading == Shading::Flat) {
            flatSum[t.group] += n;
            continue;
        }
        const Vec3 unit = normalized(n);
        const Vec3 p[3] = {p0, p1, p2};
        for (int k = 0; k < 3; ++k) {
            const Vec3 e1 = normalized(p[(k + 1) % 3] - p[k]),
                       e2 = normalized(p[(k + 2) % 3] - p[k]);
            const double angle = std::acos(std::clamp(dot(e1, e2), -1.0, 1.0));
            smoothSum[Key {t.group, t.v[k], t.tag[k]}] += unit * angle;
        }
    }
    // Number the normals in order of first use.
    std::map<Key, int> normalIndex;
    faces_.clear();
    for (const Tri &t : tris_) {
        Face f;
        for (int k = 0; k < 3; ++k) {
            f.v[k] = t.v[k];
            const bool flat = groups_[t.group].shading == Shading::Flat;
            const Key key {t.group, flat ? -1 : t.v[k], flat ? 0 : t.tag[k]};
            auto it = normalIndex.find(key);
            if (it == normalIndex.end()) {
                const Vec3 n = normalized(flat ? flatSum[t.group] : smoothSum[key]);
                normals_.push_back(n);
                it = normalIndex.emplace(key, int(normals_.size()) - 1).first;
            }
            f.n[k] = it->second;
        }
        faces_.push_back(f);
    }
}

// ---- primitives ------------------------------------------------------------

void addGrid(Part &part, const std::vector<std::vector<Vec3>> &rows, const GridOptions &o)
{
    const int nRows = int(rows.size());
    if (nRows < 2)
        return;
    const int nCols = int(rows[0].size());
    const int cellCols = o.closedU ? nCols : nCols - 1;
    auto hard = [](const std::vector<int> &list, int i) {
        return std::find(list.begin(), list.end(), i) != list.end();
    };
    // Smooth groups: bands between hard rows times bands between hard columns.
    std::vector<int> rowBand(nRows - 1), colBand(cellCols);
    for (int i = 0, b = 0; i < nRows - 1; ++i) {
        if (i > 0 && hard(o.hardRows, i))
            ++b;
        rowBand[i] = b;
    }
    int colBands = 1;
    for (int j = 0, b = 0; j < cellCols; ++j) {
        if (j > 0 && hard(o.hardCols, j))
            ++b;
        colBand[j] = b;
        colBands = b + 1;
    }
    // Around a closed lathe the last band continues into the first unless
    // column 0 itself is hard.
    if (o.closedU && colBands > 1 && !hard(o.hardCols, 0))
        for (int j = 0; j < cellCols; ++j)
            if (colBand[j] == colBands - 1)
                colBand[j] = 0;
    std::map<std::pair<int, int>, int> groupOf;
    for (int i = 0; i < nRows - 1; ++i) {
        const int flatRowGroup = hard(o.flatRows, i) ? part.beginGroup(Shading::Flat) : -1;
        for (int j = 0; j < cellCols; ++j) {
            const int j1 = (j + 1) % nCols;
            Vec3 a = rows[i][j], b = rows[i][j1], c = rows[i + 1][j1], d = rows[i + 1][j];
            if (o.flip) {
                std::swap(a, b);
                std::swap(c, d);
            }
            int g;
            if (flatRowGroup >= 0) {
                g = flatRowGroup;
            } else if (o.shading == Shading::Flat) {
                g = part.beginGroup(Shading::Flat);
            } else {
                const auto key = std::make_pair(rowBand[i], colBand[j]);
                auto it = groupOf.find(key);
                if (it == groupOf.end())
                    it = groupOf.emplace(key, part.beginGroup(Shading::Smooth)).first;
                g = it->second;
            }
            // A hard column whose two sides ended up in one group (a closed
            // ring with a single crease): the cell left of it tags its corners
            // on that column, so they get normals of their own.
            int tag[4] = {0, 0, 0, 0}; // a b c d
            if (o.shading == Shading::Smooth && flatRowGroup < 0 && o.closedU
                && hard(o.hardCols, j1) && colBand[j] == colBand[j1 % cellCols]) {
                // b and c lie on column j1 (swapped to a and d when flipped)
                if (o.flip)
                    tag[0] = tag[3] = 1;
                else
                    tag[1] = tag[2] = 1;
            }
            // split along the shorter diagonal
            if (length(c - a) <= length(d - b) * (1 + 1e-9)) {
                const int t1[3] = {tag[0], tag[1], tag[2]}, t2[3] = {tag[0], tag[2], tag[3]};
                part.triangle(g, a, b, c, t1);
                part.triangle(g, a, c, d, t2);
            } else {
                const int t1[3] = {tag[0], tag[1], tag[3]}, t2[3] = {tag[1], tag[2], tag[3]};
                part.triangle(g, a, b, d, t1);
                part.triangle(g, b, c, d, t2);
            }
        }
    }
}

std::vector<Vec3> circle(const Frame &f, double a, double r, int segments, double startAngle)
{
    const Vec3 axis = normalized(f.axis);
    const Vec3 u = normalized(f.ref);
    const Vec3 v = cross(axis, u);
    std::vector<Vec3> pts;
    for (int j = 0; j < segments; ++j) {
        const double t = startAngle + 2 * pi * j / segments;
        pts.push_back(f.origin + axis * a + (u * std::cos(t) + v * std::sin(t)) * r);
    }
    return pts;
}

void addLathe(Part &part, const std::vector<Vec2> &profile, const Frame &frame, int segments,
    const GridOptions &options, double startAngle)
{
    std::vector<std::vector<Vec3>> rows;
    for (const Vec2 &p : profile)
        rows.push_back(circle(frame, p.x, p.y, segments, startAngle));
    GridOptions o = options;
    o.closedU = true;
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        if (profile[i].x == profile[i + 1].x) {
            o.flatRows.push_back(int(i));
            o.hardRows.push_back(int(i));
            o.hardRows.push_back(int(i) + 1);
        }
    }
    addGrid(part, rows, o);
}

void addPolygon(Part &part, const std::vector<Vec3> &outer,
    const std::vector<std::vector<Vec3>> &holes, Vec3 facing, Shading shading)
{
    const Vec3 n = normalized(facing);
    Vec3 u = std::fabs(n.x) < 0.9 ? Vec3 {1, 0, 0} : Vec3 {0, 1, 0};
    u = normalized(u - n * dot(u, n));
    const Vec3 v = cross(n, u);
    auto flat = [&](const std::vector<Vec3> &loop) {
        std::vector<Vec2> r;
        for (const Vec3 &p : loop)
            r.push_back({dot(p, u), dot(p, v)});
        return r;
    };
    std::vector<Vec3> all = outer;
    std::vector<std::vector<Vec2>> holes2;
    for (const auto &h : holes) {
        holes2.push_back(flat(h));
        all.insert(all.end(), h.begin(), h.end());
    }
    const auto tris = triangulate(flat(outer), holes2);
    const int g = part.beginGroup(shading);
    for (const auto &t : tris)
        part.triangle(g, all[t[0]], all[t[1]], all[t[2]]);
}

void addBox(Part &part, Vec3 lo, Vec3 hi, int faces)
{
    const Vec3 c[8]
        = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
            {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    const int quads[6][4]
        = {{0, 4, 7, 3}, {1, 2, 6, 5}, {0, 1, 5, 4}, {3, 7, 6, 2}, {0, 3, 2, 1}, {4, 5, 6, 7}};
    for (int s = 0; s < 6; ++s) {
        if (!(faces & (1 << s)))
            continue;
        const int g = part.beginGroup(Shading::Flat);
        part.quad(g, c[quads[s][0]], c[quads[s][1]], c[quads[s][2]], c[quads[s][3]]);
    }
}

namespace {

// Newell normal of a loop: its orientation as seen from outside.
Vec3 loopNormal(const std::vector<Vec3> &loop)
{
    Vec3 n;
    for (size_t i = 0; i < loop.size(); ++i) {
        const Vec3 p = loop[i], q = loop[(i + 1) % loop.size()];
        n += Vec3 {(p.y - q.y) * (p.z + q.z), (p.z - q.z) * (p.x + q.x), (p.x - q.x) * (p.y + q.y)};
    }
    return n;
}

} // namespace

void addPrism(Part &part, const std::vector<Vec3> &loopIn, Vec3 offset, const PrismOptions &o)
{
    std::vector<Vec3> loop = loopIn;
    std::vector<int> hard = o.hardCorners;
    if (dot(loopNormal(loop), offset) < 0) {
        // walk the loop the other way round so that the walls face outwards
        std::reverse(loop.begin(), loop.end());
        const int n = int(loop.size());
        for (int &h : hard)
            h = n - 1 - h;
    }
    std::vector<Vec3> top;
    for (const Vec3 &p : loop)
        top.push_back(p + offset);
    GridOptions g;
    g.closedU = true;
    g.shading = o.sides;
    g.hardCols = hard;
    addGrid(part, {loop, top}, g);
    if (o.capStart)
        addPolygon(part, loop, {}, -offset);
    if (o.capEnd)
        addPolygon(part, top, {}, offset);
}

void addLoft(Part &part, const std::vector<std::vector<Vec3>> &sections, const GridOptions &options)
{
    // Face outwards whichever way the sections run: the sections must turn
    // counter-clockwise about the direction from the first to the last.
    auto centre = [](const std::vector<Vec3> &s) {
        Vec3 c;
        for (const Vec3 &p : s)
            c += p;
        return c * (1.0 / double(s.size()));
    };
    const Vec3 along = centre(sections.back()) - centre(sections.front());
    Vec3 turn;
    for (const auto &s : sections)
        turn += loopNormal(s);
    GridOptions o = options;
    o.closedU = true;
    if (dot(turn, along) < 0)
        o.flip = !o.flip;
    addGrid(part, sections, o);
}
