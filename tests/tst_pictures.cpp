// The whole window in a few fixed states, reached by keys and hand-driven
// ticks only, compared with reference pictures in tests/baselines/.
//
// Tolerance: a pixel differs when one of its channels is off by more than
// pixelTolerance levels; a picture matches while at most maxDifferingShare of
// its pixels differ. The frame-rate readout is left out: it shows the clock.
// Reference pictures are stored with every channel rounded to a multiple of 8,
// well inside the tolerance, which keeps the files small.
//
// On a mismatch the test writes <state>-actual.png and <state>-difference.png
// beside its executable. VUDURE_UPDATE_BASELINES=1 writes new references
// instead (scripts/update-baselines.sh).

#include "windowtesting.h"
#include "mygl.h"
#include "myuiimpl.h"

#include <QLCDNumber>
#include <QPainter>
#include <QtTest>

namespace {

// Mesa's software rasteriser gives the same pixels run after run; the slack is
// for edge pixels of another rasteriser build. It stays below what one label
// moved by one pixel changes (230 to 960 pixels, 0.05 % is 223).
constexpr int pixelTolerance = 24;
constexpr double maxDifferingShare = 0.0005;
constexpr int storedLevels = 8; // channel step of the stored pictures

QImage storable(const QImage &picture)
{
    QImage stored = picture.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < stored.height(); ++y) {
        uchar *line = stored.scanLine(y);
        for (int x = 0; x < stored.width() * 3; ++x)
            line[x]
                = uchar(std::min(255, (line[x] + storedLevels / 2) / storedLevels * storedLevels));
    }
    return stored;
}

// The window as the screen shows it. grab() alone blends each view over the
// window by the view's alpha, and the sky is cleared with alpha 0, which the
// screen ignores: so each view's own frame goes in its place.
QImage windowPicture(myUIImpl &window)
{
    QImage picture = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (myGL *view : viewsOf(window)) {
        painter.drawImage(view->mapTo(&window, QPoint(0, 0)),
            view->grabFramebuffer().convertToFormat(QImage::Format_RGB32));
    }
    return picture;
}

struct Comparison
{
    int differing = 0, compared = 0;
    // Differing pixels red on a dimmed copy of the reference, the ignored part blue.
    QImage difference;
};

Comparison compare(const QImage &actual, const QImage &reference, const QRect &ignored)
{
    Comparison result;
    result.difference = reference.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), r = reference.pixel(x, y);
            QRgb &shown = reinterpret_cast<QRgb *>(result.difference.scanLine(y))[x];
            shown = qRgb(qGray(r) / 3, qGray(r) / 3, qGray(r) / 3);
            if (ignored.contains(x, y)) {
                shown = qRgb(0, 0, 96);
                continue;
            }
            ++result.compared;
            const int off = std::max({std::abs(qRed(a) - qRed(r)), std::abs(qGreen(a) - qGreen(r)),
                std::abs(qBlue(a) - qBlue(r))});
            if (off > pixelTolerance) {
                ++result.differing;
                shown = qRgb(255, 0, 0);
            }
        }
    }
    return result;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

public:
    static void initMain()
    {
        // One pixel per pixel, whatever the desktop the test starts from asks for.
        for (const char *name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI",
                 "QT_ENABLE_HIGHDPI_SCALING", "QT_USE_PHYSICAL_DPI"})
            qunsetenv(name);
        useLegacyGLFormat();
    }

private Q_SLOTS:
    void initTestCase();
    void window_data();
    void window();

private:
    QTemporaryDir m_workDir;
};

void TestPictures::initTestCase()
{
    QVERIFY(m_workDir.isValid());
    QVERIFY(QDir::setCurrent(m_workDir.path()));
    const QString family = QFontInfo(QApplication::font()).family();
    QVERIFY2(family == "DejaVu Sans",
        qPrintable("the captions would be drawn in " + family
            + "; the reference pictures show DejaVu Sans (fonts-dejavu-core)"));
}

void TestPictures::window_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<bool>("groundPicture");

    QTest::newRow("start") << QList<int> {} << 2 << true;
    QTest::newRow("climbing") << QList<int> {Qt::Key_Z, Qt::Key_Up} << 40 << true;
    QTest::newRow("markers") << QList<int> {Qt::Key_L} << 2 << true;
    QTest::newRow("beside") << QList<int> {Qt::Key_1} << 2 << true;
    QTest::newRow("behind") << QList<int> {Qt::Key_2} << 2 << true;
    QTest::newRow("above") << QList<int> {Qt::Key_3} << 2 << true;
    // High enough to see the ground beyond the airfield, with and without its picture.
    QTest::newRow("high") << QList<int> {Qt::Key_Z, Qt::Key_Up} << 600 << true;
    QTest::newRow("no-ground-picture") << QList<int> {Qt::Key_Z, Qt::Key_Up} << 600 << false;
}

void TestPictures::window()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, ticks);
    QFETCH(bool, groundPicture);

    QFile::remove("ground.bmp");
    if (groundPicture) {
        QVERIFY(QFile::copy(QStringLiteral(VUDURE_GROUND_PICTURE), "ground.bmp"));
    } else {
        for (int view = 0; view < 4; ++view)
            QTest::ignoreMessage(
                QtWarningMsg, "Could not read image file, using single-color instead.");
    }

    myUIImpl window;
    ManualTicks manual(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int key : keys)
        QTest::keyClick(&window, Qt::Key(key));
    for (int i = 0; i < ticks; ++i)
        manual.tickAll();
    const QImage actual = windowPicture(window);
    QCOMPARE(actual.size(), window.size());

    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QString referencePath = QStringLiteral(VUDURE_BASELINES_DIR "/") + name + ".png";
    if (qEnvironmentVariableIntValue("VUDURE_UPDATE_BASELINES")) {
        QVERIFY(storable(actual).save(referencePath, "PNG", 0));
        qInfo("wrote %s", qPrintable(referencePath));
        return;
    }

    const QImage reference(referencePath);
    QVERIFY2(!reference.isNull(), qPrintable("no reference picture " + referencePath));
    QCOMPARE(reference.size(), actual.size());
    const Comparison result = compare(actual, reference, window.LCDFps->geometry());
    if (result.differing > result.compared * maxDifferingShare) {
        const QDir out(QCoreApplication::applicationDirPath());
        const QString actualPath = out.filePath(name + "-actual.png");
        const QString differencePath = out.filePath(name + "-difference.png");
        actual.save(actualPath);
        result.difference.save(differencePath);
        QFAIL(qPrintable(QString("%1 of %2 pixels differ from %3 by more than %4 levels; "
                                 "see %5 and %6")
                             .arg(result.differing)
                             .arg(result.compared)
                             .arg(referencePath)
                             .arg(pixelTolerance)
                             .arg(actualPath, differencePath)));
    }
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
