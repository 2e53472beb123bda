// The whole window in fixed states, reached by keys and hand-driven ticks,
// against reference pictures, compared with every channel rounded to a
// multiple of 8. Four checks, each for what the others let by: few pixels
// off by more than a rasteriser's edges could be; in no view a pixel with
// nothing like it within a pixel in the other picture (a thin line or letter
// missing); no view off in colour on average; the readouts but the frame
// rate (a clock) exactly the same. A mismatch writes <state>-actual.png and
// <state>-difference.png beside the test; VUDURE_UPDATE_BASELINES=1 writes
// new references (scripts/update-baselines.sh).

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
// Fewer than the smallest thing the scene draws: the look-at cross, some 15
// pixels in the main view.
constexpr int maxUnmatchedPerView = 8;
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
    int unmatched = 0; // of those, with no match within a pixel in the other picture
    double mean[3] = {}; // of each channel, signed
};

bool near(QRgb a, QRgb b, int slack)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
               std::abs(qBlue(a) - qBlue(b))})
        <= slack;
}

// Whether `picture` has `colour` at (x, y) or next to it: an edge one pixel
// off, as another rasteriser may draw it, but not a line or letter missing.
bool nextTo(const QImage &picture, int x, int y, QRgb colour, int slack)
{
    for (int i = 0; i < 9; ++i) {
        const QPoint p(x + i % 3 - 1, y + i / 3 - 1);
        if (picture.valid(p) && near(picture.pixel(p), colour, slack))
            return true;
    }
    return false;
}

// How `actual` differs from `reference` in `area`; marks the pixels that
// differ by more than `slack` red in `marks`.
Difference compare(
    const QImage &actual, const QImage &reference, const QRect &area, int slack, QImage &marks)
{
    Difference d;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb a = actual.pixel(x, y), r = reference.pixel(x, y);
            d.mean[0] += double(qRed(a) - qRed(r)) / (area.width() * area.height());
            d.mean[1] += double(qGreen(a) - qGreen(r)) / (area.width() * area.height());
            d.mean[2] += double(qBlue(a) - qBlue(r)) / (area.width() * area.height());
            if (!near(a, r, slack)) {
                ++d.pixels;
                d.unmatched
                    += !nextTo(reference, x, y, a, slack) || !nextTo(actual, x, y, r, slack);
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
    // Keys by name, pressed in turn, and +N for N ticks of every view.
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("groundPicture");
    QTest::addColumn<QString>("reference");
    const auto row = [](const char *name, const char *script, bool groundPicture = true,
                         const char *folder = VUDURE_BASELINES_DIR) {
        QTest::newRow(name) << QString(script) << groundPicture
                            << QString("%1/%2.png").arg(folder, name);
    };
    row("start", "+2");
    row("climbing", "Z Up +40");
    row("markers", "L +2");
    row("beside", "1 +2");
    row("behind", "2 +2");
    row("above", "3 +2");
    // High enough to see the ground beyond the airfield, with and without its
    // picture.
    row("high", "Z Up +600");
    row("no-ground-picture", "Z Up +600", false);
    // The README's and the software centres' pictures, kept whole rather than
    // rounded (scripts/screenshot.sh).
    row("screenshot-start", "+2", true, VUDURE_DOCS_DIR);
    row("screenshot-flight", "Z Up +20 Up S +300 S A +36 A +2", true, VUDURE_DOCS_DIR);
}

void TestPictures::window()
{
    QFETCH(QString, script);
    QFETCH(bool, groundPicture);
    QFETCH(QString, reference);

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
    for (const QString &step : script.split(' ')) {
        for (int tick = 0; tick < step.mid(1).toInt() && step[0] == '+'; ++tick)
            manual.tickAll();
        if (step[0] != '+')
            QTest::keyClick(&window, QKeySequence::fromString(step)[0].key());
    }
    const QImage shot = windowPicture(window), actual = storable(shot);

    const bool screenshot = reference.startsWith(QStringLiteral(VUDURE_DOCS_DIR));
    if (qEnvironmentVariableIntValue("VUDURE_UPDATE_BASELINES")) {
        QVERIFY((screenshot ? shot : actual)
                    .convertToFormat(QImage::Format_RGB888)
                    .save(reference, "PNG", screenshot ? -1 : 0));
        qInfo("wrote %s", qPrintable(reference));
        return;
    }

    // The frame-rate readout shows the clock: it is painted over in both.
    QImage shown = actual, expected = storable(QImage(reference));
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
        const Difference d = compare(shown, expected, area, pixelTolerance, marks);
        if (d.unmatched > maxUnmatchedPerView)
            faults << QString::asprintf(
                "view '%s' lost or gained %d pixels of a thin line, letter or marker",
                qPrintable(view->objectName()), d.unmatched);
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
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        actual.save(out.filePath(name + "-actual.png"));
        marks.save(out.filePath(name + "-difference.png"));
        QFAIL(qPrintable(faults.join("; ") + " against " + reference + "; see "
            + out.filePath(name + "-actual.png") + " and "
            + out.filePath(name + "-difference.png")));
    }
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
