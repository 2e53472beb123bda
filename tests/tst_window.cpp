// The whole window on a real X server: layout, palette, captions, the views'
// modes, keys to readouts, mouse turning, exit, and what the views show.

#include "mygl.h"
#include "myuiimpl.h"
#include "windowtesting.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLCDNumber>
#include <QLabel>
#include <QOpenGLContext>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs `ticks` more ticks of the main view as the event loop delivers them.
bool waitForTicks(myGL *view, int ticks)
{
    QSignalSpy spy(view, &myGL::valueChanged);
    return QTest::qWaitFor([&] { return spy.count() >= ticks; }, 20000);
}

bool colourNear(QRgb pixel, const QColor &expected, int tolerance = 3)
{
    return std::abs(qRed(pixel) - expected.red()) <= tolerance
        && std::abs(qGreen(pixel) - expected.green()) <= tolerance
        && std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

const QColor sky(77, 179, 204); // the clear colour (0.3, 0.7, 0.8)

int differingPixels(const QImage &a, const QImage &b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            differing += a.pixel(x, y) != b.pixel(x, y);
    }
    return differing;
}

// Where the helicopter's olive body is drawn: the mean of its pixels, which
// neither the sky, the grey airfield nor the test's ground has.
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

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

public:
    static void initMain() { useLegacyGLFormat(); }

private Q_SLOTS:
    void init();
    void formIsNamedAfterItsArgument();
    void formWidgets_data();
    void formWidgets();
    void formIsFixedAndCaptioned();
    void paletteGroups();
    void iconIsTheStar();
    void iconFilesAreTheStarScaled_data();
    void iconFilesAreTheStarScaled();
    void readoutShowsDashesWhileValueDoesNotFit_data();
    void readoutShowsDashesWhileValueDoesNotFit();
    void viewsAreAssembledBeforeFirstShow();

    void keysReachTheReadoutsAfterTicks();
    void cameraKeysActOnMainViewOnly();
    void mouseTurnsOnlyItsOwnView();
    void escapeEndsTheLoopWithZero();
    void closingEndsTheLoopWithZero();
    void tickBeforeFirstShowMovesStateOnly();
    void viewsClearToSkyWithoutGLErrors();
    void eachViewOwnsItsLists();
    void helicopterStandsInTheMiddleOfTheTopView();
    void panShowsOnTheSecondTickAcrossTheNominalViewport();
    void followingCameraLooksWhereTheHelicopterWasATickAgo();
    void groundIsGreenWithoutPicture();
    void markersShowRedAndChangeNothingElse();
    void programStartsQuietlyAndExitsWithZero();

private:
    QTemporaryDir m_workDir;
};

void TestWindow::init()
{
    // Every view reads the ground picture from the working directory: give
    // them one, so that any warning at all is a fault.
    QVERIFY(m_workDir.isValid());
    QVERIFY(QDir::setCurrent(m_workDir.path()));
    QImage ground(4, 4, QImage::Format_RGB32);
    ground.fill(QColor(90, 120, 60));
    QVERIFY(ground.save(m_workDir.filePath("ground.bmp"), "BMP"));
    QTest::failOnWarning(QRegularExpression("."));
}

void TestWindow::formIsNamedAfterItsArgument()
{
    myUI unnamed;
    QCOMPARE(unnamed.objectName(), QString("myUI"));
    myUI named(nullptr, "panel");
    QCOMPARE(named.objectName(), QString("panel"));
    QCOMPARE(QString(unnamed.metaObject()->className()), QString("myUI"));
}

void TestWindow::formWidgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("shadow");

    const int styled = QFrame::StyledPanel, lcd = QFrame::Panel, none = QFrame::NoFrame;
    const int raised = QFrame::Raised, sunken = QFrame::Sunken, plain = QFrame::Plain;
    const struct
    {
        const char *name, *cls;
        QRect geometry;
        int shape, shadow;
    } rows[] = {
        {"FrameGL", "QFrame", {20, 35, 350, 230}, styled, raised},
        {"FrameGLFront", "QFrame", {20, 280, 350, 230}, styled, raised},
        {"LCDFps", "QLCDNumber", {745, 60, 40, 20}, lcd, sunken},
        {"LCDRotate", "QLCDNumber", {745, 115, 40, 20}, lcd, sunken},
        {"LCDFov", "QLCDNumber", {745, 170, 40, 20}, lcd, sunken},
        {"FrameGLTop", "QFrame", {380, 35, 350, 230}, styled, raised},
        {"textFPS", "QLabel", {745, 35, 35, 21}, none, plain},
        {"textRotate", "QLabel", {745, 90, 40, 21}, none, plain},
        {"textZoom", "QLabel", {745, 145, 40, 21}, none, plain},
        {"textPosX", "QLabel", {745, 275, 40, 21}, none, plain},
        {"LCDposY", "QLCDNumber", {745, 350, 40, 20}, lcd, sunken},
        {"textPosY", "QLabel", {745, 325, 40, 21}, none, plain},
        {"LCDposZ", "QLCDNumber", {745, 400, 40, 20}, lcd, sunken},
        {"textPosZ", "QLabel", {745, 375, 40, 21}, none, plain},
        {"LCDposX", "QLCDNumber", {745, 300, 40, 20}, lcd, sunken},
        {"FrameGLBack", "QFrame", {380, 280, 350, 230}, styled, raised},
    };
    for (const auto &row : rows) {
        QTest::newRow(row.name) << QString(row.name) << QString(row.cls) << row.geometry
                                << row.shape << row.shadow;
    }
}

void TestWindow::formWidgets()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(int, shape);
    QFETCH(int, shadow);

    myUI form;
    const auto matches = form.findChildren<QFrame *>(name, Qt::FindDirectChildrenOnly);
    QCOMPARE(matches.size(), 1);
    QFrame *frame = matches.first();
    QCOMPARE(QString(frame->metaObject()->className()), className);
    QCOMPARE(frame->geometry(), geometry);
    QCOMPARE(int(frame->frameShape()), shape);
    QCOMPARE(int(frame->frameShadow()), shadow);
    if (className == "QLabel")
        QCOMPARE(frame->palette().color(QPalette::WindowText), QColor(Qt::white));
}

void TestWindow::formIsFixedAndCaptioned()
{
    myUI form;
    QCOMPARE(form.minimumSize(), QSize(800, 560));
    QCOMPARE(form.maximumSize(), QSize(800, 560));
    QCOMPARE(form.size(), QSize(800, 560));
    QCOMPARE(form.windowTitle(), QString("Vudure DI64"));
    const QStringList captions = {form.textFPS->text(), form.textRotate->text(),
        form.textZoom->text(), form.textPosX->text(), form.textPosY->text(), form.textPosZ->text()};
    QCOMPARE(captions, (QStringList {"FPS", "Rotate", "Zoom", "pos X", "pos Y", "pos Z"}));
    QCOMPARE(form.LCDposX->segmentStyle(), QLCDNumber::Outline);
    QCOMPARE(form.LCDposY->segmentStyle(), QLCDNumber().segmentStyle());
    QCOMPARE(form.LCDFps->digitCount(), 5);
}

void TestWindow::paletteGroups()
{
    myUI form;
    const QPalette p = form.palette();
    const QColor green(0, 85, 0);
    QCOMPARE(p.color(QPalette::Active, QPalette::Window), green);
    QCOMPARE(p.color(QPalette::Active, QPalette::WindowText), green);
    QCOMPARE(p.color(QPalette::Active, QPalette::Button), QColor(224, 223, 227));
    QCOMPARE(p.color(QPalette::Active, QPalette::Highlight), QColor(178, 180, 191));
    QCOMPARE(p.color(QPalette::Active, QPalette::Midlight), QColor(239, 239, 241));
    QCOMPARE(p.color(QPalette::Disabled, QPalette::ButtonText), QColor(128, 128, 128));

    // The groups differ only where intended: inactive from active in Midlight,
    // disabled from inactive in ButtonText.
    for (int role = QPalette::WindowText; role <= QPalette::LinkVisited; ++role) {
        const auto r = QPalette::ColorRole(role);
        const bool activeDiffers = p.color(QPalette::Active, r) != p.color(QPalette::Inactive, r);
        const bool disabledDiffers
            = p.color(QPalette::Inactive, r) != p.color(QPalette::Disabled, r);
        QCOMPARE(activeDiffers, r == QPalette::Midlight);
        QCOMPARE(disabledDiffers, r == QPalette::ButtonText);
    }
}

void TestWindow::iconIsTheStar()
{
    myUI form;
    // The art itself, whatever the screen's pixel density.
    const QImage icon = form.windowIcon().pixmap(QSize(16, 16), 1.0).toImage();
    QCOMPARE(icon.size(), QSize(16, 16));
    QCOMPARE(QColor(icon.pixel(0, 0)), QColor(0x33, 0x66, 0x00));
    QCOMPARE(QColor(icon.pixel(7, 5)), QColor(0xff, 0xff, 0x00)); // the star's body
    QCOMPARE(QColor(icon.pixel(13, 12)), QColor(0x40, 0x70, 0x00));

    // On a denser screen the 16 x 16 icon comes from a larger picture, not blurred.
    const qreal density = qApp->devicePixelRatio();
    QCOMPARE(form.windowIcon().pixmap(16, 16).size(), QSize(16, 16) * density);

    const QList<QSize> sizes = form.windowIcon().availableSizes();
    for (int size : {16, 32, 48, 64, 128, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
}

void TestWindow::iconFilesAreTheStarScaled_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 64, 128, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

// The installed icons and the window icon's larger sizes are the 16 x 16 art
// with every pixel made a square block.
void TestWindow::iconFilesAreTheStarScaled()
{
    QFETCH(int, size);
    myUI form;
    const QImage art = form.windowIcon()
                           .pixmap(QSize(16, 16), 1.0)
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
    const QString path
        = QString("%1/%2x%2/apps/org.vudure.Vudure.png").arg(VUDURE_ICON_DIR).arg(size);
    const QImage file = QImage(path).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(file.size(), QSize(size, size));
    const QImage window = form.windowIcon()
                              .pixmap(QSize(size, size), 1.0)
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(window, file);
    const int factor = size / 16;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (file.pixel(x, y) != art.pixel(x / factor, y / factor))
                QFAIL(qPrintable(QString("pixel %1,%2 differs from the art").arg(x).arg(y)));
        }
    }
}

void TestWindow::readoutShowsDashesWhileValueDoesNotFit_data()
{
    QTest::addColumn<QString>("readout");
    QTest::addColumn<int>("value");
    QTest::newRow("six digits") << "LCDposX" << 100000;
    QTest::newRow("five digits and a minus") << "LCDposY" << -10000;
    QTest::newRow("largest int") << "LCDposZ" << INT_MAX;
    QTest::newRow("smallest int") << "LCDRotate" << INT_MIN;
    QTest::newRow("frame rate") << "LCDFps" << 123456;
    QTest::newRow("zoom") << "LCDFov" << -99999;
}

void TestWindow::readoutShowsDashesWhileValueDoesNotFit()
{
    QFETCH(QString, readout);
    QFETCH(int, value);
    myUI form;
    auto *lcd = form.findChild<QLCDNumber *>(readout);
    QVERIFY(lcd);
    const auto shown = [lcd] { return lcd->grab().toImage(); };
    lcd->display(QStringLiteral("-----"));
    const QImage dashes = shown();
    lcd->display(-1234);
    const QImage fitting = shown();
    QVERIFY(fitting != dashes);

    lcd->display(value);
    QCOMPARE(shown(), dashes);
    // The value shows again as soon as it fits.
    lcd->display(-1234);
    QCOMPARE(lcd->intValue(), -1234);
    QCOMPARE(shown(), fitting);
}

void TestWindow::viewsAreAssembledBeforeFirstShow()
{
    myUIImpl w;
    QVERIFY(!w.isVisible());
    QCOMPARE(QString(w.metaObject()->className()), QString("myUIImpl"));
    QCOMPARE(w.objectName(), QString("myUI"));

    const struct
    {
        myGL *view;
        QFrame *frame;
        const char *name, *layout;
        int mode, stretch;
    } rows[] = {
        {w.mainView, w.FrameGL, "", "flayout1", 0, 1},
        {w.topView, w.FrameGLTop, "top", "flayout2", 1, 2},
        {w.frontView, w.FrameGLFront, "front", "flayout3", 2, 3},
        {w.backView, w.FrameGLBack, "back", "flayout4", 3, 4},
    };
    for (const auto &row : rows) {
        QCOMPARE(row.view->objectName(), QString(row.name));
        QCOMPARE(row.view->parentWidget(), row.frame);
        QCOMPARE(row.view->state().viewMode, row.mode);
        auto *layout = qobject_cast<QHBoxLayout *>(row.frame->layout());
        QVERIFY(layout);
        QCOMPARE(layout->objectName(), QString(row.layout));
        QCOMPARE(layout->contentsMargins(), QMargins(2, 2, 2, 2));
        QCOMPARE(layout->spacing(), 2);
        QCOMPARE(layout->count(), 1);
        QCOMPARE(layout->stretch(0), row.stretch);
    }
    // The side views remember 45 degrees as their zoom start and look with 20.
    QCOMPARE(w.topView->state().fovY, 20.0f);
    QCOMPARE(w.topView->state().zoomFov, 45.0f);
    QCOMPARE(w.backView->state().fovY, 45.0f);
    QCOMPARE(w.mainView->state().fovY, 45.0f);
}

void TestWindow::keysReachTheReadoutsAfterTicks()
{
    myUIImpl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(waitForTicks(w.mainView, 2));
    QCOMPARE(w.LCDposX->intValue(), 0);
    QCOMPARE(w.LCDFov->intValue(), 45);

    QTest::keyClick(&w, Qt::Key_Z);
    QTest::keyClick(&w, Qt::Key_W);
    QTest::keyClick(&w, Qt::Key_V); // 1.1 per tick
    QTRY_VERIFY_WITH_TIMEOUT(w.LCDposX->intValue() >= 3, 20000);
    QVERIFY(w.LCDFps->intValue() > 0 || waitForTicks(w.mainView, 1));

    // All four helicopters got the same commands.
    for (myGL *view : viewsOf(w)) {
        QCOMPARE(view->state().engineOn, 1);
        QCOMPARE(view->state().goForward, 1);
        QCOMPARE(view->state().speed, 1.1);
    }

    // Turning shows on the heading readout; shift changes nothing.
    QTest::keyClick(&w, Qt::Key_W, Qt::ShiftModifier); // stop
    QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(w.LCDRotate->intValue() >= 10, 20000);
    QCOMPARE(w.mainView->state().goForward, 0);

    // Zoom keys widen on every view.
    QTest::keyClick(&w, Qt::Key_PageUp);
    QTRY_VERIFY_WITH_TIMEOUT(w.LCDFov->intValue() >= 47, 20000);
    QVERIFY(w.backView->state().zoomFov > 45.0f);
}

void TestWindow::cameraKeysActOnMainViewOnly()
{
    myUIImpl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(&w, Qt::Key_2);
    QTest::keyClick(&w, Qt::Key_6);
    QTest::keyClick(&w, Qt::Key_7); // unbound
    QTest::keyClick(&w, Qt::Key_Left); // unbound
    QCOMPARE(w.mainView->state().viewMode, 2);
    QVERIFY(std::fabs(w.mainView->state().panX - 0.05f) < 1e-6f);
    const QList<int> modes = {
        w.topView->state().viewMode, w.frontView->state().viewMode, w.backView->state().viewMode};
    QCOMPARE(modes, (QList<int> {1, 2, 3}));
    for (myGL *view : {w.topView, w.frontView, w.backView})
        QCOMPARE(view->state().panX, 0.0f);
    QCOMPARE(w.mainView->state().turnLeft, 0);

    // Following toggles everywhere at once.
    QTest::keyClick(&w, Qt::Key_C);
    for (myGL *view : viewsOf(w))
        QCOMPARE(view->state().camFollow, 0);
}

void TestWindow::mouseTurnsOnlyItsOwnView()
{
    myUIImpl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPoint at(40, 40);
    const auto drag = [&](myGL *view, int moves) {
        for (int i = 0; i < moves; ++i) {
            QMouseEvent move(QEvent::MouseMove, at + QPoint(i, 0), view->mapToGlobal(at),
                Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view, &move);
        }
    };

    QTest::mousePress(w.topView, Qt::LeftButton, {}, at);
    drag(w.topView, 3);
    QTest::mouseRelease(w.topView, Qt::LeftButton, {}, at);
    QCOMPARE(w.topView->state().rotZ, 3.0f);
    for (myGL *other : {w.mainView, w.frontView, w.backView}) {
        QCOMPARE(other->state().rotZ, 0.0f);
        QCOMPARE(other->state().camRotate, 0);
    }
    QCOMPARE(w.topView->state().camRotate, 1);

    // A second press switches turning off again.
    QTest::mousePress(w.topView, Qt::LeftButton, {}, at);
    drag(w.topView, 4);
    QCOMPARE(w.topView->state().rotZ, 3.0f);
}

void TestWindow::escapeEndsTheLoopWithZero()
{
    myUIImpl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTimer::singleShot(200, &w, [&w] { QTest::keyClick(&w, Qt::Key_Escape); });
    QCOMPARE(execEndedByWindow(), 0);
}

void TestWindow::closingEndsTheLoopWithZero()
{
    myUIImpl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTimer::singleShot(200, &w, &QWidget::close);
    QCOMPARE(execEndedByWindow(), 0);
}

void TestWindow::tickBeforeFirstShowMovesStateOnly()
{
    myUIImpl w;
    myGL *view = w.mainView;
    view->startEng();
    view->moveForward();
    view->setZoom(1);
    view->tick();
    // No context exists yet, and the tick made none current ...
    QVERIFY(!view->context());
    QVERIFY(!QOpenGLContext::currentContext());
    // ... but the helicopter moved and the camera update ran.
    QVERIFY(std::fabs(view->state().posX - 0.1f) < 1e-6f);
    QVERIFY(std::fabs(view->state().eyeX - 0.1f) < 1e-6f);
    QCOMPARE(view->state().zoomFov, 45.5f);
}

void TestWindow::viewsClearToSkyWithoutGLErrors()
{
    myUIImpl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(waitForTicks(w.mainView, 3));
    for (myGL *view : viewsOf(w)) {
        view->makeCurrent();
        QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
    }

    // Every view starts looking down at the ground; from high above, the
    // corners of every picture are beyond the ground's edge.
    for (myGL *view : viewsOf(w))
        view->state().posZ = 500.0f;
    QVERIFY(waitForTicks(w.mainView, 3));
    for (myGL *view : viewsOf(w)) {
        const QImage frame = view->grabFramebuffer();
        QVERIFY(!frame.isNull());
        for (const QPointF &where : {QPointF(0.03, 0.03), QPointF(0.97, 0.03)}) {
            const QRgb pixel
                = frame.pixel(int(where.x() * frame.width()), int(where.y() * frame.height()));
            QVERIFY2(colourNear(pixel, sky),
                qPrintable(QString("%1 at %2,%3: %4")
                               .arg(view->objectName())
                               .arg(where.x())
                               .arg(where.y())
                               .arg(QColor(pixel).name())));
        }
        view->makeCurrent();
        QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
    }
}

void TestWindow::eachViewOwnsItsLists()
{
    myUIImpl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(waitForTicks(w.mainView, 2));
    const auto listsOf = [](myGL *view) {
        return QList<GLuint> {view->heliList(), view->crossList(), view->gridList(),
            view->airfieldList(), view->groundList(), view->fontListBase() + 'A'};
    };
    QSet<GLuint> seen;
    for (myGL *view : viewsOf(w)) {
        view->makeCurrent();
        for (GLuint list : listsOf(view)) {
            QVERIFY(glIsList(list));
            QVERIFY2(!seen.contains(list), "two views hold the same list name");
            seen << list;
        }
    }

    // Each view has its own ground texture too.
    QSet<GLuint> textures;
    for (myGL *view : viewsOf(w)) {
        view->makeCurrent();
        QVERIFY(glIsTexture(view->groundTexture()));
        textures << view->groundTexture();
    }
    QCOMPARE(textures.size(), 4);

    // Deleting one view releases its lists and texture and leaves the others drawing.
    const QList<GLuint> frontLists = listsOf(w.frontView);
    const GLuint frontTexture = w.frontView->groundTexture();
    delete w.frontView;
    w.frontView = nullptr;
    w.mainView->makeCurrent();
    for (GLuint list : frontLists)
        QVERIFY(!glIsList(list));
    QVERIFY(!glIsTexture(frontTexture));
    for (myGL *view : {w.mainView, w.topView, w.backView}) {
        view->makeCurrent();
        for (GLuint list : listsOf(view))
            QVERIFY(glIsList(list));
        QVERIFY(glIsTexture(view->groundTexture()));
    }
    QVERIFY(waitForTicks(w.mainView, 3));
    w.mainView->makeCurrent();
    QCOMPARE(glGetError(), GLenum(GL_NO_ERROR));
}

void TestWindow::helicopterStandsInTheMiddleOfTheTopView()
{
    myUIImpl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(waitForTicks(w.mainView, 3));
    QList<QImage> frames;
    for (myGL *view : viewsOf(w))
        frames << view->grabFramebuffer();

    // The body's olive: more green than red or blue, which neither the sky
    // (blue above green) nor the grey airfield under the helicopter has.
    const QImage &top = frames[1];
    int olive = 0;
    for (int y = top.height() * 35 / 100; y < top.height() * 65 / 100; ++y) {
        for (int x = top.width() * 35 / 100; x < top.width() * 65 / 100; ++x) {
            const QRgb p = top.pixel(x, y);
            if (qGreen(p) > qRed(p) + 4 && qGreen(p) > qBlue(p) + 15)
                ++olive;
        }
    }
    QVERIFY2(olive > top.width() * top.height() / 100, qPrintable(QString::number(olive)));

    // Four cameras, four different pictures.
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b)
            QVERIFY(frames[a] != frames[b]);
    }
}

// From the first tick on a view draws into 350 x 230 logical pixels, more than
// the widget shows, and with the camera of the tick before: a pan key shows on
// the second tick, and panX 1.0 moves the picture by half of 350.
void TestWindow::panShowsOnTheSecondTickAcrossTheNominalViewport()
{
    myUIImpl w;
    ManualTicks manual(w);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    manual.tickAll();
    manual.tickAll();
    const QImage before = w.mainView->grabFramebuffer();
    for (int press = 0; press < 20; ++press)
        QTest::keyClick(&w, Qt::Key_6);
    manual.tickAll();
    QCOMPARE(w.mainView->grabFramebuffer(), before);
    manual.tickAll();
    const QImage after = w.mainView->grabFramebuffer();
    const int shift = qRound(175 * w.mainView->devicePixelRatioF());
    const QRect overlap(0, 0, before.width() - shift, before.height());
    // Exact at one pixel per pixel; at two, a few edge pixels round differently.
    const int differing
        = differingPixels(after.copy(overlap.translated(shift, 0)), before.copy(overlap));
    QVERIFY2(differing <= overlap.width() * overlap.height() / 1000,
        qPrintable(QString::number(differing)));
}

// The frame shows this tick's motion seen from where the camera was placed a
// tick before: in flight the view from above draws the helicopter one tick's
// travel ahead, along its heading (down the picture), and centred again once
// it stops.
void TestWindow::followingCameraLooksWhereTheHelicopterWasATickAgo()
{
    // The twin flies the same, painted after every tick: a paint between ticks
    // must change nothing that later frames show.
    myUIImpl w, twin;
    ManualTicks manual(w), twinManual(twin);
    for (myUIImpl *window : {&w, &twin}) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    const auto press = [&](Qt::Key key) {
        QTest::keyClick(&w, key);
        QTest::keyClick(&twin, key);
    };
    const auto helicopterSeenFromAbove = [&](int ticks) {
        for (int tick = 0; tick < ticks; ++tick) {
            manual.tickAll();
            twinManual.tickAll();
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
        qPrintable(QString("%1, %2").arg(ahead.x()).arg(ahead.y())));
    QCOMPARE(twin.backView->grabFramebuffer(), w.backView->grabFramebuffer());
    press(Qt::Key_W);
    // The rotor turns over the body, so the centre wanders by a pixel or two.
    const QPointF stopped = helicopterSeenFromAbove(1) - standing;
    QVERIFY2(stopped.manhattanLength() < 4,
        qPrintable(QString("%1, %2").arg(stopped.x()).arg(stopped.y())));
}

void TestWindow::groundIsGreenWithoutPicture()
{
    QVERIFY(QFile::remove("ground.bmp"));
    for (int view = 0; view < 4; ++view) // each view reads the file itself
        QTest::ignoreMessage(
            QtWarningMsg, "Could not read image file, using single-color instead.");
    myUIImpl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The helicopter starts on the airfield; away from it, the main view
    // looks down ahead onto open ground.
    w.mainView->state().posX = -60.0f;
    w.mainView->setMoveCam();
    w.mainView->setMoveCam();
    QVERIFY(waitForTicks(w.mainView, 3));
    const QImage frame = w.mainView->grabFramebuffer();
    const QColor ground = frame.pixelColor(frame.width() / 2, frame.height() / 8);
    QVERIFY2(
        ground.green() > 100 && ground.red() < 30 && ground.blue() < 30, qPrintable(ground.name()));
}

void TestWindow::markersShowRedAndChangeNothingElse()
{
    myUIImpl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(waitForTicks(w.mainView, 3));
    const QImage off = w.topView->grabFramebuffer();
    QTest::keyClick(&w, Qt::Key_L);
    QVERIFY(waitForTicks(w.mainView, 3));
    const QImage on = w.topView->grabFramebuffer();
    QCOMPARE(on.size(), off.size());

    // Only the markers' own pixels change: red, some with a white highlight.
    int changed = 0, deepRed = 0;
    for (int y = 0; y < on.height(); ++y) {
        for (int x = 0; x < on.width(); ++x) {
            const QRgb before = off.pixel(x, y), after = on.pixel(x, y);
            if (before == after)
                continue;
            ++changed;
            QVERIFY2(qRed(after) > qGreen(after) && qRed(after) > qBlue(after),
                qPrintable(QString("%1,%2 became %3").arg(x).arg(y).arg(QColor(after).name())));
            if (qRed(after) > 2 * qGreen(after) && qRed(after) > 2 * qBlue(after))
                ++deepRed;
        }
    }
    QVERIFY2(changed > 20, qPrintable(QString::number(changed)));
    QVERIFY2(deepRed * 2 > changed, qPrintable(QString("%1 of %2").arg(deepRed).arg(changed)));

    QTest::keyClick(&w, Qt::Key_L);
    QVERIFY(waitForTicks(w.mainView, 3));
    QCOMPARE(w.topView->grabFramebuffer(), off);
}

void TestWindow::programStartsQuietlyAndExitsWithZero()
{
    if (QGuiApplication::platformName() != "xcb")
        QSKIP("finds the window and presses Escape with xdotool, which needs X");
    QTemporaryDir runtimeDir;
    QProcess viewer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
    env.remove("QT_SCALE_FACTOR");
    viewer.setProcessEnvironment(env);
    viewer.setWorkingDirectory(m_workDir.path());
    viewer.start(QStringLiteral(VUDURE_BINARY), {});
    QVERIFY(viewer.waitForStarted());

    // Wait for the window, check its size, then press Escape in it.
    QProcess find;
    find.start("xdotool",
        {"search", "--sync", "--onlyvisible", "--name", "^Vudure DI64$", "getwindowgeometry",
            "--shell"});
    QVERIFY(find.waitForFinished(20000));
    const QString geometry = QString::fromLatin1(find.readAllStandardOutput());
    QVERIFY2(
        geometry.contains("WIDTH=800") && geometry.contains("HEIGHT=560"), qPrintable(geometry));
    QTest::qWait(500); // a few ticks
    QCOMPARE(QProcess::execute(
                 "xdotool", {"search", "--name", "^Vudure DI64$", "windowfocus", "--sync"}),
        0);
    QCOMPARE(QProcess::execute("xdotool", {"key", "Escape"}), 0);

    QVERIFY(viewer.waitForFinished(20000));
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(viewer.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(viewer.readAllStandardError()), QString());
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
