// Compiling mesh tables into display lists, checked in a real Mesa context:
// what the lists draw and which material they leave in force.

#include "glprobe.h"
#include "meshmodel.h"
#include "myairfield.h"
#include "mydi64.h"
#include "mygl.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QVector4D>
#include <QtTest>

namespace {

QVector4D material(GLenum face, GLenum parameter)
{
    GLfloat v[4] = {-1, -1, -1, -1};
    glGetMaterialfv(face, parameter, v);
    return QVector4D(v[0], v[1], v[2], v[3]);
}

float shininess(GLenum face)
{
    GLfloat v = -1;
    glGetMaterialfv(face, GL_SHININESS, &v);
    return v;
}

bool fuzzyEqual(const QVector4D &a, const QVector4D &b) { return (a - b).length() < 1e-5f; }

// A small model of two runs: a square of two triangles, then one triangle.
const float squareVertices[][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}};
const float squareNormals[][3] = {{0, 0, 1}, {1, 0, 0}};
const float origin[][2] = {{0, 0}};
const MeshFace squareFaces[] = {
    {{0, 1, 2}, {0, 0, 0}, {0, 0, 0}},
    {{0, 2, 3}, {0, 0, 0}, {0, 0, 0}},
    {{0, 4, 1}, {1, 1, 1}, {0, 0, 0}},
};
const MeshMaterial squareMaterials[] = {
    {{0.1f, 0.1f, 0.1f}, {0.2f, 0.3f, 0.4f}, {0.5f, 0.5f, 0.5f}, {0, 0, 0}, 1.0f, 12.0f, -1},
    {{0.3f, 0.2f, 0.1f}, {0.9f, 0.8f, 0.7f}, {1, 1, 1}, {0.05f, 0, 0}, 0.5f, 2048.0f, -1},
};

MeshTables squareTables(const MaterialRun *runs, int runCount)
{
    return {squareVertices, 5, squareNormals, 2, origin, 1, squareFaces, 3, squareMaterials, 2,
        runs, runCount};
}

} // namespace

class TestMeshLists : public QObject
{
    Q_OBJECT

public:
    static void initMain() { useLegacyGLFormat(); }

private Q_SLOTS:
    void initTestCase();
    void runsSetTheirMaterialsOnBothFaces();
    void shininessIsClampedToGLRange_data();
    void shininessIsClampedToGLRange();
    void modelsDrawEveryTriangle_data();
    void modelsDrawEveryTriangle();

private:
    QOpenGLContext m_context;
    QOffscreenSurface m_surface;
};

void TestMeshLists::initTestCase()
{
    m_surface.create();
    QVERIFY(m_context.create());
    QVERIFY(m_context.makeCurrent(&m_surface));
    QVERIFY(!m_context.isOpenGLES());
    // Lists and feedback need the old pipeline: this must be no core profile.
    QVERIFY(m_context.format().profile() != QSurfaceFormat::CoreProfile);
}

void TestMeshLists::runsSetTheirMaterialsOnBothFaces()
{
    const MaterialRun runs[] = {{0, 2}, {1, 1}};
    const MeshModel model(squareTables(runs, 2));
    const GLuint list = model.compileList();
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));

    const auto prims = captureFeedback(2, [&] { glCallList(list); });
    glDeleteLists(list, 1);
    QCOMPARE(countTokens(prims, GL_POLYGON_TOKEN), 3);
    // Corners come out in table order: the third face is (0,0,0) (0,0,1) (1,0,0).
    const FeedbackPrimitive &last = prims.back();
    QVERIFY((toCube(last.vertices[1], 2) - QVector3D(0, 0, 1)).length() < 1e-3f);

    // The last run's material is left in force, whole, on both faces, its
    // alpha as the fourth part of every colour.
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        QVERIFY(fuzzyEqual(material(face, GL_AMBIENT), QVector4D(0.3f, 0.2f, 0.1f, 0.5f)));
        QVERIFY(fuzzyEqual(material(face, GL_DIFFUSE), QVector4D(0.9f, 0.8f, 0.7f, 0.5f)));
        QVERIFY(fuzzyEqual(material(face, GL_SPECULAR), QVector4D(1, 1, 1, 0.5f)));
        QVERIFY(fuzzyEqual(material(face, GL_EMISSION), QVector4D(0.05f, 0, 0, 0.5f)));
    }
    GLfloat normal[4];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    QCOMPARE(QVector3D(normal[0], normal[1], normal[2]), QVector3D(1, 0, 0));
}

void TestMeshLists::shininessIsClampedToGLRange_data()
{
    QTest::addColumn<int>("material");
    QTest::addColumn<float>("expected");
    QTest::newRow("in range") << 0 << 12.0f;
    QTest::newRow("2048 becomes 128") << 1 << 128.0f;
}

void TestMeshLists::shininessIsClampedToGLRange()
{
    QFETCH(int, material);
    QFETCH(float, expected);
    // Start from another value, so a refused setting would show.
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 33.0f);
    const MaterialRun runs[] = {{material, 3}};
    const MeshModel model(squareTables(runs, 1));
    const GLuint list = model.compileList();
    glCallList(list);
    glDeleteLists(list, 1);
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
    QCOMPARE(shininess(GL_FRONT), expected);
    QCOMPARE(shininess(GL_BACK), expected);
}

void TestMeshLists::modelsDrawEveryTriangle_data()
{
    QTest::addColumn<bool>("helicopter");
    QTest::addColumn<int>("triangles");
    QTest::addColumn<QVector4D>("lastDiffuse");
    QTest::addColumn<float>("lastShininess");
    QTest::newRow("helicopter") << true << 9597 << QVector4D(0.329412f, 0.329412f, 0.329412f, 1)
                                << 8.0f;
    QTest::newRow("airfield") << false << 1739 << QVector4D(0, 0, 0.172549f, 1) << 128.0f;
}

void TestMeshLists::modelsDrawEveryTriangle()
{
    QFETCH(bool, helicopter);
    QFETCH(int, triangles);
    QFETCH(QVector4D, lastDiffuse);
    QFETCH(float, lastShininess);

    const GLuint list = helicopter ? myDi64().compileList() : myAirfield().compileList();
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
    bool ok = false;
    const auto prims = captureFeedback(
        1, [&] { glCallList(list); }, &ok);
    glDeleteLists(list, 1);
    QVERIFY(ok);
    QCOMPARE(countTokens(prims, GL_POLYGON_TOKEN), triangles);
    QCOMPARE(int(prims.size()), triangles);
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        QVERIFY(fuzzyEqual(material(face, GL_DIFFUSE), lastDiffuse));
        QCOMPARE(shininess(face), lastShininess);
    }
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
}

QTEST_MAIN(TestMeshLists)
#include "tst_meshlists.moc"
