// The helicopter (namespace di64): an attack helicopter with a stepped tandem
// cockpit, stub wings with rocket pods, a four-blade main rotor standing still
// at 45 degrees and a scissor tail rotor on the +y side of the fin. Nose
// towards +x, +z up; one model unit is about 15 m.
//
// Every part is a function below; the counts that shape the parts (segments
// around, stations along) are collected in `tess`.
//
// How the counts come out exactly. Faces: each run's parts were given
// segment and station counts whose faces add up to the run's count (a lathe
// with n segments gives n faces per pole and 2n per band; a prism of a
// k-point outline 4k - 4; a polygon with holes n + 2h - 2). Vertices: every
// part keeps one vertex per position; the landing-gear struts meet at shared
// joints. Normals: smooth surfaces have one per vertex, flat facets one
// each, and the hard edges are chosen where a real airframe has them: the
// fuselage's spine and upper chines and the step behind the canopy, the
// tyre treads, the pod shoulders, the intake lips, the blades' trailing
// edges, the canopy frames between panes; the wings' thick trailing edge,
// the tail rotor's tiny blades and the mast's base fairing stay smooth.

#include "di64mesh.h"
#include "model.h"

#include <cmath>

namespace {

// ---- tessellation: every count that shapes a part --------------------------
namespace tess {
constexpr int fuselageAround = 48; // points around each fuselage section
constexpr int nacelleAround = 20; // engine nacelles
constexpr int exhaustAround = 14; // exhaust nozzles
constexpr int intakeAround = 16; // engine intakes
constexpr int mastAround = 12; // rotor mast
constexpr int wingAirfoilHalf = 11; // stub wing airfoil: points per surface
constexpr int podAround = 36; // rocket pod shell and front face rim
constexpr int tubeAround = 8; // rocket tubes, liners and rocket noses
constexpr int tubes = 11; // per pod: one in the middle, ten round it
constexpr int hubAround = 12; // main rotor swashplate
constexpr int capAround = 10; // main rotor hub cap
constexpr int bladeAirfoilHalf = 3; // main rotor blade section: points per surface
constexpr int tailBladeHalf = 6; // tail rotor blade section
constexpr int tailHubAround = 12; // tail rotor hub and gearbox fairing
constexpr int tireAround = 20; // main wheel tyres
constexpr int tailTireAround = 18; // tail wheel tyre
constexpr int strutAround = 10; // landing gear struts and axles
constexpr int turretAround = 18; // gun turret
constexpr int barrelAround = 12; // gun barrel
constexpr int turretRings = 9; // gun turret: rings from the bottom pole to the open top
} // namespace tess

// ---- key dimensions ---------------------------------------------------------
constexpr double zTop = 0.150107; // fin tip; the model's top
constexpr double zGround = -0.150107; // tyre contact; the model's bottom
constexpr Vec3 rotorHub {0.155, 0, 0.097};
constexpr double tireRadius = 0.037, tailTireRadius = 0.020;
constexpr double mainRim = 0.020, tailRim = 0.010; // wheel hub radius inside the tyres
constexpr Vec3 mainWheel {0.195, 0.060, zGround + tireRadius};
constexpr Vec3 tailWheel {-0.443, 0, zGround + tailTireRadius};
constexpr double nacelleY = 0.058, nacelleZ = 0.010;
constexpr Vec3 podCentre {0, 0.100, -0.088}; // x from podRear to podFront
constexpr double podRear = 0.146, podFront = 0.2135, podRadius = 0.013;
constexpr double podRimRadius = 0.0115, tubeRadius = 0.0016, tubeRing = 0.0072;
constexpr double tubeDepth = 0.197; // x of the rocket noses' base inside the tubes

// Main rotor blade: chord split about the blade's axis so that the blades
// reach 0.345 fore and aft of the hub (to x = 0.5) and 0.3468 to the sides.
// The length is a hair short of exact so that rounding to float lands the
// tip on 0.5 rather than one step past it.
constexpr double bladeLead = 0.016273, bladeTrail = 0.013727;
const double bladeLength = (0.5 - 0.155) * std::sqrt(2.0) - bladeTrail - 1e-9; // hub centre to tip

// Tail rotor: four blades in the x-z plane, in scissor pairs 55 degrees apart.
constexpr double tailBladeAngle = 27.5; // degrees either side of the x axis
constexpr double tailBladeLength = 0.08834, tailBladeChord = 0.014;
constexpr double tailRotorY = 0.046, tailRotorZ = 0.093;
double tailRotorX()
{
    // the aftmost blade corner lands exactly on x = -0.5
    const double a = deg(tailBladeAngle);
    return -0.5 + tailBladeLength * std::cos(a) + tailBladeChord / 2 * std::sin(a);
}

Transform side(int s) { return s > 0 ? Transform() : Transform::mirrorY(); }

// Symmetric airfoil (4-digit thickness law, closed trailing edge) with
// `half` points per surface: a loop of 2 * half points in (chordwise, normal)
// coordinates, leading edge at 0, trailing edge at 1.
std::vector<Vec2> airfoil(int half, double thickness)
{
    std::vector<Vec2> pts;
    auto yt = [thickness](double x) {
        return 5 * thickness
            * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x
                - 0.1036 * x * x * x * x);
    };
    for (int k = half; k >= 0; --k) { // trailing edge over the top to the leading edge
        const double x = (1 - std::cos(pi * k / half)) / 2;
        pts.push_back({x, k == half ? 0 : yt(x)});
    }
    for (int k = 1; k < half; ++k) { // underneath back to the trailing edge
        const double x = (1 - std::cos(pi * k / half)) / 2;
        pts.push_back({x, -yt(x)});
    }
    return pts;
}

// A rounded-box fuselage section: half width w, top zt, bottom zb; the
// exponents make it rounder (2) or squarer (4) above and below the middle.
// The upper half narrows from w (at the middle) to wTop (at the top).
std::vector<Vec3> fuselageSection(
    double x, double w, double wTop, double zt, double zb, double eTop, double eBot, int n)
{
    std::vector<Vec3> pts;
    const double zc = (zt + zb) / 2, h = (zt - zb) / 2;
    for (int j = 0; j < n; ++j) {
        const double t = 2 * pi * j / n;
        const double c = std::cos(t), s = std::sin(t);
        const double e = s >= 0 ? eTop : eBot;
        auto pw = [e](double v) { return (v < 0 ? -1 : 1) * std::pow(std::fabs(v), 2 / e); };
        const double width = s > 0 ? w + (wTop - w) * std::sqrt(s) : w;
        pts.push_back({x, width * pw(c), zc + h * pw(s)});
    }
    return pts;
}

// A closed cylinder-like lathe between two points: the profile's a runs
// from p0 to p1.
Frame frameAlong(Vec3 p0, Vec3 p1, Vec3 refHint)
{
    Frame f;
    f.origin = p0;
    f.axis = normalized(p1 - p0);
    f.ref = normalized(refHint - f.axis * dot(refHint, f.axis));
    return f;
}

void strut(Part &p, Vec3 a, Vec3 b, double r, int around)
{
    const double len = length(b - a);
    addLathe(p, {{0, 0}, {0, r}, {len, r}, {len, 0}}, frameAlong(a, b, {0, 0, 1}), around,
        creasedRows({1, 2}));
}

// ============================================================================
// Run 0: engine exhausts
// ============================================================================

// Hollow nozzle at the back of a nacelle, pointing aft: outer wall, rim and
// a short inner throat closed by the turbine face.
Part engineExhaust(int s)
{
    Part p(s > 0 ? "exhaust left" : "exhaust right");
    p.setTransform(side(s));
    Frame f {{0.013, nacelleY, nacelleZ}, {-1, 0, 0}, {0, 0, 1}};
    addLathe(p, {{0, 0.0195}, {0.044, 0.0172}, {0.044, 0.0135}, {0.030, 0.0}}, f,
        tess::exhaustAround, creasedRows({1, 2}));
    return p;
}

// ============================================================================
// Run 1: landing gear, wheel hubs, gun turret
// ============================================================================

Part mainGear(int s)
{
    Part p(s > 0 ? "main gear left" : "main gear right");
    p.setTransform(side(s));
    const Vec3 axle = mainWheel;
    // leg from the fuselage side down to the axle, and a drag brace
    // shock strut: its top end is inside the fuselage and stays open
    const Vec3 top {0.214, 0.036, -0.062}, knee {0.212, 0.044, -0.098};
    addLathe(p, {{0, 0.0045}, {length(knee - top), 0.0045}, {length(knee - top), 0}},
        frameAlong(top, knee, {0, 0, 1}), tess::strutAround, creasedRows({1}));
    // trailing arm, drag brace and axle meet the strut and each other at
    // shared joints
    const Vec3 axleIn {axle.x, 0.044, axle.z};
    strut(p, knee, axleIn, 0.0035, tess::strutAround);
    strut(p, {0.250, 0.034, -0.084}, knee, 0.003, tess::strutAround);
    strut(p, axleIn, {axle.x, axle.y + 0.004, axle.z}, 0.003, tess::strutAround);
    return p;
}

// Dished wheel centre filling the tyre on both sides.
void wheelHub(Part &p, Vec3 centre, double halfWidth, double rimRadius, int around)
{
    for (int k : {-1, 1}) {
        Frame f {centre, {0, double(k), 0}, {0, 0, -1}};
        addLathe(p,
            {{halfWidth * 0.5, 0}, {halfWidth * 0.6, rimRadius * 0.45}, {halfWidth, rimRadius}}, f,
            around, flipped());
    }
}

Part wheelHubs()
{
    Part p("wheel hubs");
    for (int s : {1, -1}) {
        p.setTransform(side(s));
        wheelHub(p, mainWheel, 0.009, mainRim, tess::tireAround);
    }
    p.setTransform({});
    wheelHub(p, tailWheel, 0.005, tailRim, tess::tailTireAround);
    return p;
}

Part tailWheelFork()
{
    Part p("tail wheel fork");
    for (int s : {1, -1}) {
        p.setTransform(side(s));
        addPrism(p,
            {{-0.449, 0.007, -0.088}, {-0.436, 0.007, -0.088}, {-0.440, 0.007, -0.128},
                {-0.446, 0.007, -0.128}},
            {0, 0.003, 0}, {});
    }
    p.setTransform({});
    strut(p, {tailWheel.x, -0.010, tailWheel.z}, {tailWheel.x, 0.010, tailWheel.z}, 0.0025,
        tess::strutAround);
    return p;
}

// Chin turret: a ball under the front cockpit with the gun's receiver.
Part gunTurret()
{
    Part p("gun turret");
    const Vec3 c {0.290, 0, -0.108};
    const double r = 0.020;
    std::vector<Vec2> prof;
    // from the bottom pole up to where the ball disappears into the belly
    for (int k = 0; k <= tess::turretRings; ++k) {
        const double t = 0.78 * pi * k / tess::turretRings;
        prof.push_back({-r * std::cos(t), r * std::sin(t)});
    }
    addLathe(p, prof, {c, {0, 0, 1}, {1, 0, 0}}, tess::turretAround, {});
    addBox(p, {0.300, -0.005, -0.1255}, {0.3135, 0.005, -0.1135});
    return p;
}

// ============================================================================
// Run 3: gun barrel
// ============================================================================

// Barrel with a thicker muzzle brake; the bore stays open.
Part gunBarrel()
{
    Part p("gun barrel");
    Frame f {{0.3135, 0, -0.1195}, {1, 0, 0}, {0, 0, 1}};
    addLathe(p,
        {{0, 0}, {0, 0.0021}, {0.0585, 0.0021}, {0.0585, 0.0025}, {0.0715, 0.0025},
            {0.0715, 0.0012}},
        f, tess::barrelAround, creasedRows({1, 2, 3, 4, 5}));
    return p;
}

// ============================================================================
// Run 4: body
// ============================================================================

struct Station
{
    double x, w, wTop, zt, zb, eTop, eBot;
};

// Nose to tail: x, half width at the middle and at the top, top, bottom,
// squareness above and below. Along the cockpit the wide lower half (the
// avionics bays) narrows to the sill the canopy sits on; behind the canopy
// the top steps up into the engine deck round the mast.
const Station fuselageStations[] = {
    {0.446, 0.000, 0.000, -0.054, -0.054, 2.0, 2.0}, // nose point
    {0.443, 0.009, 0.008, -0.046, -0.063, 2.2, 2.2},
    {0.436, 0.017, 0.015, -0.043, -0.071, 2.5, 2.5},
    {0.426, 0.024, 0.021, -0.043, -0.078, 2.8, 2.8},
    {0.414, 0.030, 0.025, -0.045, -0.083, 3.0, 3.0},
    {0.400, 0.036, 0.028, -0.047, -0.087, 3.0, 3.0},
    {0.384, 0.042, 0.030, -0.049, -0.090, 3.2, 3.0},
    {0.362, 0.047, 0.032, -0.050, -0.092, 3.4, 3.2},
    {0.336, 0.050, 0.033, -0.050, -0.093, 3.4, 3.2},
    {0.306, 0.052, 0.034, -0.049, -0.094, 3.4, 3.2},
    {0.276, 0.053, 0.035, -0.048, -0.095, 3.4, 3.2},
    {0.248, 0.053, 0.036, -0.046, -0.096, 3.4, 3.2},
    {0.2232, 0.053, 0.037, -0.044, -0.097, 3.4, 3.2}, // canopy ends
    {0.2215, 0.053, 0.040, 0.024, -0.097, 3.2, 3.2}, // engine deck
    {0.208, 0.053, 0.042, 0.046, -0.097, 3.2, 3.2}, {0.186, 0.052, 0.043, 0.055, -0.097, 3.2, 3.2},
    {0.150, 0.050, 0.043, 0.058, -0.096, 3.2, 3.2}, {0.110, 0.049, 0.043, 0.057, -0.094, 3.2, 3.2},
    {0.070, 0.047, 0.042, 0.052, -0.091, 3.2, 3.2}, {0.030, 0.044, 0.040, 0.046, -0.086, 3.2, 3.0},
    {-0.005, 0.039, 0.036, 0.040, -0.076, 3.0, 3.0},
    {-0.035, 0.032, 0.030, 0.034, -0.060, 3.0, 2.6},
    {-0.065, 0.026, 0.025, 0.030, -0.042, 2.8, 2.5}, // tail boom
    {-0.100, 0.022, 0.021, 0.027, -0.027, 2.8, 2.5},
    {-0.150, 0.019, 0.018, 0.026, -0.015, 2.8, 2.5},
    {-0.210, 0.017, 0.016, 0.025, -0.007, 2.8, 2.5},
    {-0.270, 0.016, 0.015, 0.025, -0.001, 2.8, 2.5}, {-0.330, 0.014, 0.014, 0.025, 0.004, 2.8, 2.5},
    {-0.380, 0.013, 0.013, 0.026, 0.008, 2.8, 2.5}, {-0.420, 0.012, 0.012, 0.027, 0.011, 2.8, 2.5},
    {-0.440, 0.010, 0.010, 0.027, 0.013, 2.6, 2.5}, {-0.450, 0.006, 0.006, 0.025, 0.016, 2.5, 2.5},
    {-0.453, 0.000, 0.000, 0.021, 0.021, 2.0, 2.0}, // boom end
};

Part fuselage()
{
    Part p("fuselage");
    std::vector<std::vector<Vec3>> rows;
    for (const Station &s : fuselageStations)
        rows.push_back(
            fuselageSection(s.x, s.w, s.wTop, s.zt, s.zb, s.eTop, s.eBot, tess::fuselageAround));
    // hard edges: the step up to the engine deck, and along the top a spine
    // and two chines that give the upper body its angular look; the belly
    // stays smoothly rounded
    GridOptions o = creasedRows({12, 13});
    const int q = tess::fuselageAround / 8;
    o.hardCols = {q, 2 * q, 3 * q};
    addLoft(p, rows, o);
    return p;
}

Part engineNacelle(int s)
{
    Part p(s > 0 ? "nacelle left" : "nacelle right");
    p.setTransform(side(s));
    Frame f {{0, nacelleY, nacelleZ}, {1, 0, 0}, {0, 0, 1}};
    addLathe(p,
        {{-0.004, 0}, {-0.004, 0.0205}, {0.010, 0.0228}, {0.040, 0.0235}, {0.080, 0.0235},
            {0.110, 0.0225}, {0.126, 0.0200}, {0.126, 0}},
        f, tess::nacelleAround, creasedRows({1, 6}));
    return p;
}

// Vertical fin with its ventral part carrying the tail wheel; flat slab.
Part tailFin()
{
    Part p("tail fin");
    const double t = 0.005;
    std::vector<Vec3> outline
        = {{-0.370, -t, 0.026}, {-0.418, -t, 0.138}, {-0.430, -t, zTop}, {-0.478, -t, zTop},
            {-0.470, -t, 0.030}, {-0.458, -t, -0.088}, {-0.434, -t, -0.088}, {-0.418, -t, 0.010}};
    addPrism(p, outline, {0, 2 * t, 0}, {});
    return p;
}

Part stabilator()
{
    Part p("stabilator");
    std::vector<Vec3> outline = {{-0.440, -0.100, 0.018}, {-0.430, -0.020, 0.018},
        {-0.430, 0.020, 0.018}, {-0.440, 0.100, 0.018}, {-0.462, 0.100, 0.018},
        {-0.468, 0.020, 0.018}, {-0.468, -0.020, 0.018}, {-0.462, -0.100, 0.018}};
    addPrism(p, outline, {0, 0, 0.005}, {});
    return p;
}

// Tail rotor gearbox fairing on the fin's +y face.
Part tailGearbox()
{
    Part p("tail rotor gearbox");
    Frame f {{tailRotorX(), 0.002, tailRotorZ}, {0, 1, 0}, {1, 0, 0}};
    addLathe(p, {{0, 0.0095}, {0.009, 0.0095}, {0.0125, 0.0082}, {0.0145, 0.0055}, {0.0152, 0}}, f,
        tess::tailHubAround, {});
    return p;
}

// Nose sensor turrets: a twelve-sided drum under the nose and a small drum
// on top; their forward facets are the windows of run 2.
struct Drum
{
    Vec3 centre;
    double r, z0, z1;
    int sides;
    int windows; // 1: one facet facing ahead; 2: the two facets either side of a front edge
};
const Drum sightDrum {{0.440, 0, 0}, 0.021, -0.080, -0.046, 11, 1};
const Drum nightDrum {{0.426, 0, 0}, 0.010, -0.047, -0.032, 11, 2};

// Facets 0 .. windows-1 are the windows.
std::vector<Vec3> drumRing(const Drum &d, double z)
{
    std::vector<Vec3> ring;
    const double first = d.windows == 1 ? -0.5 : -1.0;
    for (int j = 0; j < d.sides; ++j) {
        const double a = 2 * pi * (j + first) / d.sides;
        ring.push_back({d.centre.x + d.r * std::cos(a), d.r * std::sin(a), z});
    }
    return ring;
}

void drumBody(Part &p, const Drum &d, bool bottom)
{
    const auto lo = drumRing(d, d.z0), hi = drumRing(d, d.z1);
    for (int j = d.windows; j < d.sides; ++j) {
        const int g = p.beginGroup(Shading::Flat);
        const int k = (j + 1) % d.sides;
        p.quad(g, lo[j], lo[k], hi[k], hi[j]);
    }
    if (bottom)
        addPolygon(p, lo, {}, {0, 0, -1});
    addPolygon(p, hi, {}, {0, 0, 1});
}

Part sensorTurrets()
{
    Part p("sensor turrets");
    drumBody(p, sightDrum, true);
    drumBody(p, nightDrum, false); // stands on the nose
    return p;
}

// ============================================================================
// Run 2 and 11: glazing
// ============================================================================

// The canopy: a stepped tandem glasshouse over the cockpit sill. Sections
// run from the front sill line over the gunner's and the pilot's roofs; each
// section goes from the left sill over the top to the right sill.
struct CanopyStation
{
    double x, zSill, wSill, zTop, wTop;
};
const CanopyStation canopyStations[] = {
    {0.380, -0.052, 0.031, -0.052, 0.022}, // gunner windscreen foot (flat)
    {0.346, -0.052, 0.034, -0.004, 0.023}, // gunner windscreen top
    {0.302, -0.050, 0.035, -0.004, 0.024}, // gunner roof end
    {0.283, -0.050, 0.035, 0.032, 0.024}, // pilot windscreen top
    {0.236, -0.048, 0.036, 0.032, 0.025}, // pilot roof end
    {0.2212, -0.048, 0.036, -0.020, 0.022}, // sloping down into the engine deck
};
constexpr int canopySideRows = 5; // panels up each side, sill to roof edge
constexpr int canopyTopCols = 5; // panels across the roof

std::vector<Vec3> canopySection(const CanopyStation &s)
{
    std::vector<Vec3> pts;
    // left side, sill to roof edge (bulging out a little), roof, right side
    for (int k = 0; k < canopySideRows; ++k) {
        const double t = double(k) / canopySideRows;
        const double bulge = 0.003 * std::sin(pi * t) * (s.zTop - s.zSill) / 0.09;
        pts.push_back(
            {s.x, -(s.wSill + (s.wTop - s.wSill) * t + bulge), s.zSill + (s.zTop - s.zSill) * t});
    }
    for (int k = 0; k <= canopyTopCols; ++k) {
        const double t = double(k) / canopyTopCols;
        const double crown = 0.003 * std::sin(pi * t) * (s.zTop - s.zSill) / 0.09;
        pts.push_back({s.x, -s.wTop + 2 * s.wTop * t, s.zTop + crown});
    }
    for (int k = canopySideRows - 1; k >= 0; --k) {
        const Vec3 q = pts[size_t(k)];
        pts.push_back({q.x, -q.y, q.z});
    }
    return pts;
}

// Cells of the canopy grid: the middle columns (windscreens and roofs) are
// the tinted glass, the columns up each side the side windows. The glass is
// slightly bulged, so each pane (one band of one side, or of the roof) is a
// smooth group; the frames between panes are hard edges.
void canopyCells(Part &p, bool sides)
{
    std::vector<std::vector<Vec3>> rows;
    for (const CanopyStation &s : canopyStations)
        rows.push_back(canopySection(s));
    const int cols = int(rows[0].size());
    // the windscreen's foot starts at the sill corners of the first side panes
    rows[0].front() = rows[1].front();
    rows[0].back() = rows[1].back();
    int side[2] = {-1, -1}; // each side's glass is one curved sheet
    for (size_t i = 0; i + 1 < rows.size(); ++i) {
        int pane[3] = {-1, -1, -1}; // left side, roof, right side
        for (int j = 0; j + 1 < cols; ++j) {
            const int region = j < canopySideRows ? 0 : j >= cols - 1 - canopySideRows ? 2 : 1;
            if (sides == (region == 1))
                continue;
            if (region != 1) {
                int &g = side[region / 2];
                if (g < 0)
                    g = p.beginGroup(Shading::Smooth);
                pane[region] = g;
            }
            if (pane[region] < 0)
                pane[region] = p.beginGroup(Shading::Smooth);
            // rows run aft, columns from -y over the top to +y
            const Vec3 a = rows[i][j], b = rows[i][j + 1], c = rows[i + 1][j + 1],
                       d = rows[i + 1][j];
            p.quad(pane[region], a, b, c, d); // at the windscreen's foot corners one half collapses
        }
    }
}

Part canopyGlass()
{
    Part p("canopy windscreens and roofs");
    canopyCells(p, false);
    return p;
}

Part canopySideGlass()
{
    Part p("canopy side windows");
    canopyCells(p, true);
    return p;
}

Part sensorWindows()
{
    Part p("sensor windows");
    for (const Drum *d : {&sightDrum, &nightDrum}) {
        const auto lo = drumRing(*d, d->z0), hi = drumRing(*d, d->z1);
        for (int j = 0; j < d->windows; ++j) {
            const int g = p.beginGroup(Shading::Flat);
            p.quad(g, lo[j], lo[j + 1], hi[j + 1], hi[j]);
        }
    }
    return p;
}

// ============================================================================
// Run 5: engine intakes and rotor mast
// ============================================================================

Part engineIntake(int s)
{
    Part p(s > 0 ? "intake left" : "intake right");
    p.setTransform(side(s));
    Frame f {{0.116, nacelleY, nacelleZ}, {1, 0, 0}, {0, 0, 1}};
    addLathe(p,
        {{0, 0.0185}, {0.028, 0.0178}, {0.034, 0.0150}, {0.030, 0.0128}, {0.018, 0.0125},
            {0.018, 0.0050}, {0.021, 0}},
        f, tess::intakeAround, creasedRows({2, 5})); // sharp lip, duct floor
    return p;
}

Part rotorMast()
{
    Part p("rotor mast");
    Frame f {{rotorHub.x, 0, 0.050}, {0, 0, 1}, {1, 0, 0}};
    // a base fairing that blends smoothly into the shaft
    addLathe(
        p, {{0, 0.017}, {0.008, 0.015}, {0.012, 0.008}, {0.039, 0.008}}, f, tess::mastAround, {});
    return p;
}

// ============================================================================
// Run 6: stub wings
// ============================================================================

Part stubWing(int s)
{
    Part p(s > 0 ? "stub wing left" : "stub wing right");
    p.setTransform(side(s));
    const double lead = 0.230, chord = 0.110, zMid = -0.070;
    const auto foil = airfoil(tess::wingAirfoilHalf, 0.127);
    // spanwise stations: root inside the fuselage out to a rounded tip
    const double span[][2] = {{0.030, 1.0}, {0.050, 1.0}, {0.070, 1.0}, {0.090, 1.0}, {0.110, 1.0},
        {0.130, 1.0}, {0.144, 0.97}, {0.150, 0.88}, {0.153, 0.70}, {0.154, 0.50}};
    std::vector<std::vector<Vec3>> rows;
    for (const auto &st : span) {
        std::vector<Vec3> sec;
        for (const Vec2 &q : foil)
            sec.push_back({lead - 0.01 * (1 - st[1]) - q.x * chord * st[1], st[0],
                zMid + q.y * chord * st[1]});
        rows.push_back(sec);
    }
    addLoft(p, rows, {}); // a thick section: its trailing edge stays rounded
    addPolygon(p, rows.back(), {}, {0, 1, 0});
    // two pylon fairings under the wing; the outer one carries the pod
    for (double y : {0.065, podCentre.y}) {
        std::vector<Vec3> side;
        for (int k = 0; k < 10; ++k) {
            const double a = 2 * pi * k / 10;
            side.push_back(
                {0.182 + 0.030 * std::cos(a), y - 0.003, -0.0725 + 0.0055 * std::sin(a)});
        }
        addPrism(p, side, {0, 0.006, 0}, {});
    }
    return p;
}

// ============================================================================
// Runs 7, 8, 9: rocket pods
// ============================================================================

Frame podFrame() { return {{0, podCentre.y, podCentre.z}, {1, 0, 0}, {0, 0, 1}}; }

std::vector<Vec3> tubeCentres()
{
    std::vector<Vec3> c = {{podFront, podCentre.y, podCentre.z}};
    for (int k = 0; k < tess::tubes - 1; ++k) {
        const double a = 2 * pi * k / (tess::tubes - 1);
        c.push_back(
            {podFront, podCentre.y + tubeRing * std::sin(a), podCentre.z + tubeRing * std::cos(a)});
    }
    return c;
}

// Pod skin with rounded tail, and the tube mouths lined back to the rockets.
Part rocketPod(int s)
{
    Part p(s > 0 ? "rocket pod left" : "rocket pod right");
    p.setTransform(side(s));
    addLathe(p,
        {{podRear, 0}, {podRear + 0.0012, 0.0055}, {podRear + 0.0035, 0.0090},
            {podRear + 0.0070, 0.0115}, {podRear + 0.0120, podRadius}, {0.180, podRadius},
            {0.205, podRadius}, {0.210, 0.0126}, {podFront, podRimRadius}},
        podFrame(), tess::podAround, creasedRows({7})); // front shoulder
    // strongback along the top that the pod hangs from
    std::vector<Vec3> back;
    for (int k = 0; k < 10; ++k) {
        const double a = 2 * pi * k / 10;
        back.push_back({0.180 + 0.022 * std::cos(a), podCentre.y - 0.003,
            podCentre.z + 0.0125 + 0.002 * std::sin(a)});
    }
    addPrism(p, back, {0, 0.006, 0}, {});
    for (const Vec3 &c : tubeCentres()) {
        Frame f {c, {1, 0, 0}, {0, 0, 1}};
        addLathe(p, {{0, tubeRadius}, {tubeDepth - podFront, tubeRadius}}, f, tess::tubeAround, {});
    }
    return p;
}

// Red front face of a pod: the disc inside the rim, pierced by the tubes.
Part podFrontFace(int s)
{
    Part p(s > 0 ? "pod face left" : "pod face right");
    p.setTransform(side(s));
    const auto rim = circle(podFrame(), podFront, podRimRadius, tess::podAround);
    std::vector<std::vector<Vec3>> holes;
    for (const Vec3 &c : tubeCentres())
        holes.push_back(circle({c, {1, 0, 0}, {0, 0, 1}}, 0, tubeRadius, tess::tubeAround));
    addPolygon(p, rim, holes, {1, 0, 0});
    return p;
}

// Rocket noses seated at the bottom of the tubes.
Part rockets(int s)
{
    Part p(s > 0 ? "rockets left" : "rockets right");
    p.setTransform(side(s));
    for (const Vec3 &c : tubeCentres()) {
        Frame f {{tubeDepth, c.y, c.z}, {1, 0, 0}, {0, 0, 1}};
        addLathe(p, {{0, tubeRadius}, {0.0055, 0}}, f, tess::tubeAround, {});
    }
    return p;
}

// ============================================================================
// Run 10: main rotor
// ============================================================================

Part rotorHead()
{
    Part p("rotor head");
    Frame f {{rotorHub.x, 0, 0.062}, {0, 0, 1}, {1, 0, 0}};
    // swashplate
    addLathe(p, {{0, 0}, {0, 0.016}, {0.006, 0.016}, {0.006, 0}}, f, tess::hubAround,
        creasedRows({1, 2}));
    // hub: a shallow cone under the blade roots and a taller cap over them
    addLathe(p, {{0.022, 0}, {0.036, 0.020}, {0.066, 0}}, f, tess::capAround, creasedRows({1}));
    return p;
}

// One blade along +x' from the hub, chord across y' (leading edge +y').
void blade(Part &p)
{
    const auto foil = airfoil(tess::bladeAirfoilHalf, 0.09);
    const double chord = bladeLead + bladeTrail;
    std::vector<std::vector<Vec3>> rows;
    for (double s : {0.016, bladeLength}) {
        std::vector<Vec3> sec;
        for (const Vec2 &q : foil)
            sec.push_back({s, bladeLead - q.x * chord, q.y * chord});
        rows.push_back(sec);
    }
    GridOptions sharpTrailingEdge;
    sharpTrailingEdge.hardCols = {0};
    addLoft(p, rows, sharpTrailingEdge);
    addPolygon(p, rows.back(), {}, {1, 0, 0});
}

Part mainRotorBlades()
{
    Part p("main rotor blades");
    const Transform hub = Transform::translate(rotorHub);
    const Transform a = hub * Transform::rotateZ(deg(45));
    const Transform c = hub * Transform::rotateZ(deg(225));
    // blades at +45 and +225 degrees, and their mirror images at -45 and
    // +135: the rotor is symmetric about the x-z plane like the rest
    for (const Transform &t : {a, Transform::mirrorY() * a, c, Transform::mirrorY() * c}) {
        p.setTransform(t);
        blade(p);
    }
    return p;
}

// ============================================================================
// Run 12: tail rotor
// ============================================================================

Part tailRotor()
{
    Part p("tail rotor");
    const Vec3 centre {tailRotorX(), tailRotorY, tailRotorZ};
    Frame f {{centre.x, 0.016, centre.z}, {0, 1, 0}, {1, 0, 0}};
    addLathe(p, {{0, 0.005}, {0.028, 0.005}, {0.036, 0.0065}, {0.041, 0}}, f, tess::tailHubAround,
        creasedRows({1}));
    const auto foil = airfoil(tess::tailBladeHalf, 0.12);
    for (double ang :
        {tailBladeAngle, -tailBladeAngle, 180 - tailBladeAngle, 180 + tailBladeAngle}) {
        // blade along x' in the x-z plane, chord along z', thickness along y
        const double a = deg(ang);
        Transform t;
        t.cx = {std::cos(a), 0, std::sin(a)};
        t.cz = {-std::sin(a), 0, std::cos(a)};
        t.cy = {0, 1, 0};
        t.t = centre;
        p.setTransform(t);
        std::vector<std::vector<Vec3>> rows;
        for (double s : {0.005, 0.030, 0.060, tailBladeLength}) {
            std::vector<Vec3> sec;
            for (const Vec2 &q : foil)
                sec.push_back({s, q.y * tailBladeChord, tailBladeChord / 2 - q.x * tailBladeChord});
            rows.push_back(sec);
        }
        addLoft(p, rows, {}); // too small for a sharp trailing edge to show
        addPolygon(p, rows.back(), {}, {1, 0, 0});
    }
    return p;
}

// ============================================================================
// Run 13: tyres
// ============================================================================

void tyre(Part &p, Vec3 centre, double r, double halfWidth, double rim, int around, bool bulge)
{
    // around the wheel axle (y); angle 0 points straight down so the contact
    // point is a vertex
    Frame f {centre, {0, 1, 0}, {0, 0, -1}};
    const double w = halfWidth;
    std::vector<Vec2> prof = {{-w, rim}, {-w * 0.9, r - 0.3 * (r - rim)}, {-w * 0.45, r},
        {w * 0.45, r}, {w * 0.9, r - 0.3 * (r - rim)}, {w, rim}};
    if (bulge) // the small tyre gets a rounder shoulder
        prof = {{-w, rim}, {-w * 0.95, r - 0.45 * (r - rim)}, {-w * 0.75, r - 0.1 * (r - rim)},
            {0, r}, {w * 0.75, r - 0.1 * (r - rim)}, {w * 0.95, r - 0.45 * (r - rim)}, {w, rim}};
    addLathe(p, prof, f, around, creasedRows({2, int(prof.size()) - 3})); // tread edges
}

Part tyres()
{
    Part p("tyres");
    for (int s : {1, -1}) {
        p.setTransform(side(s));
        tyre(p, mainWheel, tireRadius, 0.009, mainRim, tess::tireAround, false);
    }
    p.setTransform({});
    tyre(p, tailWheel, tailTireRadius, 0.005, tailRim, tess::tailTireAround, true);
    return p;
}

Material heliMaterial(double grey)
{
    return {{0.117647, 0.117647, 0.117647}, {grey, grey, grey}, {0.752941, 0.752941, 0.752941}, 8};
}

} // namespace

Model buildHelicopter()
{
    Model m;
    m.name = "di64";
    m.header = "di64mesh.h";
    m.vertexCount = di64::vertexCount;
    m.normalCount = di64::normalCount;
    m.halfExtent = {0.5, 0.3468, zTop};
    m.materials = {heliMaterial(0.596078), heliMaterial(0.862745),
        {{0.117647, 0.117647, 0.117647}, {0, 0, 0.980392}, {0.752941, 0.752941, 0.752941}, 8},
        heliMaterial(0.462745),
        {{0.117647, 0.117647, 0.117647}, {0.109804, 0.14902, 0}, {0.752941, 0.752941, 0.752941}, 8},
        heliMaterial(0.729412), heliMaterial(0.980392), heliMaterial(1),
        {{0.117647, 0.117647, 0.117647}, {0.980392, 0, 0}, {0.752941, 0.752941, 0.752941}, 8},
        heliMaterial(0.796079), heliMaterial(0.329412)};

    auto run = [&m](RunPlan plan, std::vector<Part> parts) {
        m.runs.push_back({plan, std::move(parts)});
    };
    run({0, 140, {-0.031, -0.082, -0.019}, {0.013, 0.082, 0.028}, "engine exhausts"},
        {engineExhaust(1), engineExhaust(-1)});
    run({1, 1030, {-0.457, -0.070, -0.140}, {0.312, 0.070, -0.035},
            "landing gear, hubs, gun turret"},
        {mainGear(1), mainGear(-1), wheelHubs(), tailWheelFork(), gunTurret()});
    run({2, 56, {0.223, -0.038, -0.078}, {0.461, 0.038, 0.034},
            "canopy windscreens, roofs, sensor windows"},
        {canopyGlass(), sensorWindows()});
    run({3, 108, {0.315, -0.003, -0.122}, {0.385, 0.003, -0.117}, "gun barrel"}, {gunBarrel()});
    run({4, 3661, {-0.478, -0.158, -0.130}, {0.461, 0.158, 0.150}, "body"},
        {fuselage(), engineNacelle(1), engineNacelle(-1), tailFin(), stabilator(), tailGearbox(),
            sensorTurrets()});
    run({5, 424, {0.116, -0.077, -0.008}, {0.172, 0.077, 0.089}, "engine intakes, rotor mast"},
        {engineIntake(1), engineIntake(-1), rotorMast()});
    run({6, 976, {0.117, -0.154, -0.077}, {0.230, 0.154, -0.063}, "stub wings"},
        {stubWing(1), stubWing(-1)});
    run({7, 1504, {0.146, -0.116, -0.101}, {0.213, 0.116, -0.075}, "rocket pods"},
        {rocketPod(1), rocketPod(-1)});
    run({8, 288, {0.213, -0.113, -0.098}, {0.214, 0.113, -0.078}, "pod front faces"},
        {podFrontFace(1), podFrontFace(-1)});
    run({9, 176, {0.155, -0.107, -0.097}, {0.201, 0.107, -0.077}, "rockets in the tubes"},
        {rockets(1), rockets(-1)});
    run({3, 132, {-0.191, -0.347, 0.062}, {0.500, 0.347, 0.128}, "main rotor"},
        {rotorHead(), mainRotorBlades()});
    run({6, 98, {0.221, -0.038, -0.054}, {0.379, 0.038, 0.034}, "canopy side windows"},
        {canopySideGlass()});
    run({3, 388, {-0.500, 0.016, 0.046}, {-0.329, 0.057, 0.140}, "tail rotor"}, {tailRotor()});
    run({10, 616, {-0.463, -0.072, -0.150}, {0.232, 0.072, -0.076}, "tyres"}, {tyres()});
    return m;
}
