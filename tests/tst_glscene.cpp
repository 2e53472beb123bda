// What the scene view and the models put into GL, read back from a real Mesa
// context: the camera update, the strings, the compiled materials, the ground
// picture's bad inputs, and the lights that ride with the helicopter. How it
// all looks, the labels where they stand among it, is tst_pictures' business.

#include "font.h"
#include "groundimage.h"
#include "meshmodel.h"
#include "mygl.h"
#include "myground.h"

#include <QBuffer>
#include <QMatrix4x4>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <functional>
#include <sys/stat.h>

namespace {

// Feedback-mode capture: a primitive as GL reports it.
struct FeedbackPrimitive
{
    GLenum token; // GL_POLYGON_TOKEN or GL_BITMAP_TOKEN
    std::vector<QVector3D> vertices; // in the coordinates of the cube below
};

// Runs `draw` in feedback mode with an orthographic projection of the cube
// [-extent, extent]^3, culling off and an identity modelview; restores
// matrices, viewport and render mode after, and returns what GL reported.
std::vector<FeedbackPrimitive> captureFeedback(float extent, const std::function<void()> &draw)
{
    constexpr int viewportSize = 1000;
    std::vector<GLfloat> buffer(1 << 22);
    glPushAttrib(GL_VIEWPORT_BIT | GL_ENABLE_BIT);
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, viewportSize, viewportSize);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-extent, extent, -extent, extent, -extent, extent);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();

    // A GL_3D vertex is x, y in window pixels and z the depth from 0 to 1.
    std::vector<FeedbackPrimitive> prims;
    const float scale = 2.0f * extent / viewportSize;
    for (GLint i = 0; i < used;) {
        FeedbackPrimitive prim {GLenum(buffer[i++]), {}};
        int count = 1;
        if (prim.token == GL_POLYGON_TOKEN)
            count = int(buffer[i++]);
        else if (prim.token != GL_BITMAP_TOKEN)
            break; // nothing the tests draw
        for (int k = 0; k < count; ++k, i += 3) {
            prim.vertices.emplace_back(buffer[i] * scale - extent, buffer[i + 1] * scale - extent,
                -(2.0f * buffer[i + 2] - 1.0f) * extent);
        }
        prims.push_back(prim);
    }
    return prims;
}

int countTokens(const std::vector<FeedbackPrimitive> &prims, GLenum token)
{
    return int(
        std::count_if(prims.begin(), prims.end(), [&](auto &p) { return p.token == token; }));
}

const char *const groundWarning = "Could not read image file, using single-color instead.";

QByteArray encoded(int w, int h, const char *format)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(120, 90, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

GLint textureLevel0(GLenum parameter)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    return value;
}

QMatrix4x4 glMatrix(GLenum which)
{
    GLfloat m[16];
    glGetFloatv(which, m);
    return QMatrix4x4(m).transposed(); // GL stores columns first
}

// Where a world point lands on the picture, in normalised device coordinates.
QPointF toDevice(const QVector3D &world)
{
    const QVector4D clip
        = glMatrix(GL_PROJECTION_MATRIX) * glMatrix(GL_MODELVIEW_MATRIX) * QVector4D(world, 1);
    return QPointF(clip.x() / clip.w(), clip.y() / clip.w());
}

// Opens the GL resize handler to the test, as the toolkit would call it.
class ResizableView : public myGL
{
public:
    using myGL::myGL;
    using myGL::resizeGL;
};

// A small model of two runs: a square of two triangles, then one triangle.
const float squareVertices[][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}};
const float squareNormals[][3] = {{0, 0, 1}, {1, 0, 0}};
const float origin[][2] = {{0, 0}};
const MeshFace squareFaces[] = {{{0, 1, 2}, {0, 0, 0}, {0, 0, 0}},
    {{0, 2, 3}, {0, 0, 0}, {0, 0, 0}}, {{0, 4, 1}, {1, 1, 1}, {0, 0, 0}}};
const MeshMaterial squareMaterials[]
    = {{{0.1f, 0.1f, 0.1f}, {0.2f, 0.3f, 0.4f}, {0.5f, 0.5f, 0.5f}, {0, 0, 0}, 1.0f, 12.0f, -1},
        {{0.3f, 0.2f, 0.1f}, {0.9f, 0.8f, 0.7f}, {1, 1, 1}, {0.05f, 0, 0}, 0.5f, 2048.0f, -1}};

} // namespace

class TestGLScene : public QObject
{
    Q_OBJECT

public:
    static void initMain() { useLegacyGLFormat(); }

private Q_SLOTS:
    void initTestCase();
    void init() { m_view->makeCurrent(); }
    void cleanupTestCase() { delete m_view; }

    void resizeSetsViewportProjectionAndCamera();
    void stringsDrawOneBitmapPerGlyph_data();
    void stringsDrawOneBitmapPerGlyph();
    void runsSetTheirMaterialsOnBothFaces_data();
    void runsSetTheirMaterialsOnBothFaces();
    void groundInputs_data();
    void groundInputs();
    void lightsRideWithTheHelicopter();

private:
    QTemporaryDir m_dir;
    ResizableView *m_view = nullptr;
};

void TestGLScene::initTestCase()
{
    QVERIFY(QDir::setCurrent(m_dir.path()));
    // No ground picture here: the view warns once and uses the green one.
    QTest::ignoreMessage(QtWarningMsg, groundWarning);
    m_view = new ResizableView(nullptr, "probe");
    m_view->resize(350, 230);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    QTRY_VERIFY(m_view->groundList() != 0);
    m_view->makeCurrent();
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
}

void TestGLScene::resizeSetsViewportProjectionAndCamera()
{
    SceneState &s = m_view->state();
    const SceneState saved = s;
    // Height 0 counts as 1: a one-pixel-high viewport with aspect = width.
    m_view->resizeGL(300, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    QCOMPARE(QList<GLint>(viewport, viewport + 4), QList<GLint>({0, 0, 300, 1}));
    const QMatrix4x4 p = glMatrix(GL_PROJECTION_MATRIX);
    QVERIFY(std::fabs(p(1, 1) / p(0, 0) - 300.0f) < 1e-2f);

    // The look-at point lands in the middle, moved by the pan; +Z is up.
    s.panX = 0.2f;
    s.panY = -0.1f;
    m_view->resizeGL(350, 230);
    const QVector3D center(s.centerX, s.centerY, s.centerZ);
    const QPointF middle = toDevice(center);
    QVERIFY(std::fabs(middle.x() - 0.2) < 1e-4 && std::fabs(middle.y() + 0.1) < 1e-4);
    QVERIFY(toDevice(center + QVector3D(0, 0, 0.01f)).y() > middle.y());
    s = saved;
    m_view->resizeGL(350, 230);
}

void TestGLScene::stringsDrawOneBitmapPerGlyph_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("bitmaps");
    QTest::addColumn<float>("anchorX");
    QTest::newRow("label with a space") << QByteArray("START POINT") << 11 << 0.f;
    QTest::newRow("digit skipped without a gap") << QByteArray("A1B") << 2 << 0.f;
    QTest::newRow("lower case and beyond ASCII") << QByteArray("ab\xc3\xa9") << 0 << 0.f;
    QTest::newRow("anchor outside the view") << QByteArray("TEN") << 0 << 5.f;
}

void TestGLScene::stringsDrawOneBitmapPerGlyph()
{
    QFETCH(QByteArray, text);
    QFETCH(int, bitmaps);
    QFETCH(float, anchorX);
    GLfloat before[4] = {}, after[4] = {};
    const auto prims = captureFeedback(1, [&] {
        glRasterPos3f(anchorX, 0.0f, 0.0f);
        glGetFloatv(GL_CURRENT_RASTER_POSITION, before);
        drawString(m_view->fontListBase(), text.constData());
        glGetFloatv(GL_CURRENT_RASTER_POSITION, after);
    });
    QCOMPARE(countTokens(prims, GL_BITMAP_TOKEN), bitmaps);
    QCOMPARE(int(prims.size()), bitmaps);
    QCOMPARE(after[0] - before[0], bitmaps * glyphAdvance);
}

void TestGLScene::runsSetTheirMaterialsOnBothFaces_data()
{
    QTest::addColumn<QList<int>>("runs"); // material and face count of each run
    QTest::addColumn<int>("last");
    QTest::addColumn<float>("shininess");
    QTest::newRow("two runs, shininess clamped") << QList<int> {0, 2, 1, 1} << 1 << 128.0f;
    QTest::newRow("one run, shininess as it is") << QList<int> {0, 3} << 0 << 12.0f;
}

// The last run's material is left in force, whole, on both faces, its alpha
// as the fourth part of every colour, its shininess clamped to what GL takes.
void TestGLScene::runsSetTheirMaterialsOnBothFaces()
{
    QFETCH(QList<int>, runs);
    QFETCH(int, last);
    QFETCH(float, shininess);
    QList<MaterialRun> table;
    for (int i = 0; i < runs.size(); i += 2)
        table << MaterialRun {runs[i], runs[i + 1]};
    const MeshModel model({squareVertices, 5, squareNormals, 2, origin, 1, squareFaces, 3,
        squareMaterials, 2, table.constData(), int(table.size())});
    // Start from another shininess, so that a refused setting would show.
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 33.0f);
    const GLuint list = model.compileList();
    const auto prims = captureFeedback(2, [&] { glCallList(list); });
    glCallList(list);
    glDeleteLists(list, 1);
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
    QCOMPARE(countTokens(prims, GL_POLYGON_TOKEN), 3);
    // Corners come out in table order: the third face is (0,0,0) (0,0,1) (1,0,0).
    QVERIFY((prims.back().vertices[1] - QVector3D(0, 0, 1)).length() < 1e-3f);
    const MeshMaterial &m = squareMaterials[last];
    const std::pair<GLenum, const float *> colours[] = {{GL_AMBIENT, m.ambient},
        {GL_DIFFUSE, m.diffuse}, {GL_SPECULAR, m.specular}, {GL_EMISSION, m.emission}};
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        for (const auto &[parameter, rgb] : colours) {
            GLfloat v[4];
            glGetMaterialfv(face, parameter, v);
            QVERIFY((QVector4D(v[0], v[1], v[2], v[3]) - QVector4D(rgb[0], rgb[1], rgb[2], m.alpha))
                        .length()
                < 1e-5f);
        }
        GLfloat exponent = -1;
        glGetMaterialfv(face, GL_SHININESS, &exponent);
        QCOMPARE(exponent, shininess);
    }
}

void TestGLScene::groundInputs_data()
{
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QSize>("texture"); // empty: the green picture; 0 x 0: none
    const QSize green;
    // Which picture files decode, whole, cut or broken, tst_groundfiles and the
    // fuzzer try; these rows go through the file, the decoding limit and the GL.
    QTest::newRow("missing") << "none" << QByteArray() << green;
    QTest::newRow("256 x 256") << "file" << encoded(256, 256, "BMP") << QSize(256, 256);
    QTest::newRow("directory") << "directory" << QByteArray() << green;
    QTest::newRow("named pipe") << "fifo" << QByteArray() << green;
    QTest::newRow("wider than GL allows")
        << "file" << encoded(maxSize * 2, 1, "BMP") << QSize(0, 0);
    QTest::newRow("not a power of two") << "file" << encoded(100, 60, "BMP") << QSize(100, 60);
    // A small file that decodes to more than the viewer will take (70 MB),
    // and the largest square picture it takes (64 MiB), the benchmark's.
    QTest::newRow("beyond the decoding limit") << "file" << encoded(4200, 4200, "PNG") << green;
    QTest::newRow("at the decoding limit")
        << "file" << encoded(4096, 4096, "PNG") << QSize(4096, 4096);
    QTest::newRow("a header claiming far more")
        << "file" << QByteArray("P6 20000 20000 255\n") << green;
}

void TestGLScene::groundInputs()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(QSize, texture);
    QTemporaryDir dir;
    const QString path = dir.filePath("ground.bmp");
    if (kind == "file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
    } else if (kind == "directory") {
        QVERIFY(QDir(dir.path()).mkdir("ground.bmp"));
    } else if (kind == "fifo") {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    if (!texture.isValid())
        QTest::ignoreMessage(QtWarningMsg, groundWarning);
    // The viewer's one line, not Qt's own about its allocation limit as well.
    QTest::failOnWarning(QRegularExpression("allocation limit"));
    const QImage image = loadGroundImage(path);

    // Start from the default texture with no image, then run the list as the
    // frame does.
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 0, 0, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    const GLuint name = myGround().uploadTexture(image);
    const GLuint list = myGround().buildList(name);
    glCallList(list);
    const QSize level0(textureLevel0(GL_TEXTURE_WIDTH), textureLevel0(GL_TEXTURE_HEIGHT));
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteLists(list, 1);
    glDeleteTextures(1, &name);
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
    QCOMPARE(name != 0, texture != QSize(0, 0));
    if (texture.isValid()) {
        QCOMPARE(level0, texture);
    } else {
        QCOMPARE(level0, QSize(128, 128));
        QCOMPARE(QColor(image.pixel(5, 5)), QColor(Qt::green));
    }
}

void TestGLScene::lightsRideWithTheHelicopter()
{
    // Two ticks with a still camera: the lights were placed with the viewing
    // transform in force now. A moved helicopter takes them along, the
    // offsets along the world axes whatever its heading.
    SceneState &s = m_view->state();
    for (const QVector3D at : {QVector3D(0, 0, 0), QVector3D(3, 0, 0)}) {
        s.posX = at.x();
        s.rotZ = at.x() * 30;
        m_view->tick();
        m_view->tick();
        const QMatrix4x4 toWorld = glMatrix(GL_MODELVIEW_MATRIX).inverted();
        const QVector3D offsets[3] = {{0, 0, 0.5f}, {0, 0.5f, 0.5f}, {0.1f, -0.5f, 0.5f}};
        const GLenum lights[3] = {GL_LIGHT2, GL_LIGHT3, GL_LIGHT4};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(glIsEnabled(lights[i]));
            GLfloat eye[4];
            glGetLightfv(lights[i], GL_POSITION, eye);
            const QVector3D world = toWorld.map(QVector3D(eye[0], eye[1], eye[2]));
            QVERIFY2((world - at - offsets[i]).length() < 1e-4f, qPrintable(QString::number(i)));
        }
    }
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
    s.posX = s.rotZ = 0.0f;
}

QTEST_MAIN(TestGLScene)
#include "tst_glscene.moc"
