// What the scene view puts into GL, read back from a real Mesa context:
// generated geometry, the font and labels, the ground and its bad inputs,
// and the lights that ride with the helicopter.

#include "font.h"
#include "glprobe.h"
#include "groundimage.h"
#include "lighting.h"
#include "mygl.h"
#include "myground.h"

#include <QBuffer>
#include <QImageWriter>
#include <QMatrix4x4>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <sys/stat.h>

namespace {

const char *const groundWarning = "Could not read image file, using single-color instead.";

QByteArray bmpBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage solid(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(120, 90, 40));
    return image;
}

// A BMP header (file and info header) that claims `w` x `h` 24-bit pixels and
// carries none of them.
QByteArray bmpHeaderOnly(qint32 w, qint32 h)
{
    QByteArray bytes(54, '\0');
    const auto put32 = [&](int at, quint32 value) {
        for (int k = 0; k < 4; ++k)
            bytes[at + k] = char((value >> (8 * k)) & 0xff);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    // The size field is 32 bits; an enormous picture's size wraps, as in any
    // writer that fills it in.
    put32(2, quint32(54 + qint64(w) * 3 * h));
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    bytes[26] = 1;
    bytes[28] = 24;
    return bytes;
}

// A PNG signature and header chunk that claim `w` x `h` RGB pixels, and no data.
QByteArray pngHeaderOnly(quint32 w, quint32 h)
{
    const auto crc32 = [](const QByteArray &data) {
        quint32 crc = 0xffffffffu;
        for (char c : data) {
            crc ^= quint8(c);
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
        return ~crc;
    };
    const auto be32 = [](quint32 v) {
        const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(bytes, 4);
    };
    const QByteArray ihdr = "IHDR" + be32(w) + be32(h) + QByteArray("\x08\x02\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + be32(13) + ihdr + be32(crc32(ihdr));
}

GLuint boundTexture()
{
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return GLuint(name);
}

GLint textureLevel0(GLenum parameter)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    return value;
}

// Opens the GL resize handler to the test, as the toolkit would call it.
class ResizableView : public myGL
{
public:
    using myGL::myGL;
    using myGL::resizeGL;
};

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

} // namespace

class TestGLScene : public QObject
{
    Q_OBJECT

public:
    static void initMain() { useLegacyGLFormat(); }

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void resizeSetsViewportProjectionAndCamera();
    void crossMarksAPointGridCoversUnitSquare();
    void rotorsAreFourBladesEach();
    void glyphsKeepTheirShapeAndFormat();
    void stringsDrawOneBitmapPerGlyph_data();
    void stringsDrawOneBitmapPerGlyph();
    void labelsStandAtTheirWorldPoints();
    void viewsKeepTheirOwnFontLists();

    void groundListIsOneTexturedSquare();
    void groundInputs_data();
    void groundInputs();

    void lightsRideWithTheHelicopter();

private:
    QTemporaryDir m_dir;
    myGL *m_view = nullptr;
};

void TestGLScene::initTestCase()
{
    QVERIFY(m_dir.isValid());
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

void TestGLScene::init() { m_view->makeCurrent(); }

void TestGLScene::cleanupTestCase() { delete m_view; }

void TestGLScene::resizeSetsViewportProjectionAndCamera()
{
    auto *view = static_cast<ResizableView *>(m_view);
    SceneState &s = view->state();
    const SceneState saved = s;

    // Height 0 counts as 1: a one-pixel-high viewport with aspect = width.
    view->resizeGL(300, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    QCOMPARE(QList<GLint>({viewport[0], viewport[1], viewport[2], viewport[3]}),
        QList<GLint>({0, 0, 300, 1}));
    const QMatrix4x4 p = glMatrix(GL_PROJECTION_MATRIX);
    QVERIFY(std::fabs(p(1, 1) / p(0, 0) - 300.0f) < 1e-2f);

    // The look-at point lands in the middle, moved by the pan; +Z is up; a
    // point half the field angle above the axis lands on the top edge.
    s.panX = 0.2f;
    s.panY = -0.1f;
    view->resizeGL(350, 230);
    const QVector3D eye(s.eyeX, s.eyeY, s.eyeZ), center(s.centerX, s.centerY, s.centerZ);
    const QPointF middle = toDevice(center);
    QVERIFY(std::fabs(middle.x() - 0.2) < 1e-4 && std::fabs(middle.y() + 0.1) < 1e-4);
    QVERIFY(toDevice(center + QVector3D(0, 0, 0.01f)).y() > middle.y());
    const QVector3D axis = (center - eye).normalized();
    const QVector3D up
        = QVector3D::crossProduct(QVector3D::crossProduct(axis, {0, 0, 1}), axis).normalized();
    const float half = s.fovY / 2 * float(M_PI) / 180;
    const QVector3D topEdge = eye + axis * std::cos(half) + up * std::sin(half);
    QVERIFY(std::fabs(toDevice(topEdge).y() - (1.0 - 0.1)) < 1e-3);

    s = saved;
    view->resizeGL(350, 230);
}

void TestGLScene::crossMarksAPointGridCoversUnitSquare()
{
    const auto cross = captureFeedback(2, [&] { glCallList(m_view->crossList()); });
    QCOMPARE(cross.size(), size_t(3));
    for (int axis = 0; axis < 3; ++axis) {
        const QVector3D a = toCube(cross[axis].vertices[0], 2);
        const QVector3D b = toCube(cross[axis].vertices[1], 2);
        QVERIFY(((a + b) / 2).length() < 1e-3f); // centred on the origin
        QVERIFY(std::fabs((b - a).length() - 0.1f) < 1e-3f);
        QVERIFY(std::fabs((b - a)[axis] - 0.1f) < 1e-3f); // one arm per axis
    }

    const auto grid = captureFeedback(2, [&] { glCallList(m_view->gridList()); });
    QCOMPARE(grid.size(), size_t(12));
    QSet<int> rows, columns;
    for (const FeedbackPrimitive &line : grid) {
        const QVector3D a = toCube(line.vertices[0], 2), b = toCube(line.vertices[1], 2);
        QVERIFY(std::fabs((b - a).length() - 1.0f) < 1e-3f);
        QVERIFY(std::fabs(a.z()) < 1e-3f && std::fabs(b.z()) < 1e-3f);
        if (std::fabs(a.y() - b.y()) < 1e-3f)
            rows << qRound(a.y() * 5);
        else
            columns << qRound(a.x() * 5);
    }
    QCOMPARE(rows, (QSet<int> {0, 1, 2, 3, 4, 5}));
    QCOMPARE(columns, (QSet<int> {0, 1, 2, 3, 4, 5}));
}

void TestGLScene::rotorsAreFourBladesEach()
{
    const QVector3D tailHub(2.8f, -0.25f, 0.0f);
    for (float angle : {0.0f, 37.0f}) {
        m_view->state().rotorAngle = angle;
        m_view->state().tailRotorAngle = angle;
        const auto blades = captureFeedback(4, [&] { m_view->drawWing(); });
        QCOMPARE(blades.size(), size_t(8));
        int mainBlades = 0, tailBlades = 0;
        for (const FeedbackPrimitive &blade : blades) {
            QCOMPARE(blade.token, GLenum(GL_POLYGON_TOKEN));
            QCOMPARE(blade.vertices.size(), size_t(3));
            const QVector3D hub = toCube(blade.vertices[0], 4);
            float reach = 0;
            for (const FeedbackVertex &v : blade.vertices)
                reach = std::max(reach, (toCube(v, 4) - hub).length());
            if (hub.length() < 1e-2f) {
                ++mainBlades;
                QVERIFY(std::fabs(reach - std::hypot(2.4f, 0.2f)) < 0.02f);
            } else {
                ++tailBlades;
                QVERIFY((hub - tailHub).length() < 1e-2f);
                QVERIFY(std::fabs(reach - 0.6f * std::hypot(1.0f, 0.2f)) < 0.02f);
                for (const FeedbackVertex &v : blade.vertices) // upright, in the x-z plane
                    QVERIFY(std::fabs(toCube(v, 4).y() - tailHub.y()) < 1e-2f);
            }
        }
        QCOMPARE(mainBlades, 4);
        QCOMPARE(tailBlades, 4);
    }
}

void TestGLScene::glyphsKeepTheirShapeAndFormat()
{
    const auto bytes = [](std::initializer_list<int> values) {
        Glyph g {};
        int i = 0;
        for (int v : values)
            g[i++] = std::uint8_t(v);
        return g;
    };
    QCOMPARE(letterGlyphs['A' - 'A'],
        bytes({0, 0, 0xc3, 0xc3, 0xc3, 0xc3, 0xff, 0xc3, 0xc3, 0xc3, 0x66, 0x3c, 0x18}));
    QCOMPARE(letterGlyphs['E' - 'A'],
        bytes({0, 0, 0xff, 0xc0, 0xc0, 0xc0, 0xc0, 0xfc, 0xc0, 0xc0, 0xc0, 0xc0, 0xff}));
    QCOMPARE(letterGlyphs['I' - 'A'],
        bytes({0, 0, 0x7e, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x7e}));
    QCOMPARE(letterGlyphs['T' - 'A'],
        bytes({0, 0, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0xff}));

    QSet<QByteArray> shapes;
    for (const Glyph &g : letterGlyphs) {
        QCOMPARE(g[0], std::uint8_t(0)); // two empty rows below the letter
        QCOMPARE(g[1], std::uint8_t(0));
        QVERIFY(g[2] != 0 && g[12] != 0); // it reaches both ends of its 11 rows
        shapes << QByteArray(reinterpret_cast<const char *>(g.data()), int(g.size()));
    }
    QCOMPARE(shapes.size(), 26);
    QCOMPARE(spaceGlyph, Glyph {});
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

void TestGLScene::labelsStandAtTheirWorldPoints()
{
    // A camera that sees x from -1 to 19: all four anchors are inside.
    const auto prims = captureFeedback(10, [&] {
        glTranslatef(-9.0f, 0.0f, 0.0f);
        m_view->drawFont();
    });
    QCOMPARE(countTokens(prims, GL_BITMAP_TOKEN), 11 + 4 + 3 + 9);
    // The first bitmap of each label sits at its anchor.
    const QVector3D anchors[] = {{0, 0, 0}, {5, 0, 0}, {10, 0, 1}, {15, 0, 2}};
    const int firsts[] = {0, 11, 15, 18};
    for (int i = 0; i < 4; ++i) {
        const QVector3D at = toCube(prims[firsts[i]].vertices[0], 10) + QVector3D(9, 0, 0);
        QVERIFY2((at - anchors[i]).length() < 0.05f,
            qPrintable(QString("label %1 at %2 %3 %4").arg(i).arg(at.x()).arg(at.y()).arg(at.z())));
    }

    // Seen from x -9.5 to 9.5, the two far labels' anchors are outside: no
    // part of them shows, though their first letters would fit.
    const auto near = captureFeedback(9.5f, [&] { m_view->drawFont(); });
    QCOMPARE(countTokens(near, GL_BITMAP_TOKEN), 11 + 4);
}

void TestGLScene::viewsKeepTheirOwnFontLists()
{
    // A second view in its own window gets its own lists; the first view's
    // labels still draw with the first view's lists.
    QTest::ignoreMessage(QtWarningMsg, groundWarning);
    myGL other(nullptr, "other");
    other.resize(200, 100);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QTRY_VERIFY(other.fontListBase() != 0);
    other.makeCurrent();
    QVERIFY(glIsList(other.fontListBase() + 'A'));
    m_view->makeCurrent();
    QVERIFY(glIsList(m_view->fontListBase() + 'A'));
    const auto prims = captureFeedback(1, [&] {
        glRasterPos2i(0, 0);
        drawString(m_view->fontListBase(), "TEN");
    });
    QCOMPARE(countTokens(prims, GL_BITMAP_TOKEN), 3);
}

void TestGLScene::groundListIsOneTexturedSquare()
{
    const QImage picture = solid(256, 256).convertToFormat(QImage::Format_RGBA8888).mirrored();
    const GLuint texture = myGround().uploadTexture(picture);
    QVERIFY(texture != 0);
    const GLuint list = myGround().buildList(texture);
    glBindTexture(GL_TEXTURE_2D, 0);
    const auto prims = captureFeedback(150, [&] {
        glEnable(GL_TEXTURE_2D);
        glCallList(list);
        glDisable(GL_TEXTURE_2D);
    });
    // One quad (GL may hand it back as two triangles) over the four corners.
    QCOMPARE(countTokens(prims, GL_POLYGON_TOKEN), int(prims.size()));
    QSet<QPair<int, int>> corners;
    float maxS = 0, maxT = 0;
    for (const FeedbackPrimitive &prim : prims) {
        for (const FeedbackVertex &v : prim.vertices) {
            const QVector3D p = toCube(v, 150);
            corners << qMakePair(qRound(p.x()), qRound(p.y()));
            QVERIFY(std::fabs(p.z()) < 0.5f);
            // s and t run to 50 where x and y run to 100: 50 repeats each way.
            QCOMPARE(v.texS, (p.x() + 100) / 4);
            QCOMPARE(v.texT, (p.y() + 100) / 4);
            maxS = std::max(maxS, v.texS);
            maxT = std::max(maxT, v.texT);
        }
    }
    QCOMPARE(corners, (QSet<QPair<int, int>> {{-100, -100}, {100, -100}, {100, 100}, {-100, 100}}));
    // 50 repeats along each side of the square.
    QCOMPARE(maxS, 50.0f);
    QCOMPARE(maxT, 50.0f);

    // The list binds the picture's texture, which repeats and filters linearly.
    QCOMPARE(boundTexture(), texture);
    QCOMPARE(textureLevel0(GL_TEXTURE_WIDTH), 256);
    QCOMPARE(textureLevel0(GL_TEXTURE_HEIGHT), 256);
    QCOMPARE(textureLevel0(GL_TEXTURE_INTERNAL_FORMAT), 3); // three components, as asked
    for (GLenum parameter : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
        GLint wrap = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &wrap);
        QCOMPARE(wrap, GL_REPEAT);
    }
    for (GLenum parameter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) {
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &filter);
        QCOMPARE(filter, GL_LINEAR);
    }

    // The list holds no picture: a texture given another image after the
    // list was made keeps that image when the list runs again.
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glCallList(list);
    QCOMPARE(boundTexture(), texture);
    QCOMPARE(textureLevel0(GL_TEXTURE_WIDTH), 8);

    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteLists(list, 1);
    glDeleteTextures(1, &texture);
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
}

enum class Ground { Green, Textured, Untextured };

void TestGLScene::groundInputs_data()
{
    GLint maxSize = 0;
    m_view->makeCurrent();
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);

    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QSize>("size");

    const auto row = [](const char *name, const char *kind, const QByteArray &content,
                         Ground expected, QSize size = {}) {
        QTest::newRow(name) << QString(kind) << content << int(expected) << size;
    };
    const QByteArray bmp64 = bmpBytes(solid(64, 64));
    const auto pngBytes = [](const QImage &image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    };
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) ^ (i >> 3));

    QImage varied(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            varied.setPixel(x, y, qRgb(x, y, (x * y) & 0xff));
    const QByteArray bmp = bmpBytes(varied); // 24 bits a pixel
    const QByteArray bmp8 = bmpBytes(varied.convertToFormat(QImage::Format_Indexed8));
    QByteArray topDown = bmp; // rows stored from the top: a negative height
    const qint32 negative = -256;
    memcpy(topDown.data() + 22, &negative, 4);
    const QByteArray png = pngBytes(varied);
    const QSize full(256, 256);

    row("missing", "none", {}, Ground::Green);
    row("zero bytes", "file", QByteArray(), Ground::Green);
    row("garbage", "file", garbage, Ground::Green);
    // A picture cut short counts as unreadable (tst_groundfiles tries every
    // cut of every kind of file; this one goes through the file and the GL).
    row("BMP one byte short", "file", bmp.chopped(1), Ground::Green);
    row("24-bit BMP", "file", bmp, Ground::Textured, full);
    row("8-bit BMP", "file", bmp8, Ground::Textured, full);
    row("1-bit BMP", "file", bmpBytes(varied.convertToFormat(QImage::Format_Mono)),
        Ground::Textured, full);
    row("top-down BMP", "file", topDown, Ground::Textured, full);
    row("BMP with bytes after its pixels", "file", bmp + "trailer", Ground::Textured, full);
    row("PNG", "file", png, Ground::Textured, full);
    row("enormous BMP", "file", bmpHeaderOnly(60000, 60000), Ground::Green);
    row("enormous PNG", "file", pngHeaderOnly(40000, 40000), Ground::Green);
    row("directory", "directory", {}, Ground::Green);
    row("named pipe", "fifo", {}, Ground::Green);
    row("no read permission", "unreadable", bmp64, Ground::Green, QSize(64, 64));
    row("wider than GL allows", "file", bmpBytes(solid(maxSize * 2, 1)), Ground::Untextured);
    row("not a power of two", "file", bmpBytes(solid(100, 60)), Ground::Textured, QSize(100, 60));
    row("1 x 1", "file", bmpBytes(solid(1, 1)), Ground::Textured, QSize(1, 1));
    row("256 x 256", "file", bmpBytes(solid(256, 256)), Ground::Textured, QSize(256, 256));
    row("PNG under the BMP name", "file", pngBytes(solid(8, 8)), Ground::Textured, QSize(8, 8));
    // A small file that decodes to more than the viewer will take (70 MB)...
    row("beyond the decoding limit", "file", pngBytes(solid(4200, 4200)), Ground::Green);
    // ...and the largest square picture it takes (64 MiB), the benchmark's largest.
    row("at the decoding limit", "file", pngBytes(solid(4096, 4096)), Ground::Textured,
        QSize(4096, 4096));
}

void TestGLScene::groundInputs()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(int, expected);
    QFETCH(QSize, size);

    QTemporaryDir dir;
    const QString path = dir.filePath("ground.bmp");
    if (kind == "file" || kind == "unreadable") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        if (kind == "unreadable") {
            QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
            if (QFileInfo(path).isReadable()) // root reads it anyway
                expected = int(Ground::Textured);
        }
    } else if (kind == "directory") {
        QVERIFY(QDir(dir.path()).mkdir("ground.bmp"));
    } else if (kind == "fifo") {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }

    if (Ground(expected) == Ground::Green)
        QTest::ignoreMessage(QtWarningMsg, groundWarning);
    // Qt explains, in its own words, why it would not decode a huge picture.
    if (QTest::currentDataTag() == QByteArray("beyond the decoding limit"))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("allocation limit"));
    const QImage image = loadGroundImage(path);
    QVERIFY(!image.isNull());
    QCOMPARE(image.format(), QImage::Format_RGBA8888);

    // Start from the default texture with no image, then run the list as the
    // frame does.
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 0, 0, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    const GLuint texture = myGround().uploadTexture(image);
    const GLuint list = myGround().buildList(texture);
    const auto prims = captureFeedback(150, [&] { glCallList(list); });
    glDeleteLists(list, 1);
    QVERIFY(countTokens(prims, GL_POLYGON_TOKEN) >= 1); // the square is always there
    QCOMPARE(boundTexture(), texture);
    const QSize level0(textureLevel0(GL_TEXTURE_WIDTH), textureLevel0(GL_TEXTURE_HEIGHT));
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &texture);
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));

    QCOMPARE(texture != 0, Ground(expected) != Ground::Untextured);
    switch (Ground(expected)) {
    case Ground::Green:
        QCOMPARE(level0, QSize(128, 128));
        QCOMPARE(QColor(image.pixel(5, 5)), QColor(Qt::green));
        break;
    case Ground::Textured: QCOMPARE(level0, size); break;
    case Ground::Untextured: QCOMPARE(level0, QSize(0, 0)); break;
    }
}

void TestGLScene::lightsRideWithTheHelicopter()
{
    QCOMPARE(m_view->state().posX, 0.0f);
    // Two ticks with a still camera: the lights were placed with the same
    // viewing transform that is in force now.
    m_view->tick();
    m_view->tick();
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const QMatrix4x4 viewing(modelview);
    const QMatrix4x4 toWorld = viewing.transposed().inverted(); // GL stores columns first

    const GLenum lights[3] = {GL_LIGHT2, GL_LIGHT3, GL_LIGHT4};
    const QVector3D expected[3] = {{0, 0, 0.5f}, {0, 0.5f, 0.5f}, {0.1f, -0.5f, 0.5f}};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(glIsEnabled(lights[i]));
        GLfloat eye[4];
        glGetLightfv(lights[i], GL_POSITION, eye);
        QCOMPARE(eye[3], 1.0f);
        const QVector3D world = toWorld.map(QVector3D(eye[0], eye[1], eye[2]));
        QVERIFY2((world - expected[i]).length() < 1e-4f,
            qPrintable(QString("light %1 at %2 %3 %4")
                           .arg(i + 2)
                           .arg(world.x())
                           .arg(world.y())
                           .arg(world.z())));
    }
    GLfloat colour[4];
    glGetLightfv(GL_LIGHT3, GL_AMBIENT, colour);
    QCOMPARE(QVector4D(colour[0], colour[1], colour[2], colour[3]), QVector4D(1, 1, 1, 1));
    glGetLightfv(GL_LIGHT3, GL_DIFFUSE, colour);
    QCOMPARE(QVector4D(colour[0], colour[1], colour[2], colour[3]), QVector4D(0, 0, 0, 1));

    // Lights 0 and 1 stay where they were put, relative to the eye.
    GLfloat light0[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light0);
    QCOMPARE(QVector4D(light0[0], light0[1], light0[2], light0[3]), QVector4D(47, 0, 1, 1));

    // A moved helicopter takes its lights along, offsets along the world axes.
    m_view->state().posX = 3.0f;
    m_view->state().rotZ = 90.0f;
    m_view->tick();
    m_view->tick();
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const QMatrix4x4 moved = QMatrix4x4(modelview).transposed().inverted();
    GLfloat eye[4];
    glGetLightfv(GL_LIGHT4, GL_POSITION, eye);
    const QVector3D world = moved.map(QVector3D(eye[0], eye[1], eye[2]));
    QVERIFY((world - QVector3D(3.1f, -0.5f, 0.5f)).length() < 1e-4f);
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
    m_view->state().posX = 0.0f;
    m_view->state().rotZ = 0.0f;
}

QTEST_MAIN(TestGLScene)
#include "tst_glscene.moc"
