// The helicopter's and the airfield's mesh tables: counts, run table,
// materials, extents and the invariants the list compiler relies on.

#include "airfieldmesh.h"
#include "di64mesh.h"

#include <QtTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

struct RunRow
{
    int material, faces, firstFace;
    float lo[3], hi[3];
};

// The run tables the models are built to, with the box each run's vertices
// stay in.
const RunRow di64Runs[] = {
    {0, 140, 0, {-0.031f, -0.082f, -0.019f}, {0.013f, 0.082f, 0.028f}},
    {1, 1030, 140, {-0.457f, -0.070f, -0.140f}, {0.312f, 0.070f, -0.035f}},
    {2, 56, 1170, {0.223f, -0.038f, -0.078f}, {0.461f, 0.038f, 0.034f}},
    {3, 108, 1226, {0.315f, -0.003f, -0.122f}, {0.385f, 0.003f, -0.117f}},
    {4, 3661, 1334, {-0.478f, -0.158f, -0.130f}, {0.461f, 0.158f, 0.150f}},
    {5, 424, 4995, {0.116f, -0.077f, -0.008f}, {0.172f, 0.077f, 0.089f}},
    {6, 976, 5419, {0.117f, -0.154f, -0.077f}, {0.230f, 0.154f, -0.063f}},
    {7, 1504, 6395, {0.146f, -0.116f, -0.101f}, {0.213f, 0.116f, -0.075f}},
    {8, 288, 7899, {0.213f, -0.113f, -0.098f}, {0.214f, 0.113f, -0.078f}},
    {9, 176, 8187, {0.155f, -0.107f, -0.097f}, {0.201f, 0.107f, -0.077f}},
    {3, 132, 8363, {-0.191f, -0.347f, 0.062f}, {0.500f, 0.347f, 0.128f}},
    {6, 98, 8495, {0.221f, -0.038f, -0.054f}, {0.379f, 0.038f, 0.034f}},
    {3, 388, 8593, {-0.500f, 0.016f, 0.046f}, {-0.329f, 0.057f, 0.140f}},
    {10, 616, 8981, {-0.463f, -0.072f, -0.150f}, {0.232f, 0.072f, -0.076f}},
};

const RunRow airfieldRuns[] = {
    {0, 98, 0, {0.484f, -0.091f, -0.005f}, {0.492f, -0.064f, 0.005f}},
    {1, 100, 98, {0.390f, -0.089f, -0.005f}, {0.465f, 0.028f, 0.000f}},
    {2, 134, 198, {0.390f, -0.091f, -0.005f}, {0.486f, 0.025f, 0.003f}},
    {3, 28, 332, {0.390f, -0.091f, -0.002f}, {0.485f, 0.028f, 0.001f}},
    {4, 6, 360, {0.393f, -0.089f, -0.005f}, {0.406f, -0.070f, 0.001f}},
    {5, 32, 366, {0.390f, 0.005f, 0.000f}, {0.394f, 0.009f, 0.003f}},
    {6, 140, 398, {0.390f, -0.091f, -0.005f}, {0.484f, 0.024f, -0.002f}},
    {7, 37, 538, {0.362f, -0.154f, -0.005f}, {0.492f, 0.154f, -0.005f}},
    {8, 140, 575, {-0.242f, -0.449f, -0.005f}, {0.481f, 0.448f, -0.005f}},
    {9, 546, 715, {-0.476f, -0.447f, -0.005f}, {0.464f, 0.446f, -0.005f}},
    {10, 276, 1261, {-0.478f, -0.429f, -0.005f}, {0.492f, 0.429f, -0.005f}},
    {11, 190, 1537, {-0.500f, -0.475f, -0.005f}, {0.500f, 0.475f, -0.005f}},
    {12, 12, 1727, {0.391f, 0.006f, 0.001f}, {0.393f, 0.008f, 0.002f}},
};

struct MaterialRow
{
    float ambient, diffuse[3], specular, shininess;
};

const MaterialRow di64Materials[] = {
    {0.117647f, {0.596078f, 0.596078f, 0.596078f}, 0.752941f, 8},
    {0.117647f, {0.862745f, 0.862745f, 0.862745f}, 0.752941f, 8},
    {0.117647f, {0, 0, 0.980392f}, 0.752941f, 8},
    {0.117647f, {0.462745f, 0.462745f, 0.462745f}, 0.752941f, 8},
    {0.117647f, {0.109804f, 0.14902f, 0}, 0.752941f, 8},
    {0.117647f, {0.729412f, 0.729412f, 0.729412f}, 0.752941f, 8},
    {0.117647f, {0.980392f, 0.980392f, 0.980392f}, 0.752941f, 8},
    {0.117647f, {1, 1, 1}, 0.752941f, 8},
    {0.117647f, {0.980392f, 0, 0}, 0.752941f, 8},
    {0.117647f, {0.796079f, 0.796079f, 0.796079f}, 0.752941f, 8},
    {0.117647f, {0.329412f, 0.329412f, 0.329412f}, 0.752941f, 8},
};

const MaterialRow airfieldMaterials[] = {
    {0.290196f, {0, 0.0823529f, 0.188235f}, 0.53f, 337.794f},
    {0.290196f, {0.247059f, 0.211765f, 0.188235f}, 0.6f, 78.7932f},
    {0.290196f, {0.34902f, 0.34902f, 0.333333f}, 0.6f, 78.7932f},
    {0.290196f, {0.301961f, 0.301961f, 0.301961f}, 1, 2048},
    {0.290196f, {0.329412f, 0.329412f, 0.309804f}, 0.6f, 78.7932f},
    {0.290196f, {0.239216f, 0, 0}, 0.6f, 78.7932f},
    {0.290196f, {0, 0, 0.0980392f}, 1, 2048},
    {0.290196f, {0.227451f, 0.227451f, 0.227451f}, 0.6f, 78.7932f},
    {0.290196f, {0.266667f, 0.266667f, 0.266667f}, 0.6f, 78.7932f},
    {0.290196f, {0.388235f, 0.388235f, 0.388235f}, 0.6f, 78.7932f},
    {0.290196f, {0.188235f, 0.188235f, 0.188235f}, 0.6f, 78.7932f},
    {0.290196f, {0.109804f, 0.109804f, 0.109804f}, 0.6f, 78.7932f},
    {0.290196f, {0, 0, 0.172549f}, 1, 2048},
};

MeshTables model(const QString &name)
{
    return name == "di64" ? di64::tables() : airfield::tables();
}

struct V3
{
    double x, y, z;
};
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 cross(V3 a, V3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double length(V3 a) { return std::sqrt(dot(a, a)); }
V3 vertex(const MeshTables &t, int i)
{
    return {t.vertices[i][0], t.vertices[i][1], t.vertices[i][2]};
}
V3 normal(const MeshTables &t, int i)
{
    return {t.normals[i][0], t.normals[i][1], t.normals[i][2]};
}

void addModelColumn()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("helicopter") << QString("di64");
    QTest::newRow("airfield") << QString("airfield");
}

} // namespace

class TestMeshData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void counts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("faces");
        QTest::addColumn<int>("vertices");
        QTest::addColumn<int>("normals");
        QTest::addColumn<int>("materials");
        QTest::addColumn<int>("runs");
        QTest::newRow("helicopter") << QString("di64") << 9597 << 5595 << 5738 << 11 << 14;
        QTest::newRow("airfield") << QString("airfield") << 1739 << 2234 << 1470 << 13 << 13;
    }
    void counts()
    {
        QFETCH(QString, name);
        const MeshTables t = model(name);
        QTEST(t.faceCount, "faces");
        QTEST(t.vertexCount, "vertices");
        QTEST(t.normalCount, "normals");
        QTEST(t.materialCount, "materials");
        QTEST(t.runCount, "runs");
        QCOMPARE(t.texCoordCount, 1);
        QCOMPARE(t.texCoords[0][0], 0.0f);
        QCOMPARE(t.texCoords[0][1], 0.0f);
        int sum = 0;
        for (int r = 0; r < t.runCount; ++r) {
            QVERIFY(t.runs[r].faceCount >= 1);
            sum += t.runs[r].faceCount;
        }
        QCOMPARE(sum, t.faceCount);
    }

    // Each run: material, face count, first face, and every vertex it uses
    // inside the run's box (0.002 slack).
    void runs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("run");
        for (int r = 0; r < int(std::size(di64Runs)); ++r)
            QTest::addRow("helicopter run %d", r) << QString("di64") << r;
        for (int r = 0; r < int(std::size(airfieldRuns)); ++r)
            QTest::addRow("airfield run %d", r) << QString("airfield") << r;
    }
    void runs()
    {
        QFETCH(QString, name);
        QFETCH(int, run);
        const MeshTables t = model(name);
        const RunRow &want = name == "di64" ? di64Runs[run] : airfieldRuns[run];
        QCOMPARE(t.runs[run].material, want.material);
        QCOMPARE(t.runs[run].faceCount, want.faces);
        int first = 0;
        for (int r = 0; r < run; ++r)
            first += t.runs[r].faceCount;
        QCOMPARE(first, want.firstFace);
        const float slack = 0.002f;
        for (int f = first; f < first + want.faces; ++f) {
            for (int c = 0; c < 3; ++c) {
                const float *v = t.vertices[t.faces[f].vertex[c]];
                for (int k = 0; k < 3; ++k) {
                    if (v[k] < want.lo[k] - slack || v[k] > want.hi[k] + slack)
                        QFAIL(qPrintable(
                            QString("face %1 corner %2: coordinate %3 is %4, outside %5..%6")
                                .arg(f)
                                .arg(c)
                                .arg(k)
                                .arg(v[k])
                                .arg(want.lo[k])
                                .arg(want.hi[k])));
                }
            }
        }
    }

    void materials_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        for (int m = 0; m < int(std::size(di64Materials)); ++m)
            QTest::addRow("helicopter material %d", m) << QString("di64") << m;
        for (int m = 0; m < int(std::size(airfieldMaterials)); ++m)
            QTest::addRow("airfield material %d", m) << QString("airfield") << m;
    }
    void materials()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        const MeshMaterial &m = model(name).materials[index];
        const MaterialRow &want = name == "di64" ? di64Materials[index] : airfieldMaterials[index];
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(m.ambient[k], want.ambient);
            QCOMPARE(m.diffuse[k], want.diffuse[k]);
            QCOMPARE(m.specular[k], want.specular);
            QCOMPARE(m.emission[k], 0.0f);
        }
        QCOMPARE(m.alpha, 1.0f);
        QCOMPARE(m.shininess, want.shininess); // kept as modelled, even above 128
        QCOMPARE(m.texture, -1);
    }

    // The bounding box: x exactly -0.5..0.5, y and z as modelled, and
    // symmetric about the origin.
    void extents_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("yMax");
        QTest::addColumn<double>("zMin");
        QTest::addColumn<double>("zMax");
        QTest::newRow("helicopter") << QString("di64") << 0.3468 << -0.150107 << 0.150107;
        QTest::newRow("airfield") << QString("airfield") << 0.474965 << -0.00538299 << 0.005383;
    }
    void extents()
    {
        QFETCH(QString, name);
        QFETCH(double, yMax);
        QFETCH(double, zMin);
        QFETCH(double, zMax);
        const MeshTables t = model(name);
        float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
        for (int v = 0; v < t.vertexCount; ++v) {
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], t.vertices[v][k]);
                hi[k] = std::max(hi[k], t.vertices[v][k]);
            }
        }
        // exactly, not QCOMPARE's fuzzy float comparison
        QVERIFY2(lo[0] == -0.5f, qPrintable(QString::number(lo[0], 'g', 9)));
        QVERIFY2(hi[0] == 0.5f, qPrintable(QString::number(hi[0], 'g', 9)));
        QVERIFY2(std::fabs(hi[1] - yMax) < 1e-6, qPrintable(QString::number(hi[1], 'g', 9)));
        QVERIFY2(std::fabs(lo[1] + yMax) < 1e-6, qPrintable(QString::number(lo[1], 'g', 9)));
        QVERIFY2(std::fabs(lo[2] - zMin) < 1e-6, qPrintable(QString::number(lo[2], 'g', 9)));
        QVERIFY2(std::fabs(hi[2] - zMax) < 1e-6, qPrintable(QString::number(hi[2], 'g', 9)));
        for (int k = 0; k < 3; ++k)
            QVERIFY2(std::fabs(lo[k] + hi[k]) < 1e-6, qPrintable(QString("axis %1").arg(k)));
    }

    // What the list compiler trusts without checking, and what honest
    // geometry needs: indices in range, nothing unused, no zero-area
    // triangle, unit normals, corners wound counter-clockwise as seen from
    // the side the normals point to.
    void invariants_data() { addModelColumn(); }
    void invariants()
    {
        QFETCH(QString, name);
        const MeshTables t = model(name);
        std::vector<bool> vUsed(size_t(t.vertexCount)), nUsed(size_t(t.normalCount));
        int maxV = -1, maxN = -1;
        for (int f = 0; f < t.faceCount; ++f) {
            const MeshFace &face = t.faces[f];
            for (int c = 0; c < 3; ++c) {
                QVERIFY(face.vertex[c] >= 0 && face.vertex[c] < t.vertexCount);
                QVERIFY(face.normal[c] >= 0 && face.normal[c] < t.normalCount);
                QCOMPARE(int(face.texCoord[c]), 0);
                vUsed[size_t(face.vertex[c])] = true;
                nUsed[size_t(face.normal[c])] = true;
                maxV = std::max(maxV, int(face.vertex[c]));
                maxN = std::max(maxN, int(face.normal[c]));
            }
            const V3 a = vertex(t, face.vertex[0]), b = vertex(t, face.vertex[1]),
                     c = vertex(t, face.vertex[2]);
            const V3 g = cross(b - a, c - a);
            if (length(g) < 1e-12)
                QFAIL(qPrintable(QString("face %1 has no area").arg(f)));
            V3 mean {0, 0, 0};
            for (int k = 0; k < 3; ++k) {
                const V3 n = normal(t, face.normal[k]);
                mean = {mean.x + n.x, mean.y + n.y, mean.z + n.z};
            }
            if (dot(g, mean) <= 0)
                QFAIL(qPrintable(QString("face %1 is wound against its normals").arg(f)));
            if (face.normal[0] == face.normal[1] && face.normal[1] == face.normal[2]) {
                // a flat face: its one normal is the plane's
                const V3 n = normal(t, face.normal[0]);
                if (dot(g, n) / length(g) < 0.99)
                    QFAIL(qPrintable(QString("flat face %1: normal off its plane").arg(f)));
            }
        }
        QCOMPARE(maxV, t.vertexCount - 1); // the largest index is in use and fits 16 bits
        QCOMPARE(maxN, t.normalCount - 1);
        QVERIFY(std::all_of(vUsed.begin(), vUsed.end(), [](bool u) { return u; }));
        QVERIFY(std::all_of(nUsed.begin(), nUsed.end(), [](bool u) { return u; }));
        for (int n = 0; n < t.normalCount; ++n)
            QVERIFY2(std::fabs(length(normal(t, n)) - 1) < 1e-6,
                qPrintable(QString("normal %1").arg(n)));
    }

    // The airfield's ground surfaces (runs 7 to 11) lie in the one lowest
    // plane and tile it: no two of their triangles overlap, and together they
    // cover (nearly) the whole extent.
    void airfieldGroundTiles()
    {
        const MeshTables t = airfield::tables();
        const int first = airfieldRuns[7].firstFace;
        const int last = airfieldRuns[11].firstFace + airfieldRuns[11].faces;
        const float z = t.vertices[t.faces[first].vertex[0]][2];
        QVERIFY(std::fabs(z + 0.00538) < 1e-5);
        using Tri = std::array<std::array<double, 2>, 3>;
        std::vector<Tri> tris;
        double area = 0;
        for (int f = first; f < last; ++f) {
            Tri tri;
            for (int c = 0; c < 3; ++c) {
                const float *v = t.vertices[t.faces[f].vertex[c]];
                QCOMPARE(v[2], z);
                tri[size_t(c)] = {v[0], v[1]};
            }
            const double a = ((tri[1][0] - tri[0][0]) * (tri[2][1] - tri[0][1])
                                 - (tri[2][0] - tri[0][0]) * (tri[1][1] - tri[0][1]))
                / 2;
            QVERIFY2(a > 0, "ground faces face up");
            area += a;
            tris.push_back(tri);
        }
        // separating-axis test on the edge normals of both triangles
        auto overlap = [](const Tri &p, const Tri &q) {
            for (const Tri *s : {&p, &q}) {
                for (int e = 0; e < 3; ++e) {
                    const auto &a = (*s)[size_t(e)], &b = (*s)[size_t((e + 1) % 3)];
                    const double nx = b[1] - a[1], ny = a[0] - b[0];
                    const double len = std::hypot(nx, ny);
                    double pMin = 1e9, pMax = -1e9, qMin = 1e9, qMax = -1e9;
                    for (int k = 0; k < 3; ++k) {
                        const double dp = (p[size_t(k)][0] * nx + p[size_t(k)][1] * ny) / len;
                        const double dq = (q[size_t(k)][0] * nx + q[size_t(k)][1] * ny) / len;
                        pMin = std::min(pMin, dp);
                        pMax = std::max(pMax, dp);
                        qMin = std::min(qMin, dq);
                        qMax = std::max(qMax, dq);
                    }
                    if (pMax <= qMin + 1e-7 || qMax <= pMin + 1e-7)
                        return false;
                }
            }
            return true;
        };
        for (size_t i = 0; i < tris.size(); ++i) {
            for (size_t j = i + 1; j < tris.size(); ++j) {
                if (overlap(tris[i], tris[j]))
                    QFAIL(qPrintable(QString("ground faces %1 and %2 overlap")
                                         .arg(first + int(i))
                                         .arg(first + int(j))));
            }
        }
        const double extent = 1.0 * 2 * 0.474965;
        QVERIFY2(area <= extent + 1e-6, qPrintable(QString::number(area)));
        QVERIFY2(area >= 0.999 * extent, qPrintable(QString::number(area)));
    }

    // The main rotor: four blades at 45 degrees round the hub at x = 0.155,
    // so its box is centred there in y and nearly so in x.
    void helicopterRotorAroundHub()
    {
        const MeshTables t = di64::tables();
        const RunRow &rotor = di64Runs[10];
        double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
        for (int f = rotor.firstFace; f < rotor.firstFace + rotor.faces; ++f) {
            for (int c = 0; c < 3; ++c) {
                const float *v = t.vertices[t.faces[f].vertex[c]];
                for (int k = 0; k < 2; ++k) {
                    lo[k] = std::min(lo[k], double(v[k]));
                    hi[k] = std::max(hi[k], double(v[k]));
                }
            }
        }
        QVERIFY(std::fabs((lo[0] + hi[0]) / 2 - 0.155) < 0.002);
        QVERIFY(std::fabs(lo[1] + hi[1]) < 1e-6);
        QVERIFY(hi[1] - 0.3468 > -1e-6);
    }
};

QTEST_APPLESS_MAIN(TestMeshData)
#include "tst_meshdata.moc"
