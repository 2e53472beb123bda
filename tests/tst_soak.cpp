// A seeded storm of keys, mouse presses and drags to the real window, a
// hand-driven tick after each: every view's state stays what the rules alone
// make of the same input (so keys and mouse reach the right views, in any
// order of ticks), finite and well-formed; the readouts show the state a tick
// behind; GL has no errors at every real repaint; memory stays flat (under
// ASan LeakSanitizer watches it). The same storm each run unless
// VUDURE_SOAK_SEED names another seed or "random"; the seed is printed.
// VUDURE_SOAK_EVENTS sets the length.

#include "cpuclock.h"
#include "keybindings.h"
#include "mygl.h"
#include "myuiimpl.h"
#include "windowtesting.h"

#include <QLCDNumber>
#include <QRandomGenerator>
#include <QtTest>
#include <cmath>

namespace {

constexpr int defaultEvents = 20000;
constexpr quint32 defaultSeed = 20261207;
constexpr int repaintEvery = 50; // events between two real repaints
constexpr double allowedGrowthMiB = 20;

// The fields of the state, its flags (only ever 0 or 1) in a row.
#define FIELD(name) std::pair<const char *, double>(#name, s.name)
QList<std::pair<const char *, double>> fieldsOf(const SceneState &s)
{
    return {FIELD(posX), FIELD(posY), FIELD(posZ), FIELD(rotZ), FIELD(speed), FIELD(rotorAngle),
        FIELD(engineOn), FIELD(goUp), FIELD(goDown), FIELD(goForward), FIELD(goBack),
        FIELD(turnLeft), FIELD(turnRight), FIELD(showLightMarkers), FIELD(mouseTurn),
        FIELD(camFollow), FIELD(camRotate), FIELD(zoomMode), FIELD(eyeX), FIELD(eyeY), FIELD(eyeZ),
        FIELD(centerX), FIELD(centerY), FIELD(centerZ), FIELD(fovY), FIELD(zoomFov), FIELD(panX),
        FIELD(panY), FIELD(camRadius), FIELD(camAngle), FIELD(viewMode)};
}
constexpr int speed = 4, firstFlag = 6, lastFlag = 16, zoomMode = 17;

// One tick of the rules, in the order a view runs them: motion, then the camera.
void tick(SceneState &s)
{
    s.advanceRotors();
    s.objMoveV();
    s.objRotate();
    s.bhawkdown();
    s.cameraUpdate();
}

// What is wrong with the views' states after a tick, or nothing: each is what
// the rules alone make of the same keys, mouse events and ticks, with finite
// values, flags of 0 or 1, a known zoom mode and a speed of at least 0.1.
QString stateFault(myUIImpl &window, const SceneState (&rules)[4])
{
    for (int v = 0; v < 4; ++v) {
        const auto fields = fieldsOf(viewsOf(window)[v]->state()), expected = fieldsOf(rules[v]);
        for (int i = 0; i < fields.size(); ++i) {
            const auto [name, value] = fields[i];
            if (!std::isfinite(value) || value != expected[i].second
                || (i >= firstFlag && i <= lastFlag && value != 0 && value != 1)
                || (i == zoomMode && (value < 0 || value > 2)) || (i == speed && value < 0.1))
                return QString::asprintf("view %d: %s is %.17g, the rules make it %.17g", v, name,
                    value, expected[i].second);
        }
    }
    return {};
}

// What is wrong with the readouts after a tick, or nothing: they show the
// main view's state as the tick found it, before its motion.
QString readoutFault(myUIImpl &window, const SceneState &found)
{
    const QList<int> shown {window.LCDposX->intValue(), window.LCDposY->intValue(),
        window.LCDposZ->intValue(), window.LCDRotate->intValue(), window.LCDFov->intValue()};
    const QList<int> expected {truncToInt(found.posX), truncToInt(found.posY),
        truncToInt(found.posZ), truncToInt(found.rotZ), truncToInt(found.zoomFov)};
    QString fault;
    if (shown != expected)
        QDebug(&fault) << "the readouts show" << shown << "for" << expected;
    return fault;
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
    SceneState rules[4]; // what the storm must leave in each view
    SceneState *const allRules[4] = {&rules[0], &rules[1], &rules[2], &rules[3]};
    for (int code = Qt::Key_Space; code <= Qt::Key_F12; ++code) {
        if (code == Qt::Key_AsciiTilde + 1)
            code = Qt::Key_Escape + 1;
        if (code < 'a' || code > 'z')
            keys[applyKey(code, rules[0], allRules)] << code;
    }
    QSet<int> sent;

    myUIImpl window;
    ManualTicks ticks(window); // from here on, only the storm ticks
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(repaintFault(window).isEmpty()); // every view set up, the toolkit's resize done
    for (int v = 0; v < 4; ++v)
        rules[v] = viewsOf(window)[v]->state();
    double residentBefore = 0;
    for (int i = 0; i < events; ++i) {
        if (i >= events / 2 && rng.bounded(4) == 0) {
            const int v = rng.bounded(4);
            myGL *view = viewsOf(window)[v];
            QTest::mousePress(view, Qt::LeftButton, {}, QPoint(5, 5));
            rules[v].mousePress();
            for (int moves = rng.bounded(6); moves > 0; --moves) { // 0: a plain click
                const QPoint at(rng.bounded(view->width()), rng.bounded(view->height()));
                QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(view, &move);
                rules[v].mouseMove();
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
            applyKey(key, rules[0], allRules);
            sent << key;
        }
        const SceneState found = window.mainView->state();
        ticks.tickAll();
        for (SceneState &view : rules)
            tick(view);
        QString fault = stateFault(window, rules);
        if (fault.isEmpty())
            fault = readoutFault(window, found);
        if (fault.isEmpty() && i % repaintEvery == 0)
            fault = repaintFault(window);
        QVERIFY2(fault.isEmpty(),
            qPrintable(QString("seed %1, event %2: %3").arg(seed).arg(i).arg(fault)));
        if (i == events / 10)
            residentBefore = residentMiB();
    }
    QVERIFY2(events < defaultEvents || sent.contains(QSet<int>(keys[1].begin(), keys[1].end())),
        "the storm missed a bound key");
    QVERIFY(events < defaultEvents || window.LCDFps->intValue() > 0); // seconds went by

    const double residentAfter = residentMiB();
    qInfo("resident memory %.1f MiB after warm-up, %.1f MiB at the end", residentBefore,
        residentAfter);
#if !defined(__SANITIZE_ADDRESS__) // ASan's quarantine grows by design
    QVERIFY2(residentBefore > 0 && residentAfter - residentBefore < allowedGrowthMiB,
        qPrintable(QString::asprintf(
            "seed %u: resident memory grew by %g MiB", seed, residentAfter - residentBefore)));
#endif
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
