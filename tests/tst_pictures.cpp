// The whole window in fixed states, reached by keys and hand-driven ticks,
// against the reference pictures in tests/baselines/ (every channel stored
// rounded to a multiple of 8, the window's picture rounded alike). Three
// checks, each for what the others let by: few pixels off by more than a
// rasteriser's edges could be; no view off in colour on average; the
// readouts but the frame rate (a clock) exactly the same. A mismatch writes
// <state>-actual.png and <state>-difference.png beside the test;
// VUDURE_UPDATE_BASELINES=1 writes new references (scripts/update-baselines.sh).

#include "mygl.h"
#include "myuiimpl.h"
#include "windowtesting.h"

#include <QLCDNumber>
#include <QPainter>
#include <QtTest>

namespace {

constexpr int pixelTolerance = 24;
constexpr double maxDifferingShare = 0.0005;
constexpr double maxMeanShift = 1.5;
constexpr int storedLevels = 8;

QImage storable(const QImage &picture)
{
    QImage stored = picture.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < stored.height(); ++y) {
        uchar *line = stored.scanLine(y);
        for (int x = 0; x < stored.width() * 3; ++x)
            line[x]
                = uchar(std::min(255, (line[x] + storedLevels / 2) / storedLevels * storedLevels));
    }
    return stored.convertToFormat(QImage::Format_RGB32);
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

struct Difference
{
    int pixels = 0; // differing by more than the slack in a channel
    double mean[3] = {}; // of each channel, signed
};

// How `actual` differs from `reference` in `area`; marks the pixels that
// differ by more than `slack` red in `marks`.
Difference compare(
    const QImage &actual, const QImage &reference, const QRect &area, int slack, QImage &marks)
{
    Difference d;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb a = actual.pixel(x, y), r = reference.pixel(x, y);
            const int off[3] = {qRed(a) - qRed(r), qGreen(a) - qGreen(r), qBlue(a) - qBlue(r)};
            for (int c = 0; c < 3; ++c)
                d.mean[c] += double(off[c]) / (area.width() * area.height());
            if (std::max({std::abs(off[0]), std::abs(off[1]), std::abs(off[2])}) > slack) {
                ++d.pixels;
                marks.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    return d;
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
    // High enough to see the ground beyond the airfield, with and without its
    // picture.
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
    const QImage actual = storable(windowPicture(window));

    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QString referencePath = QStringLiteral(VUDURE_BASELINES_DIR "/") + name + ".png";
    if (qEnvironmentVariableIntValue("VUDURE_UPDATE_BASELINES")) {
        QVERIFY(actual.convertToFormat(QImage::Format_RGB888).save(referencePath, "PNG", 0));
        qInfo("wrote %s", qPrintable(referencePath));
        return;
    }

    // The frame-rate readout shows the clock: it is painted over in both.
    QImage shown = actual, expected = QImage(referencePath).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(expected.size(), actual.size());
    for (QImage *picture : {&shown, &expected})
        QPainter(picture).fillRect(window.LCDFps->geometry(), Qt::black);
    QImage marks = expected;
    QStringList faults;
    const Difference whole = compare(shown, expected, shown.rect(), pixelTolerance, marks);
    if (whole.pixels > shown.width() * shown.height() * maxDifferingShare)
        faults << QString("%1 pixels differ").arg(whole.pixels);
    for (myGL *view : viewsOf(window)) {
        const QRect area(view->mapTo(&window, QPoint(0, 0)), view->size());
        const Difference d = compare(shown, expected, area, 255, marks);
        if (std::max({std::fabs(d.mean[0]), std::fabs(d.mean[1]), std::fabs(d.mean[2])})
            > maxMeanShift)
            faults << QString("view '%1' is off in colour on average").arg(view->objectName());
    }
    for (QLCDNumber *lcd :
        {window.LCDRotate, window.LCDFov, window.LCDposX, window.LCDposY, window.LCDposZ}) {
        if (compare(shown, expected, lcd->geometry(), 0, marks).pixels > 0)
            faults << lcd->objectName() + " differs";
    }
    if (!faults.isEmpty()) {
        const QDir out(QCoreApplication::applicationDirPath());
        actual.save(out.filePath(name + "-actual.png"));
        marks.save(out.filePath(name + "-difference.png"));
        QFAIL(qPrintable(faults.join("; ") + " against " + referencePath + "; see "
            + out.filePath(name + "-actual.png") + " and "
            + out.filePath(name + "-difference.png")));
    }
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
