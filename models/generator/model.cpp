#include "model.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <set>
#include <stdexcept>

Tables assemble(Model &model)
{
    Tables t;
    for (Run &run : model.runs) {
        for (Part &part : run.parts) {
            part.finish();
            const int v0 = int(t.vertices.size()), n0 = int(t.normals.size());
            for (const Vec3 &v : part.vertices())
                t.vertices.push_back({float(v.x), float(v.y), float(v.z)});
            for (const Vec3 &n : part.normals())
                t.normals.push_back({float(n.x), float(n.y), float(n.z)});
            for (const Part::Face &f : part.faces()) {
                Tables::Face out;
                for (int k = 0; k < 3; ++k) {
                    const int v = v0 + f.v[k], n = n0 + f.n[k];
                    if (v > INT16_MAX || n > INT16_MAX)
                        throw std::runtime_error(model.name + ": index does not fit 16 bits");
                    out.v[k] = std::int16_t(v);
                    out.n[k] = std::int16_t(n);
                }
                t.faces.push_back(out);
            }
        }
    }
    return t;
}

namespace {

std::string format(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char *fmt, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return buf;
}

Vec3 toVec(const std::array<float, 3> &a) { return {a[0], a[1], a[2]}; }

} // namespace

std::vector<std::string> check(const Model &model, const Tables &t)
{
    std::vector<std::string> problems;
    auto fail = [&](const std::string &s) { problems.push_back(model.name + ": " + s); };
    int planned = 0;
    for (const Run &r : model.runs)
        planned += r.plan.faces;
    if (int(t.faces.size()) != planned)
        fail(format("%zu faces, want %d", t.faces.size(), planned));
    if (int(t.vertices.size()) != model.vertexCount)
        fail(format("%zu vertices, want %d", t.vertices.size(), model.vertexCount));
    if (int(t.normals.size()) != model.normalCount)
        fail(format("%zu normals, want %d", t.normals.size(), model.normalCount));

    std::vector<bool> vUsed(t.vertices.size()), nUsed(t.normals.size());
    size_t first = 0;
    for (size_t r = 0; r < model.runs.size(); ++r) {
        const Run &run = model.runs[r];
        size_t count = 0;
        for (const Part &p : run.parts)
            count += p.faces().size();
        if (int(count) != run.plan.faces)
            fail(format("run %zu has %zu faces, want %d", r, count, run.plan.faces));
        const double tol = 0.002;
        Vec3 lo {1e9, 1e9, 1e9}, hi {-1e9, -1e9, -1e9};
        for (size_t f = first; f < first + count && f < t.faces.size(); ++f) {
            for (int k = 0; k < 3; ++k) {
                const Vec3 p = toVec(t.vertices[t.faces[f].v[k]]);
                lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
                hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
            }
        }
        const Vec3 wlo = run.plan.lo, whi = run.plan.hi;
        if (lo.x < wlo.x - tol || lo.y < wlo.y - tol || lo.z < wlo.z - tol || hi.x > whi.x + tol
            || hi.y > whi.y + tol || hi.z > whi.z + tol)
            fail(format("run %zu (%s) spans %.4f..%.4f %.4f..%.4f %.4f..%.4f, allowed "
                        "%.3f..%.3f %.3f..%.3f %.3f..%.3f",
                r, run.plan.what, lo.x, hi.x, lo.y, hi.y, lo.z, hi.z, wlo.x, whi.x, wlo.y, whi.y,
                wlo.z, whi.z));
        first += count;
    }
    // the whole model's box: x exactly -0.5..0.5, symmetric about the origin
    {
        std::array<float, 3> lo {1e9f, 1e9f, 1e9f}, hi {-1e9f, -1e9f, -1e9f};
        for (const auto &v : t.vertices)
            for (int k = 0; k < 3; ++k) {
                lo[size_t(k)] = std::min(lo[size_t(k)], v[size_t(k)]);
                hi[size_t(k)] = std::max(hi[size_t(k)], v[size_t(k)]);
            }
        if (!t.vertices.empty() && (lo[0] != -0.5f || hi[0] != 0.5f))
            fail(format("x spans %.9g..%.9g, want exactly -0.5..0.5", lo[0], hi[0]));
        for (int k = 0; k < 3; ++k)
            if (std::fabs(lo[size_t(k)] + hi[size_t(k)]) > 1e-7)
                fail(format(
                    "axis %d spans %.9g..%.9g, not symmetric", k, lo[size_t(k)], hi[size_t(k)]));
        const Vec3 want = model.halfExtent;
        if (std::fabs(hi[1] - want.y) > 1e-6 || std::fabs(hi[2] - want.z) > 1e-6)
            fail(
                format("half extents y %.9g z %.9g, want %.9g %.9g", hi[1], hi[2], want.y, want.z));
    }
    int badWinding = 0, degenerate = 0, offPlane = 0;
    for (const Tables::Face &f : t.faces) {
        const Vec3 a = toVec(t.vertices[f.v[0]]), b = toVec(t.vertices[f.v[1]]),
                   c = toVec(t.vertices[f.v[2]]);
        const Vec3 g = cross(b - a, c - a);
        if (length(g) < 1e-12)
            ++degenerate;
        Vec3 mean;
        for (int k = 0; k < 3; ++k) {
            vUsed[f.v[k]] = true;
            nUsed[f.n[k]] = true;
            mean += toVec(t.normals[f.n[k]]);
        }
        if (dot(g, mean) <= 0)
            ++badWinding;
        // a face whose corners share one normal is flat: that normal must be its plane's
        if (f.n[0] == f.n[1] && f.n[1] == f.n[2] && length(g) > 0
            && dot(g, toVec(t.normals[f.n[0]])) / length(g) < 0.99)
            ++offPlane;
    }
    if (degenerate)
        fail(format("%d zero-area faces", degenerate));
    if (badWinding)
        fail(format("%d faces wound against their normals", badWinding));
    if (offPlane)
        fail(format("%d flat faces whose normal is off their plane", offPlane));
    if (std::count(vUsed.begin(), vUsed.end(), false))
        fail("unused vertices");
    if (std::count(nUsed.begin(), nUsed.end(), false))
        fail("unused normals");
    for (const auto &n : t.normals)
        if (std::fabs(length(toVec(n)) - 1) > 1e-6)
            fail("normal not of unit length");
    return problems;
}

std::string report(const Model &model)
{
    std::string s;
    size_t tv = 0, tn = 0, tf = 0;
    s += format("%s: run material faces vertices normals\n", model.name.c_str());
    for (size_t r = 0; r < model.runs.size(); ++r) {
        const Run &run = model.runs[r];
        size_t f = 0, v = 0, n = 0;
        for (const Part &p : run.parts) {
            f += p.faces().size();
            v += p.vertices().size();
            n += p.normals().size();
        }
        s += format("  run %2zu  mat %2d  %5zu/%5d  %5zu  %5zu  %s\n", r, run.plan.material, f,
            run.plan.faces, v, n, run.plan.what);
        for (const Part &p : run.parts)
            s += format("           %-28s %5zu %5zu %5zu\n", p.name().c_str(), p.faces().size(),
                p.vertices().size(), p.normals().size());
        tv += v;
        tn += n;
        tf += f;
    }
    s += format("  total faces %zu, vertices %zu/%d, normals %zu/%d\n", tf, tv, model.vertexCount,
        tn, model.normalCount);
    return s;
}

namespace {

std::string num(double v)
{
    const float f = float(v);
    if (f == 0.0f)
        return "0";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", double(f));
    return buf;
}

std::string triple(const Vec3 &v)
{
    return "{" + num(v.x) + ", " + num(v.y) + ", " + num(v.z) + "}";
}

} // namespace

std::string writeSource(const Model &m, const Tables &t)
{
    std::string s = "// Generated by meshgen; do not edit.\n";
    s += "#include \"" + m.header + "\"\n\nnamespace " + m.name + " {\n\n";
    s += "const float meshVertices[][3] = {\n";
    for (const auto &v : t.vertices)
        s += "    {" + num(v[0]) + ", " + num(v[1]) + ", " + num(v[2]) + "},\n";
    s += "};\n\nconst float meshNormals[][3] = {\n";
    for (const auto &n : t.normals)
        s += "    {" + num(n[0]) + ", " + num(n[1]) + ", " + num(n[2]) + "},\n";
    s += "};\n\nconst float meshTexCoords[][2] = {\n    {0, 0},\n};\n\n";
    s += "const MeshFace meshFaces[] = {\n";
    for (const auto &f : t.faces)
        s += format("    {{%d, %d, %d}, {%d, %d, %d}, {0, 0, 0}},\n", f.v[0], f.v[1], f.v[2],
            f.n[0], f.n[1], f.n[2]);
    s += "};\n\nconst MeshMaterial meshMaterials[] = {\n";
    for (const Material &mat : m.materials)
        s += "    {" + triple(mat.ambient) + ", " + triple(mat.diffuse) + ", "
            + triple(mat.specular) + ", {0, 0, 0}, 1, " + num(mat.shininess) + ", -1},\n";
    s += "};\n\nconst MaterialRun materialRuns[] = {\n";
    for (const Run &r : m.runs)
        s += format("    {%d, %d},\n", r.plan.material, r.plan.faces);
    s += "};\n\n";
    s += "static_assert(sizeof meshVertices / sizeof meshVertices[0] == vertexCount);\n";
    s += "static_assert(sizeof meshNormals / sizeof meshNormals[0] == normalCount);\n";
    s += "static_assert(sizeof meshTexCoords / sizeof meshTexCoords[0] == 1);\n";
    s += "static_assert(sizeof meshFaces / sizeof meshFaces[0] == faceCount);\n";
    s += "static_assert(sizeof meshMaterials / sizeof meshMaterials[0] == materialCount);\n";
    s += "static_assert(sizeof materialRuns / sizeof materialRuns[0] == runCount);\n\n";
    s += "} // namespace " + m.name + "\n";
    return s;
}
