#pragma once

#include "vec.h"

#include <map>
#include <string>
#include <tuple>
#include <vector>

// The mesh-building library of the generator.
//
// A model is made of parts (one gun barrel, one wing, one runway surface...).
// Each part owns its vertices and normals; parts never share them, even when
// they touch, because each part is drawn with its run's material.
//
// Faces are collected in groups:
//   * a Flat group is one planar facet (a box side, a cap, one cell of a flat
//     grid): all its corners use the one facet normal;
//   * a Smooth group is a smoothly shaded surface: every vertex of the group
//     gets one normal, the angle-weighted mean of the group's face normals
//     around it. Where two smooth groups meet the edge is hard (a crease):
//     the vertex carries one normal per group.
// Normals are never pooled by value across groups: two facets that happen to
// be parallel still have a normal each.
//
// Vertices are welded by position within a part. How hard edges treat them is
// the part's choice:
//   * Welding::Shared: one vertex per position; a crease splits only the
//     normal (the vertex is used with one normal per group);
//   * Welding::PerGroup: a vertex belongs to one group; a crease splits the
//     vertex as well (each facet of a flat-shaded box has its own corners).

enum class Shading { Smooth, Flat };
enum class Welding { Shared, PerGroup };

// An affine map: three matrix columns and a translation. A map that mirrors
// (negative determinant) reverses the winding of the triangles it places, so
// a mirrored part still faces outwards.
struct Transform
{
    Vec3 cx {1, 0, 0}, cy {0, 1, 0}, cz {0, 0, 1}, t {0, 0, 0};

    Vec3 apply(Vec3 p) const { return cx * p.x + cy * p.y + cz * p.z + t; }
    double determinant() const { return dot(cx, cross(cy, cz)); }

    static Transform translate(Vec3 d);
    static Transform scale(double sx, double sy, double sz);
    static Transform mirrorY(); // y -> -y
    static Transform rotateX(double radians);
    static Transform rotateY(double radians);
    static Transform rotateZ(double radians);
};
Transform operator*(const Transform &outer, const Transform &inner); // outer after inner

class Part
{
public:
    explicit Part(std::string name, Welding welding = Welding::Shared);

    const std::string &name() const { return name_; }

    // Placement of everything added from now on.
    void setTransform(const Transform &t) { transform_ = t; }
    const Transform &transform() const { return transform_; }

    // Starts a new face group and returns its id.
    int beginGroup(Shading shading);
    // Adds the triangle a, b, c (counter-clockwise seen from outside, in local
    // coordinates) to group g. A triangle whose corners weld to fewer than
    // three vertices (the collapsed cells at a lathe's pole) is dropped.
    // `tags` (optional) split a smooth group's normal at a corner: corners of
    // one vertex with different tags get separate normals. A closed lathe
    // with a single crease needs this, its one group meeting itself there.
    void triangle(int g, Vec3 a, Vec3 b, Vec3 c, const int *tags = nullptr);
    void quad(int g, Vec3 a, Vec3 b, Vec3 c, Vec3 d,
        const int *tags = nullptr); // a b c d counter-clockwise

    // Computes the normals; after this the part is read-only.
    void finish();

    struct Face
    {
        int v[3];
        int n[3];
    };
    const std::vector<Vec3> &vertices() const { return vertices_; }
    const std::vector<Vec3> &normals() const { return normals_; }
    const std::vector<Face> &faces() const { return faces_; }

private:
    int vertexIndex(Vec3 p, int group);

    struct Group
    {
        Shading shading;
    };
    struct Tri
    {
        int v[3];
        int tag[3];
        int group;
    };

    std::string name_;
    Welding welding_;
    Transform transform_;
    std::vector<Group> groups_;
    std::vector<Tri> tris_;
    std::map<std::tuple<long long, long long, long long, int>, int> weld_;
    std::vector<Vec3> vertices_;
    std::vector<Vec3> normals_;
    std::vector<Face> faces_;
    bool finished_ = false;
};

// ---- primitives -----------------------------------------------------------

struct GridOptions
{
    bool closedU = false; // the last column joins the first (a full lathe)
    Shading shading = Shading::Smooth;
    std::vector<int> hardRows; // crease along row i, between cell rows i-1 and i
    std::vector<int> hardCols; // crease along column j, between cell columns j-1 and j
    std::vector<int> flatRows; // cell rows that are one planar facet (a lathe's flat disc)
    bool flip = false; // reverse the facing
};

// Shorthands for the usual options.
inline GridOptions creasedRows(std::vector<int> rows)
{
    GridOptions o;
    o.hardRows = std::move(rows);
    return o;
}
inline GridOptions flipped()
{
    GridOptions o;
    o.flip = true;
    return o;
}

// A quad grid over rows[i][j]; cell (i, j) spans rows i, i+1 and columns j,
// j+1 and faces along (column direction) x (row direction): for rows running
// along an axis and columns running counter-clockwise around it, outwards.
// Each cell is split along its shorter diagonal.
void addGrid(Part &part, const std::vector<std::vector<Vec3>> &rows, const GridOptions &options);

// Revolves a profile of (a, r) points about the axis through `origin` with
// unit direction `axis`; angle 0 points along `ref` (perpendicular to axis).
// Points with r = 0 form a pole. The surface faces away from the axis while
// the profile runs towards +a. A profile step at constant a is a flat disc or
// ring: one facet with one normal, with hard edges all round.
struct Frame
{
    Vec3 origin {0, 0, 0};
    Vec3 axis {1, 0, 0};
    Vec3 ref {0, 0, 1};
};
void addLathe(Part &part, const std::vector<Vec2> &profile, const Frame &frame, int segments,
    const GridOptions &options, double startAngle = 0);

// One planar facet: an outer loop with optional holes, triangulated without
// added points. `facing` is the side the facet faces; loop orientation does
// not matter.
void addPolygon(Part &part, const std::vector<Vec3> &outer,
    const std::vector<std::vector<Vec3>> &holes, Vec3 facing, Shading shading = Shading::Flat);

// Flat-shaded box; `faces` selects sides: bit 0 -x, 1 +x, 2 -y, 3 +y, 4 -z, 5 +z.
constexpr int allSides = 63;
void addBox(Part &part, Vec3 lo, Vec3 hi, int faces = allSides);

// Points of a circle of radius r around the axis of `frame` at axial offset a.
std::vector<Vec3> circle(
    const Frame &frame, double a, double r, int segments, double startAngle = 0);

// Extrudes a planar loop by `offset`: side walls (flat: one facet per side;
// smooth: one smooth group, with hard edges at the listed loop corners) and
// optionally the two end caps as facets.
struct PrismOptions
{
    Shading sides = Shading::Flat;
    std::vector<int> hardCorners; // for smooth sides
    bool capStart = true, capEnd = true;
};
void addPrism(Part &part, const std::vector<Vec3> &loop, Vec3 offset, const PrismOptions &options);

// Lofts closed sections (each with the same number of points) into one
// surface: rows are sections, columns run around them.
void addLoft(
    Part &part, const std::vector<std::vector<Vec3>> &sections, const GridOptions &options);
