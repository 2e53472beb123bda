// A seeded storm of keys, mouse presses and drags, a hand-driven tick after
// each: the state stays finite and well-formed, the four helicopters in step
// while only keys arrive, GL without errors at every real repaint, memory
// flat (under ASan LeakSanitizer watches it), and Escape still ends with 0.
// The same storm each run unless VUDURE_SOAK_SEED names another seed or
// "random"; the seed is printed. VUDURE_SOAK_EVENTS sets the length.

#include "cpuclock.h"
#include "keybindings.h"
#include "mygl.h"
#include "myuiimpl.h"
#include "windowtesting.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>

namespace {

constexpr int defaultEvents = 20000;
constexpr quint32 defaultSeed = 20261207;
constexpr int repaintEvery = 50; // events between two real repaints
constexpr double allowedGrowthMiB = 20;

// The helicopter's fields, which must not differ between the four views while
// only keys arrive, then its flags (only ever 0 or 1), then the camera's,
// which may differ: the camera keys act on the main view only.
#define FIELD(name) std::pair<const char *, double>(#name, s.name)
QList<std::pair<const char *, double>> fieldsOf(const SceneState &s)
{
    return {FIELD(posX), FIELD(posY), FIELD(posZ), FIELD(rotZ), FIELD(speed), FIELD(rotorAngle),
        FIELD(engineOn), FIELD(goUp), FIELD(goDown), FIELD(goForward), FIELD(goBack),
        FIELD(turnLeft), FIELD(turnRight), FIELD(showLightMarkers), FIELD(mouseTurn),
        FIELD(camFollow), FIELD(camRotate), FIELD(zoomMode), FIELD(eyeX), FIELD(eyeY), FIELD(eyeZ),
        FIELD(centerX), FIELD(centerY), FIELD(centerZ), FIELD(fovY), FIELD(zoomFov), FIELD(panX),
        FIELD(panY), FIELD(camRadius), FIELD(camAngle)};
}
constexpr int helicopterFields = 15, speed = 4, firstFlag = 6, lastFlag = 16, zoomMode = 17;

// What is wrong with the views' states after a tick, or nothing.
QString stateFault(myUIImpl &window, bool inStep)
{
    const auto main = fieldsOf(window.mainView->state());
    for (myGL *view : viewsOf(window)) {
        const auto fields = fieldsOf(view->state());
        for (int i = 0; i < fields.size(); ++i) {
            const auto [name, value] = fields[i];
            if (!std::isfinite(value)
                || (i >= firstFlag && i <= lastFlag && value != 0 && value != 1)
                || (inStep && i < helicopterFields && value != main[i].second)
                || (i == zoomMode && (value < 0 || value > 2)) || (i == speed && value < 0.1))
                return QString("view '%1': %2 is %3")
                    .arg(view->objectName(), name)
                    .arg(value, 0, 'g', 17);
        }
    }
    return {};
}

// Repaints the views and composes the window as the screen sees it (all
// four in one swap); says what went wrong, if anything.
QString repaintFault(myUIImpl &window)
{
    QSignalSpy swapped(window.backView, &QOpenGLWidget::frameSwapped);
    for (myGL *view : viewsOf(window))
        view->update();
    window.repaint();
    if (swapped.isEmpty() && !swapped.wait(10000))
        return "the window was not composed";
    for (myGL *view : viewsOf(window)) {
        view->makeCurrent();
        if (const GLenum error = glGetError())
            return QString("view '%1': GL error 0x%2").arg(view->objectName()).arg(error, 0, 16);
    }
    return {};
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

public:
    static void initMain() { useLegacyGLFormat(); }

private Q_SLOTS:
    void storm();

private:
    QTemporaryDir m_workDir;
};

void TestSoak::storm()
{
    QVERIFY(QDir::setCurrent(m_workDir.path()));
    QImage ground(64, 64, QImage::Format_RGB32);
    ground.fill(QColor(90, 120, 60));
    QVERIFY(ground.save("ground.bmp", "BMP"));
    const QString seedSetting = qEnvironmentVariable("VUDURE_SOAK_SEED");
    const quint32 seed = seedSetting == "random" ? QRandomGenerator::global()->generate()
        : seedSetting.isEmpty()                  ? defaultSeed
                                                 : seedSetting.toUInt();
    const int events = qEnvironmentVariableIsSet("VUDURE_SOAK_EVENTS")
        ? qEnvironmentVariableIntValue("VUDURE_SOAK_EVENTS")
        : defaultEvents;
    qInfo("seed %u, %d events (replay: VUDURE_SOAK_SEED=%u)", seed, events, seed);
    QRandomGenerator rng(seed);

    // The key codes the table binds, and the rest of the keyboard, found by
    // asking the table; letters come as capitals only, and Escape, which
    // ends the program, comes once at the end.
    QList<int> keys[2]; // unbound, bound
    SceneState scratch;
    SceneState *const all[4] = {&scratch, &scratch, &scratch, &scratch};
    for (int code = Qt::Key_Space; code <= Qt::Key_F12; ++code) {
        if (code == Qt::Key_AsciiTilde + 1)
            code = Qt::Key_Escape + 1;
        if (code < 'a' || code > 'z')
            keys[applyKey(code, scratch, all)] << code;
    }
    QSet<int> sent;

    myUIImpl window;
    ManualTicks ticks(window); // from here on, only the storm ticks
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    double residentBefore = 0;
    for (int i = 0; i < events; ++i) {
        const bool keysOnly = i < events / 2;
        if (!keysOnly && rng.bounded(4) == 0) {
            myGL *view = viewsOf(window)[rng.bounded(4)];
            QTest::mousePress(view, Qt::LeftButton, {}, QPoint(5, 5));
            for (int moves = rng.bounded(6); moves > 0; --moves) { // 0: a plain click
                const QPoint at(rng.bounded(view->width()), rng.bounded(view->height()));
                QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(view, &move);
            }
            QTest::mouseRelease(view, Qt::LeftButton);
        } else {
            const QList<int> &from = keys[rng.bounded(5) != 0];
            const int key = from[rng.bounded(int(from.size()))];
            const Qt::KeyboardModifier modifiers[]
                = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier};
            // Not keyClick: it knows the text of only some keys.
            QTest::sendKeyEvent(QTest::Click, &window, Qt::Key(key),
                key < 0x7f ? QString(QChar(key)) : QString(), modifiers[rng.bounded(4)]);
            sent << key;
        }
        ticks.tickAll();
        QString fault = stateFault(window, keysOnly);
        if (fault.isEmpty() && i % repaintEvery == 0)
            fault = repaintFault(window);
        QVERIFY2(fault.isEmpty(),
            qPrintable(QString("seed %1, event %2: %3").arg(seed).arg(i).arg(fault)));
        if (i == events / 10)
            residentBefore = residentMiB();
    }
    QVERIFY2(events < defaultEvents || sent.contains(QSet<int>(keys[1].begin(), keys[1].end())),
        "the storm missed a bound key");

    const double residentAfter = residentMiB();
    qInfo("resident memory %.1f MiB after warm-up, %.1f MiB at the end", residentBefore,
        residentAfter);
#if !defined(__SANITIZE_ADDRESS__) // ASan's quarantine grows by design
    QVERIFY2(residentBefore > 0 && residentAfter - residentBefore < allowedGrowthMiB,
        qPrintable(QString("seed %1: resident memory grew by %2 MiB")
                       .arg(seed)
                       .arg(residentAfter - residentBefore)));
#endif
    // Escape still ends the program normally.
    QTimer::singleShot(0, &window, [&window] { QTest::keyClick(&window, Qt::Key_Escape); });
    QCOMPARE(execEndedByWindow(), 0);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
