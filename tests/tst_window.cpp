// The whole window on a display: what no picture shows of the form, the
// views' assembly and GL objects, how frames are drawn and the event loop's
// end (tst_pictures compares the pictures; tst_soak drives keys and mouse).

#include "font.h"
#include "iconart.h"
#include "mygl.h"
#include "myuiimpl.h"
#include "vudureconfig.h"
#include "windowtesting.h"
#include "windowwatch.h"

#include <QAccessible>
#include <QLCDNumber>
#include <QLabel>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs `ticks` more ticks of the main view as the event loop delivers them.
bool waitForTicks(myGL *view, int ticks)
{
    QSignalSpy spy(view, &myGL::valueChanged);
    return QTest::qWaitFor([&] { return spy.count() >= ticks; }, 20000);
}

// Where the helicopter's olive body is drawn: the mean of its pixels, a colour
// that neither the sky, the grey airfield nor the test's ground has.
QPointF oliveCentre(const QImage &frame)
{
    QPointF sum;
    int count = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb p = frame.pixel(x, y);
            if (qGreen(p) > qRed(p) + 4 && qGreen(p) > qBlue(p) + 15) {
                sum += QPointF(x, y);
                ++count;
            }
        }
    }
    return count ? sum / count : QPointF(-1, -1);
}

// Counts the ground picture's reads, told in the viewer's debug category.
int groundReads = 0;
QtMessageHandler testHandler = nullptr;
void countGroundReads(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (qstrcmp(context.category, "vudure.ground") == 0)
        ++groundReads;
    else
        testHandler(type, context, text);
}

// The window, shown; with `manual`, its views tick only when the test says.
struct ShownWindow : myUIImpl
{
    explicit ShownWindow(bool manual = false)
    {
        if (manual)
            ticks = std::make_unique<ManualTicks>(*this);
        show();
        if (!QTest::qWaitForWindowExposed(this))
            qWarning("the window was not shown"); // fails the test
    }
    std::unique_ptr<ManualTicks> ticks;
};

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

public:
    static void initMain() { useLegacyGLFormat(); }

private Q_SLOTS:
    void init();
    void iconIsTheStarAtEverySize();
    void readoutsShowTheirValuesAndCaptions();
    void assembledBeforeFirstShow();
    void closingIsNoOtherProgramsDoing();

    void viewsShareTheGroundAndLeaveNothingBehind();
    void viewMovedToAnotherWindowDrawsItsGround();
    void labelsAndLinesScaleWithThePixelDensity();
    void panShowsOnTheSecondTickAcrossTheNominalViewport();
    void followingCameraLooksWhereTheHelicopterWasATickAgo();

private:
    QTemporaryDir m_workDir;
};

void TestWindow::init()
{
    // Every view reads the ground picture here: with one, any warning is a fault.
    QVERIFY(m_workDir.isValid());
    QVERIFY(QDir::setCurrent(m_workDir.path()));
    QImage ground(4, 4, QImage::Format_RGB32);
    ground.fill(QColor(90, 120, 60));
    QVERIFY(ground.save(m_workDir.filePath("ground.bmp"), "BMP"));
    QTest::failOnWarning(QRegularExpression("."));
}

// The window icon and the installed icon files are the 16 x 16 star with
// every pixel made a square block.
void TestWindow::iconIsTheStarAtEverySize()
{
    myUI form;
    const auto windowIcon = [&](int at) {
        return form.windowIcon()
            .pixmap(QSize(at, at), 1.0)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage art = windowIcon(16);
    QCOMPARE(QColor(art.pixel(7, 5)), QColor(0xff, 0xff, 0x00)); // the star's body
    for (int size : iconart::sizes) {
        const QImage file = QImage(
            QString("%1/%2x%2/apps/%3.png").arg(VUDURE_ICON_DIR).arg(size).arg(VUDURE_APP_ID))
                                .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(file, windowIcon(size));
        QVERIFY(form.windowIcon().availableSizes().contains(file.size())); // not scaled
        QCOMPARE(file, art.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
}

// Each readout as the main view feeds it: dashes while a value does not fit,
// the value again as soon as it fits; what assistive technology hears of it:
// its caption as its name, the caption tied to it, and the number it was
// given, also while it shows dashes.
void TestWindow::readoutsShowTheirValuesAndCaptions()
{
    myUIImpl w;
    const std::tuple<QLabel *, QLCDNumber *, void (myGL::*)(int), int> readouts[] = {
        {w.textPosX, w.LCDposX, &myGL::gposX, 100000},
        {w.textPosY, w.LCDposY, &myGL::gposY, -10000},
        {w.textPosZ, w.LCDposZ, &myGL::gposZ, INT_MAX},
        {w.textRotate, w.LCDRotate, &myGL::grotZ, INT_MIN},
        {w.textFPS, w.LCDFps, &myGL::gfps, 123456}, {w.textZoom, w.LCDFov, &myGL::gfov, -99999}};
    for (const auto &[caption, readout, feed, tooLong] : readouts) {
        QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(readout);
        QCOMPARE(heard->text(QAccessible::Name), caption->text());
        QVERIFY(
            heard->relations(QAccessible::Label)
                .contains({QAccessible::queryAccessibleInterface(caption), QAccessible::Label}));
        (w.mainView->*feed)(-1234);
        const QImage fitting = readout->grab().toImage();
        (w.mainView->*feed)(tooLong);
        const QImage tooLongShown = readout->grab().toImage();
        QCOMPARE(heard->text(QAccessible::Value), QString::number(tooLong));
        readout->display(QStringLiteral("-----"));
        QCOMPARE(tooLongShown, readout->grab().toImage());
        (w.mainView->*feed)(-1234);
        QCOMPARE(readout->grab().toImage(), fitting);
        QCOMPARE(heard->text(QAccessible::Value), QString("-1234"));
    }
}

// The form as no picture shows it (names, size, the inactive and disabled
// palette groups, which differ from the active one only where intended), and
// the views' names, frames, camera modes and names for assistive technology,
// before any GL exists: the side views remember 45 degrees as their zoom
// start and look with 20. A tick then, with no context, moves the state only.
void TestWindow::assembledBeforeFirstShow()
{
    myUIImpl w;
    const myUI named(nullptr, "panel");
    QCOMPARE(QString(w.metaObject()->className()) + " " + w.objectName() + " " + named.objectName(),
        QString("myUIImpl myUI panel"));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.maximumSize(), QSize(800, 560));
    QCOMPARE(w.windowTitle(), QString("Vudure DI64"));
    const QPalette p = w.palette();
    for (int role = QPalette::WindowText; role <= QPalette::LinkVisited; ++role) {
        const auto r = QPalette::ColorRole(role);
        QCOMPARE(p.color(QPalette::Active, r) != p.color(QPalette::Inactive, r),
            r == QPalette::Midlight);
        QCOMPARE(p.color(QPalette::Inactive, r) != p.color(QPalette::Disabled, r),
            r == QPalette::ButtonText);
    }
    QCOMPARE(p.color(QPalette::Disabled, QPalette::ButtonText), QColor(128, 128, 128));
    QStringList assembly;
    for (myGL *view : viewsOf(w)) {
        assembly << QString("%1 in %2: mode %3, field %4, zoom %5, %6")
                        .arg(view->objectName(), view->parentWidget()->objectName())
                        .arg(view->state().viewMode)
                        .arg(view->state().fovY)
                        .arg(view->state().zoomFov)
                        .arg(QAccessible::queryAccessibleInterface(view)->text(QAccessible::Name));
    }
    QCOMPARE(assembly,
        QStringList({" in FrameGL: mode 0, field 45, zoom 45, main view",
            "top in FrameGLTop: mode 1, field 20, zoom 45, top view",
            "front in FrameGLFront: mode 2, field 20, zoom 45, front view",
            "back in FrameGLBack: mode 3, field 45, zoom 45, back view"}));

    myGL *view = w.mainView;
    view->startEng();
    view->moveForward();
    view->setZoom(1);
    view->tick();
    QVERIFY(!view->context() && !QOpenGLContext::currentContext());
    QCOMPARE(view->state().posX, 0.1f);
    QCOMPARE(view->state().zoomFov, 45.5f);
}

// Qt destroys the window itself when it is closed, before the event loop
// ends; a watch that took that for another program's doing would end this
// test with 3 while it waits.
void TestWindow::closingIsNoOtherProgramsDoing()
{
    ShownWindow w;
    const WindowWatch watch(w);
    w.close();
    QTest::qWait(500);
}

// The views draw without GL errors, each with lists of its own and all with
// one ground texture, the picture read once. A deleted view takes its lists
// along and leaves the others drawing; once the window is gone nothing of its
// GL is left, as a context of the test's own in the same group sees.
void TestWindow::viewsShareTheGroundAndLeaveNothingBehind()
{
    QLoggingCategory::setFilterRules("vudure.ground.debug=true");
    groundReads = 0;
    testHandler = qInstallMessageHandler(countGroundReads);
    auto *w = new ShownWindow;
    QVERIFY(waitForTicks(w->mainView, 3));
    qInstallMessageHandler(testHandler);
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(groundReads, 1);
    const auto namesOf = [](myGL *view) {
        return QList<GLuint> {view->heliList(), view->crossList(), view->gridList(),
            view->airfieldList(), view->groundList(), view->fontListBase() + 'A'};
    };
    const GLuint texture = w->mainView->groundTexture();
    QList<GLuint> lists;
    for (myGL *view : viewsOf(*w)) {
        view->makeCurrent();
        QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
        QCOMPARE(view->groundTexture(), texture);
        QVERIFY(glIsTexture(texture));
        for (GLuint list : namesOf(view)) {
            QVERIFY(glIsList(list) && !lists.contains(list));
            lists << list;
        }
    }
    QOpenGLContext probe;
    probe.setShareContext(w->mainView->context());
    QOffscreenSurface surface;
    surface.create();
    QVERIFY(probe.create());

    const QList<GLuint> frontLists = namesOf(w->frontView);
    delete w->frontView;
    w->frontView = nullptr;
    QVERIFY(waitForTicks(w->mainView, 3));
    w->mainView->makeCurrent();
    QVERIFY(glIsTexture(texture));
    for (GLuint list : lists)
        QCOMPARE(glIsList(list), GLboolean(!frontLists.contains(list)));
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));

    delete w;
    QVERIFY(probe.makeCurrent(&surface));
    QVERIFY(!glIsTexture(texture));
    for (GLuint list : lists)
        QVERIFY(!glIsList(list));
}

// A view moved into another window gets a context outside the first window's
// group, and a ground texture there: it draws as it did. Three ticks, as the
// lights follow the camera a tick late and a new context starts them from
// the identity.
void TestWindow::viewMovedToAnotherWindowDrawsItsGround()
{
    ShownWindow w(true);
    myGL *view = w.backView; // looks down on the helicopter, here over open ground
    view->state().posX = -60.0f;
    view->state().lookCam();
    const auto settled = [&] {
        view->grabFramebuffer(); // sets up its GL, as a first paint would
        for (int tick = 0; tick < 3; ++tick)
            w.ticks->tickAll();
        return view->grabFramebuffer();
    };
    const QImage before = settled();
    QWidget other;
    other.resize(view->size());
    view->setParent(&other);
    view->show();
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QCOMPARE(settled(), before);
    QVERIFY(!QOpenGLContext::areSharing(view->context(), w.mainView->context()));
}

// The labels and the grid, flat white on black in the view's framebuffer at
// `n` device pixels a pixel, with the font lists and line width of its last
// frame: the labels' picture, and the grid's vertical lines' pixels in a row.
std::pair<QImage, int> labelsAndGridLines(myGL *view, int n)
{
    view->makeCurrent();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glViewport(0, 0, 300 * n, 100 * n);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 300 * n, 0, 100 * n, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const char *labels[] = {"START POINT", "FIVE", "TEN", "FIFTHTEEN"};
    for (int i = 0; i < 4; ++i) {
        glRasterPos2i(4 * n, (4 + 20 * i) * n);
        drawString(view->fontListBase(), labels[i]);
    }
    glTranslatef(150 * n, 0, 0);
    glScalef(100 * n, 100 * n, 1);
    glCallList(view->gridList());
    QImage picture(300 * n, 100 * n, QImage::Format_RGBX8888);
    glReadPixels(0, 0, 300 * n, 100 * n, GL_RGBA, GL_UNSIGNED_BYTE, picture.bits());
    glPopAttrib();
    const uchar *row = picture.constScanLine(10 * n); // between two lines across
    int linePixels = 0;
    for (int x = 140 * n; x < 300 * n; ++x)
        linePixels += row[4 * x] != 0;
    return {picture.copy(0, 0, 140 * n, 100 * n), linePixels};
}

// Glyphs and lines count device pixels: at twice the pixel density each
// label is twice the size, every pixel of it a 2 x 2 block, and lines are
// twice as wide. A window moved to a screen of another density, denser or
// less dense, gets the font made again (tests/with-two-screens.sh).
void TestWindow::labelsAndLinesScaleWithThePixelDensity()
{
    QMap<qreal, QScreen *> screenAt;
    for (QScreen *screen : QGuiApplication::screens())
        screenAt.insert(screen->devicePixelRatio(), screen);
    if (!screenAt.contains(1) || !screenAt.contains(2))
        QSKIP("no screens of one and two device pixels a pixel side by side");
    ShownWindow w;
    QList<QImage> labels;
    for (const int n : {1, 2, 1}) {
        w.move(screenAt[n]->geometry().topLeft());
        QTRY_COMPARE(w.mainView->screen(), screenAt[n]);
        w.mainView->grabFramebuffer(); // a frame there
        const auto [picture, linePixels] = labelsAndGridLines(w.mainView, n);
        QCOMPARE(linePixels, 6 * n);
        labels << picture;
    }
    QCOMPARE(labels[1], labels[0].scaled(labels[0].size() * 2));
    QCOMPARE(labels[2], labels[0]);
}

// From the first tick on a view draws into 350 x 230 logical pixels, more than
// the widget shows, and with the camera of the tick before: a pan key shows on
// the second tick, and panX 1.0 moves the picture by half of 350.
void TestWindow::panShowsOnTheSecondTickAcrossTheNominalViewport()
{
    ShownWindow w(true);
    w.ticks->tickAll();
    w.ticks->tickAll();
    const QImage before = w.mainView->grabFramebuffer();
    for (int press = 0; press < 20; ++press)
        QTest::keyClick(&w, Qt::Key_6);
    w.ticks->tickAll();
    QCOMPARE(w.mainView->grabFramebuffer(), before);
    w.ticks->tickAll();
    const QImage after = w.mainView->grabFramebuffer();
    const int shift = qRound(175 * w.mainView->devicePixelRatioF());
    const QRect overlap(0, 0, before.width() - shift, before.height());
    // Exact at one pixel per pixel; at two, a few edge pixels round differently.
    int differing = 0;
    for (int y = 0; y < overlap.height(); ++y) {
        for (int x = 0; x < overlap.width(); ++x)
            differing += after.pixel(x + shift, y) != before.pixel(x, y);
    }
    QVERIFY2(differing <= overlap.width() * overlap.height() / 1000,
        qPrintable(QString::number(differing)));
}

// The frame shows this tick's motion seen from where the camera was placed a
// tick before: in flight the view from above draws the helicopter one tick's
// travel ahead, along its heading (down the picture), and centred again once
// it stops. A twin window painted after every tick ends with the same picture:
// a paint between ticks changes nothing that later frames show.
void TestWindow::followingCameraLooksWhereTheHelicopterWasATickAgo()
{
    ShownWindow w(true), twin(true);
    const auto press = [&](Qt::Key key) {
        QTest::keyClick(&w, key);
        QTest::keyClick(&twin, key);
    };
    const auto helicopterSeenFromAbove = [&](int ticks) {
        for (int tick = 0; tick < ticks; ++tick) {
            w.ticks->tickAll();
            twin.ticks->tickAll();
            twin.backView->grabFramebuffer();
        }
        return oliveCentre(w.backView->grabFramebuffer()) / w.backView->devicePixelRatioF();
    };
    press(Qt::Key_Z);
    const QPointF standing = helicopterSeenFromAbove(2);
    press(Qt::Key_V); // 1.1 a tick
    press(Qt::Key_W);
    const QPointF ahead = helicopterSeenFromAbove(3) - standing;
    QVERIFY2(ahead.y() > 80 && ahead.y() < 140 && std::abs(ahead.x()) < 5,
        qPrintable(QString::asprintf("%g, %g", ahead.x(), ahead.y())));
    QCOMPARE(twin.backView->grabFramebuffer(), w.backView->grabFramebuffer());
    press(Qt::Key_W);
    // The rotor turns over the body, so the centre wanders by a pixel or two.
    const QPointF stopped = helicopterSeenFromAbove(1) - standing;
    QVERIFY2(stopped.manhattanLength() < 4,
        qPrintable(QString::asprintf("%g, %g", stopped.x(), stopped.y())));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
