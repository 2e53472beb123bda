// The airfield (namespace airfield): a flat slab in the x-y plane. The ground
// is one plane at z = groundZ, partitioned into surfaces (runways, taxiways,
// apron, the inner field with the runway markings, and the outer grass)
// that never overlap; a cluster of low buildings stands on the apron near
// the +x edge.
//
// How the counts come out exactly. Faces: a ground surface's regions are
// triangulated from their outline points only, so a region with n points
// and h holes has n + 2h - 2 triangles; the numbers in `layout` (dashes,
// bays, hardstands, links, stands) set each surface's outline points. The
// ground's total is odd, which needs an odd number of points on the outer
// outline: hence the cut north-west corner. The buildings are counted facet
// by facet. Vertices and normals: the ground keeps one vertex and one
// normal per outline point (a smooth sheet), except the apron, one concrete
// facet with one normal; buildings are flat-shaded props whose facets own
// their corners, except the pyramid-roofed shed (shared corners, one apex),
// the canvas shed (one smooth sheet over its ridge) and the hangar's barrel
// roof (smooth, with a ridge cap along the crown).

#include "airfieldmesh.h"
#include "model.h"
#include "planar.h"
#include "triangulate.h"

#include <cmath>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

constexpr double groundZ = -0.00538299;
constexpr double halfY = 0.474965;

// Ground runs (run k uses material k).
enum Surface { apron = 7, taxiway = 8, field = 9, runway = 10, grass = 11 };

// ---- layout: every size and count that shapes the ground -------------------
// Each surface's face count follows from its outline points: a rectangle
// standing alone inside another surface adds 2 faces to itself and 6 to its
// host, a notch cut into a straight border adds 4 to each side.
namespace layout {
// runway 1 along x, runway 2 along y; both 0.05 wide
constexpr double rwy1Y = 0.280, rwy1X0 = -0.478, rwy1X1 = 0.430, rwyHalfWidth = 0.025;
constexpr double rwy2X = -0.237, rwy2Y0 = -0.429, rwy2Y1 = 0.429;
constexpr double taxiHalfWidth = 0.009;
constexpr int centreDashes1 = 14; // centre-line dashes on runway 1
constexpr int centreDashes2 = 11; // on runway 2
constexpr int thresholdBars = 4; // bars across each runway end
constexpr int edgeBays = 42; // bays of outer grass along the field's north and south edges
constexpr int hardstandRows = 3, hardstandCols = 13; // aircraft stands in the middle of the field
constexpr int grassPlots = 2; // plots of grass north of runway 1
constexpr int apronStands = 5; // parking stands marked on the apron
} // namespace layout

RectMap groundMap()
{
    using namespace layout;
    RectMap m(-0.5, -halfY, 0.5, halfY, grass);
    // The airfield's boundary cuts off its north-west corner. (Besides the
    // look, this gives the ground an odd number of outline points: in a
    // partition like this one the ground's face count has the parity of
    // its outline's point count.)
    m.cutCorner(0.020);
    // the inner field inside the outer grass, its north and south edges
    // broken by bays of grass
    m.paint(-0.476, -0.447, 0.464, 0.446, field);
    for (int k = 0; k < edgeBays; ++k) {
        const double x = -0.450 + k * 0.880 / (edgeBays - 1);
        if (k % 2 == 0)
            m.paint(x - 0.006, 0.440, x + 0.006, 0.450, grass);
        else
            m.paint(x - 0.006, -0.450, x + 0.006, -0.441, grass);
    }
    for (int k = 0; k < grassPlots; ++k) {
        const double x = -0.150 + k * 0.200;
        m.paint(x - 0.040, 0.350, x + 0.040, 0.400, grass);
    }
    // taxiways: one along runway 1, one round the south, links to the apron
    const double t = taxiHalfWidth;
    m.paint(-0.242, 0.200 - t, 0.464, 0.200 + t, taxiway); // parallel to runway 1
    m.paint(0.464 - 2 * t, 0.150, 0.464, 0.200 + t,
        taxiway); // second apron link, along the field's edge
    m.paint(0.380 - t, -0.420, 0.380 + t, -0.150, taxiway); // from the apron to the south
    m.paint(-0.200, -0.420 - t, 0.380 + t, -0.420 + t, taxiway); // along the south
    m.paint(-0.200 - t, -0.420 - t, -0.200 + t, 0.200 + t, taxiway); // along runway 2
    for (double x : {-0.120, -0.060, 0.000, 0.060, 0.120, 0.180, 0.250}) // links to runway 1
        m.paint(x - t, 0.200, x + t, rwy1Y - rwyHalfWidth, taxiway);
    for (double y : {0.040, -0.120, -0.300}) // links to runway 2
        m.paint(-0.200, y - t, rwy2X + rwyHalfWidth, y + t, taxiway);
    // hardstands in the middle of the field
    for (int i = 0; i < hardstandCols; ++i)
        for (int j = 0; j < hardstandRows; ++j) {
            const double x = -0.150 + i * 0.033, y = -0.350 + j * 0.120;
            m.paint(x - 0.012, y - 0.012, x + 0.012, y + 0.012, taxiway);
        }
    // apron in front of the buildings, with parking stands
    m.paint(0.362, -0.154, 0.492, 0.154, apron);
    for (int k = 0; k < apronStands; ++k) {
        const double y = 0.030 + k * 0.025;
        m.paint(0.420, y - 0.008, 0.450, y + 0.008, taxiway);
    }
    // runways with their markings
    m.paint(rwy1X0, rwy1Y - rwyHalfWidth, rwy1X1, rwy1Y + rwyHalfWidth, runway);
    m.paint(rwy2X - rwyHalfWidth, rwy2Y0, rwy2X + rwyHalfWidth, rwy2Y1, runway);
    for (double y : {rwy2Y0 + 0.062, rwy2Y1 - 0.062}) // turning pads near the ends
        m.paint(rwy2X - rwyHalfWidth - 0.015, y - 0.015, rwy2X - rwyHalfWidth, y + 0.015, runway);
    const double dashHalf = 0.0015;
    for (int k = 0; k < centreDashes1; ++k) {
        const double x = rwy1X0 + 0.06 + k * (rwy1X1 - rwy1X0 - 0.12) / (centreDashes1 - 1);
        if (std::fabs(x - rwy2X) < 0.04)
            continue;
        m.paint(x - 0.012, rwy1Y - dashHalf, x + 0.012, rwy1Y + dashHalf, field);
    }
    for (int k = 0; k < centreDashes2; ++k) {
        const double y = rwy2Y0 + 0.06 + k * (rwy2Y1 - rwy2Y0 - 0.12) / (centreDashes2 - 1);
        if (std::fabs(y - rwy1Y) < 0.04)
            continue;
        m.paint(rwy2X - dashHalf, y - 0.012, rwy2X + dashHalf, y + 0.012, field);
    }
    for (int k = 0; k < thresholdBars; ++k) {
        const double off
            = -rwyHalfWidth + 0.005 + k * (2 * rwyHalfWidth - 0.010) / (thresholdBars - 1);
        m.paint(rwy1X0 + 0.008, rwy1Y + off - 0.002, rwy1X0 + 0.030, rwy1Y + off + 0.002, field);
        m.paint(rwy1X1 - 0.030, rwy1Y + off - 0.002, rwy1X1 - 0.008, rwy1Y + off + 0.002, field);
        m.paint(rwy2X + off - 0.002, rwy2Y0 + 0.008, rwy2X + off + 0.002, rwy2Y0 + 0.030, field);
        m.paint(rwy2X + off - 0.002, rwy2Y1 - 0.030, rwy2X + off + 0.002, rwy2Y1 - 0.008, field);
    }
    return m;
}

// One ground surface: every region of `run`, triangulated without added
// points. The ground is a smooth sheet: each vertex carries its own normal
// (straight up), except where a surface is one flat facet (the apron's
// concrete) with one normal.
Part groundSurface(const RectMap &map, int run, const char *name, Shading shading = Shading::Smooth)
{
    Part p(name);
    const int g = p.beginGroup(shading);
    for (const RectMap::Component &c : map.region(run)) {
        std::vector<Vec2> all = c.outer;
        for (const auto &h : c.holes)
            all.insert(all.end(), h.begin(), h.end());
        std::vector<std::array<int, 3>> tris;
        try {
            tris = triangulate(c.outer, c.holes);
        } catch (const std::runtime_error &e) {
            throw std::runtime_error(std::string(name) + ": " + e.what());
        }
        for (const auto &t : tris) {
            auto at = [&](int k) { return Vec3 {all[size_t(k)].x, all[size_t(k)].y, groundZ}; };
            p.triangle(g, at(t[0]), at(t[1]), at(t[2]));
        }
    }
    return p;
}

// ---- buildings ---------------------------------------------------------------
// Low-poly scenery: each flat side is a facet with corners of its own
// (Welding::PerGroup), as props like these are usually built.

constexpr double wallTop = -0.0025, ridge = 0.0;

struct Footprint
{
    double x0, y0, x1, y1;
};

// Gable-roofed house: walls (two sides and two gable ends) and the two roof
// slopes; the ridge runs along x.
void gableWalls(Part &p, const Footprint &f)
{
    const double z0 = groundZ, ym = (f.y0 + f.y1) / 2;
    int g = p.beginGroup(Shading::Flat);
    p.quad(g, {f.x0, f.y0, z0}, {f.x1, f.y0, z0}, {f.x1, f.y0, wallTop}, {f.x0, f.y0, wallTop});
    g = p.beginGroup(Shading::Flat);
    p.quad(g, {f.x1, f.y1, z0}, {f.x0, f.y1, z0}, {f.x0, f.y1, wallTop}, {f.x1, f.y1, wallTop});
    for (double x : {f.x0, f.x1})
        addPolygon(p,
            {{x, f.y0, z0}, {x, f.y1, z0}, {x, f.y1, wallTop}, {x, ym, ridge}, {x, f.y0, wallTop}},
            {}, {x == f.x0 ? -1.0 : 1.0, 0, 0});
}

void gableRoof(Part &p, const Footprint &f)
{
    const double ym = (f.y0 + f.y1) / 2;
    int g = p.beginGroup(Shading::Flat);
    p.quad(g, {f.x0, f.y0, wallTop}, {f.x1, f.y0, wallTop}, {f.x1, ym, ridge}, {f.x0, ym, ridge});
    g = p.beginGroup(Shading::Flat);
    p.quad(g, {f.x1, f.y1, wallTop}, {f.x0, f.y1, wallTop}, {f.x0, ym, ridge}, {f.x1, ym, ridge});
}

// Windows on the long walls and a door in each gable end, standing just
// proud of the wall.
void gableWindows(Part &p, const Footprint &f)
{
    const double proud = 0.0002, z0 = -0.0045, z1 = -0.0030;
    for (int k = 0; k < 3; ++k) {
        const double x = f.x0 + (f.x1 - f.x0) * (k + 0.5) / 3, w = 0.0015;
        int g = p.beginGroup(Shading::Flat);
        p.quad(g, {x - w, f.y0 - proud, z0}, {x + w, f.y0 - proud, z0}, {x + w, f.y0 - proud, z1},
            {x - w, f.y0 - proud, z1});
        g = p.beginGroup(Shading::Flat);
        p.quad(g, {x + w, f.y1 + proud, z0}, {x - w, f.y1 + proud, z0}, {x - w, f.y1 + proud, z1},
            {x + w, f.y1 + proud, z1});
    }
}

const Footprint houses[] = {
    {0.407, -0.029, 0.421, -0.021},
    {0.426, -0.029, 0.440, -0.021},
    {0.445, -0.029, 0.459, -0.021},
    {0.407, -0.009, 0.421, -0.001},
    {0.426, -0.009, 0.440, -0.001},
    {0.445, -0.009, 0.459, -0.001},
    {0.407, 0.011, 0.421, 0.019},
    {0.426, 0.011, 0.440, 0.019},
    {0.445, 0.011, 0.459, 0.019},
    {0.410, -0.049, 0.424, -0.041},
};

// Timber sheds: brown boxes with flat roofs. The first one is taller and
// carries the water tower.
const Footprint sheds[] = {
    {0.388, 0.003, 0.397, 0.011},
    {0.392, -0.019, 0.402, -0.011},
    {0.392, -0.034, 0.402, -0.026},
    {0.392, -0.049, 0.402, -0.041},
    {0.392, -0.064, 0.402, -0.056},
    {0.410, -0.064, 0.420, -0.056},
};

Part houseWalls()
{
    Part p("house walls", Welding::PerGroup);
    for (const Footprint &f : houses)
        gableWalls(p, f);
    return p;
}

Part houseRoofs()
{
    Part p("house roofs and timber sheds", Welding::PerGroup);
    for (const Footprint &f : houses)
        gableRoof(p, f);
    for (size_t k = 0; k < std::size(sheds); ++k) {
        const Footprint &f = sheds[k];
        if (k == 1) // see pyramidShed()
            continue;
        int sides = allSides & ~(1 << 4); // no floor
        if (k == 2)
            sides &= ~(1 << 1); // open towards the houses
        addBox(p, {f.x0, f.y0, groundZ}, {f.x1, f.y1, k == 0 ? 0.0 : -0.003}, sides);
    }
    return p;
}

// One shed has a pyramid roof. Its walls and roof are flat facets that
// share their corners, so the roof's four slopes meet in one apex vertex.
Part pyramidShed()
{
    Part p("pyramid-roofed shed");
    const Footprint &f = sheds[1];
    const double eaves = -0.0035;
    addBox(p, {f.x0, f.y0, groundZ}, {f.x1, f.y1, eaves}, 15);
    const Vec3 apex {(f.x0 + f.x1) / 2, (f.y0 + f.y1) / 2, -0.0015};
    const Vec3 c[4]
        = {{f.x0, f.y0, eaves}, {f.x1, f.y0, eaves}, {f.x1, f.y1, eaves}, {f.x0, f.y1, eaves}};
    for (int k = 0; k < 4; ++k)
        p.triangle(p.beginGroup(Shading::Flat), c[k], c[(k + 1) % 4], apex);
    return p;
}

Part windows()
{
    Part p("windows and doors", Welding::PerGroup);
    for (const Footprint &f : houses) {
        gableWindows(p, f);
    }
    // a door in the east gable end
    for (const Footprint &f : houses) {
        const double ym = (f.y0 + f.y1) / 2, w = 0.0015, proud = 0.0002;
        for (double x : {f.x1 + proud}) {
            const int g = p.beginGroup(Shading::Flat);
            const double s = x < f.x0 ? -1 : 1;
            p.quad(g, {x, ym - s * w, groundZ}, {x, ym + s * w, groundZ}, {x, ym + s * w, -0.0025},
                {x, ym - s * w, -0.0025});
        }
    }
    return p;
}

// Hangar with a barrel roof: walls up to the eaves, arched end walls.
constexpr Footprint hangarSite {0.447, -0.085, 0.478, -0.045};
constexpr int hangarRoofSegments = 14;
constexpr double hangarEaves = -0.002, hangarCrown = 0.001;

std::vector<Vec3> hangarArch(double x)
{
    const Footprint &f = hangarSite;
    std::vector<Vec3> pts;
    const double ym = (f.y0 + f.y1) / 2, half = (f.y1 - f.y0) / 2;
    for (int k = 0; k <= hangarRoofSegments; ++k) {
        const double a = pi * k / hangarRoofSegments;
        pts.push_back(
            {x, ym - half * std::cos(a), hangarEaves + (hangarCrown - hangarEaves) * std::sin(a)});
    }
    return pts;
}

Part hangarWalls()
{
    Part p("hangar walls", Welding::PerGroup);
    const Footprint &f = hangarSite;
    int g = p.beginGroup(Shading::Flat);
    p.quad(g, {f.x0, f.y0, groundZ}, {f.x1, f.y0, groundZ}, {f.x1, f.y0, hangarEaves},
        {f.x0, f.y0, hangarEaves});
    g = p.beginGroup(Shading::Flat);
    p.quad(g, {f.x1, f.y1, groundZ}, {f.x0, f.y1, groundZ}, {f.x0, f.y1, hangarEaves},
        {f.x1, f.y1, hangarEaves});
    for (double x : {f.x0, f.x1}) {
        std::vector<Vec3> end = {{x, f.y1, groundZ}, {x, f.y0, groundZ}};
        for (const Vec3 &q : hangarArch(x))
            end.push_back(q);
        addPolygon(p, end, {}, {x == f.x0 ? -1.0 : 1.0, 0, 0});
    }
    return p;
}

Part hangarRoof()
{
    Part p("hangar roof");
    GridOptions o;
    o.flip = true;
    o.hardCols = {hangarRoofSegments / 2}; // a ridge cap along the crown
    addGrid(p, {hangarArch(hangarSite.x0), hangarArch(hangarSite.x1)}, o);
    return p;
}

// Control tower: a glass box, one band of panes per floor.
Part tower()
{
    Part p("control tower", Welding::PerGroup);
    // its roof is the airfield's top, as high above the ground plane's level
    // as the ground is below the middle
    const double x0 = 0.484, x1 = 0.492, y0 = -0.091, y1 = -0.064, top = -groundZ;
    const int floors = 12;
    for (int k = 0; k < floors; ++k) {
        const double z0 = groundZ + (top - groundZ) * k / floors,
                     z1 = groundZ + (top - groundZ) * (k + 1) / floors;
        addBox(p, {x0, y0, z0}, {x1, y1, z1}, 15); // the four sides of this floor
    }
    addBox(p, {x0, y0, top - 0.001}, {x1, y1, top}, 1 << 5);
    return p;
}

// Canvas shed: a wedge whose two slopes are one smooth sheet over the ridge.
Part wedgeShed()
{
    Part p("shed", Welding::PerGroup);
    const double x0 = 0.393, x1 = 0.406, y0 = -0.089, y1 = -0.070, top = 0.001;
    const double ym = (y0 + y1) / 2;
    addPolygon(p, {{x0, y0, groundZ}, {x0, y1, groundZ}, {x0, ym, top}}, {}, {-1, 0, 0});
    addPolygon(p, {{x1, y0, groundZ}, {x1, y1, groundZ}, {x1, ym, top}}, {}, {1, 0, 0});
    const int g = p.beginGroup(Shading::Smooth);
    p.quad(g, {x0, y0, groundZ}, {x1, y0, groundZ}, {x1, ym, top}, {x0, ym, top});
    p.quad(g, {x1, y1, groundZ}, {x0, y1, groundZ}, {x0, ym, top}, {x1, ym, top});
    return p;
}

// Water tower on the tall shed: four legs and the tank.
Part waterTowerLegs()
{
    Part p("water tower legs", Welding::PerGroup);
    const double l = 0.0004;
    for (double x : {0.3905, 0.3935})
        for (double y : {0.0055, 0.0085})
            addBox(p, {x - l, y - l, 0.0}, {x + l, y + l, 0.0028}, 15);
    return p;
}

Part waterTank()
{
    Part p("water tank", Welding::PerGroup);
    addBox(p, {0.3900, 0.0050, 0.0026}, {0.3940, 0.0090, 0.0036});
    return p;
}

Material fieldMaterial(double r, double g, double b, double specular, double shininess)
{
    return {{0.290196, 0.290196, 0.290196}, {r, g, b}, {specular, specular, specular}, shininess};
}

} // namespace

Model buildAirfield()
{
    Model m;
    m.name = "airfield";
    m.header = "airfieldmesh.h";
    m.vertexCount = airfield::vertexCount;
    m.normalCount = airfield::normalCount;
    m.halfExtent = {0.5, halfY, -groundZ};
    m.materials = {fieldMaterial(0, 0.0823529, 0.188235, 0.53, 337.794),
        fieldMaterial(0.247059, 0.211765, 0.188235, 0.6, 78.7932),
        fieldMaterial(0.34902, 0.34902, 0.333333, 0.6, 78.7932),
        fieldMaterial(0.301961, 0.301961, 0.301961, 1, 2048),
        fieldMaterial(0.329412, 0.329412, 0.309804, 0.6, 78.7932),
        fieldMaterial(0.239216, 0, 0, 0.6, 78.7932), fieldMaterial(0, 0, 0.0980392, 1, 2048),
        fieldMaterial(0.227451, 0.227451, 0.227451, 0.6, 78.7932),
        fieldMaterial(0.266667, 0.266667, 0.266667, 0.6, 78.7932),
        fieldMaterial(0.388235, 0.388235, 0.388235, 0.6, 78.7932),
        fieldMaterial(0.188235, 0.188235, 0.188235, 0.6, 78.7932),
        fieldMaterial(0.109804, 0.109804, 0.109804, 0.6, 78.7932),
        fieldMaterial(0, 0, 0.172549, 1, 2048)};
    const RectMap ground = groundMap();
    auto run = [&m](RunPlan plan, std::vector<Part> parts) {
        m.runs.push_back({plan, std::move(parts)});
    };
    const double z = groundZ;
    run({0, 98, {0.484, -0.091, -0.005}, {0.492, -0.064, 0.005}, "control tower"}, {tower()});
    run({1, 100, {0.390, -0.089, -0.005}, {0.465, 0.028, 0.000}, "roofs, timber sheds"},
        {houseRoofs(), pyramidShed()});
    run({2, 134, {0.390, -0.091, -0.005}, {0.486, 0.025, 0.003}, "walls"},
        {houseWalls(), hangarWalls()});
    run({3, 28, {0.390, -0.091, -0.002}, {0.485, 0.028, 0.001}, "hangar roof"}, {hangarRoof()});
    run({4, 6, {0.393, -0.089, -0.005}, {0.406, -0.070, 0.001}, "shed"}, {wedgeShed()});
    run({5, 32, {0.390, 0.005, 0.000}, {0.394, 0.009, 0.003}, "water tower legs"},
        {waterTowerLegs()});
    run({6, 140, {0.390, -0.091, -0.005}, {0.484, 0.024, -0.002}, "windows and doors"},
        {windows()});
    run({7, 37, {0.362, -0.154, z}, {0.492, 0.154, z}, "apron"},
        {groundSurface(ground, apron, "apron", Shading::Flat)});
    run({8, 140, {-0.242, -0.449, z}, {0.481, 0.448, z}, "taxiways"},
        {groundSurface(ground, taxiway, "taxiways")});
    run({9, 546, {-0.476, -0.447, z}, {0.464, 0.446, z}, "inner field and markings"},
        {groundSurface(ground, field, "inner field and markings")});
    run({10, 276, {-0.478, -0.429, z}, {0.492, 0.429, z}, "runways"},
        {groundSurface(ground, runway, "runways")});
    run({11, 190, {-0.5, -0.475, z}, {0.5, 0.475, z}, "outer grass"},
        {groundSurface(ground, grass, "outer grass")});
    run({12, 12, {0.391, 0.006, 0.001}, {0.393, 0.008, 0.002}, "water tank"}, {waterTank()});
    return m;
}
