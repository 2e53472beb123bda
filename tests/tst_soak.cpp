// A long seeded storm of keys, mouse presses and drags against the real
// window, with one hand-driven tick between events. After every tick the
// state is finite and well-formed and the readouts show the main view; while
// only keys arrive, the four helicopters stay in step. After every real
// repaint GL reports no error. At the end memory has stayed flat and Escape
// still ends the loop with 0.
//
// VUDURE_SOAK_SEED replays a storm; VUDURE_SOAK_EVENTS sets its length.

#include "keybindings.h"
#include "mygl.h"
#include "myuiimpl.h"
#include "windowtesting.h"

#include <QElapsedTimer>
#include <QLCDNumber>
#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <unistd.h>

namespace {

constexpr int defaultEvents = 20000;
constexpr int repaintEvery = 50; // events between two real repaints
constexpr qint64 allowedGrowth = 20 * 1024 * 1024;

qint64 residentBytes()
{
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

// The main view has no name of its own.
QString viewName(const myGL *view)
{
    return view->objectName().isEmpty() ? QStringLiteral("main") : view->objectName();
}

quint32 envOr(const char *name, quint32 fallback)
{
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// Every key code the key table binds, and the rest of the keyboard, found by
// asking the table itself about each code.
struct Keyboard
{
    QList<int> bound, unbound;
};

Keyboard probeKeyboard()
{
    Keyboard keys;
    SceneState scratch;
    SceneState *const all[4] = {&scratch, &scratch, &scratch, &scratch};
    QList<int> codes;
    for (int code = Qt::Key_Space; code <= Qt::Key_AsciiTilde; ++code) {
        if (code < 'a' || code > 'z') // letters come as capitals only
            codes << code;
    }
    for (int code = Qt::Key_Escape; code <= Qt::Key_F12; ++code)
        codes << code;
    for (int code : codes) {
        if (code == Qt::Key_Escape)
            continue; // ends the program: tried once, at the end
        (applyKey(code, scratch, all) ? keys.bound : keys.unbound) << code;
    }
    return keys;
}

struct Field
{
    const char *name;
    double value;
};

QList<Field> numericFields(const SceneState &s)
{
    return {{"eyeX", s.eyeX}, {"eyeY", s.eyeY}, {"eyeZ", s.eyeZ}, {"centerX", s.centerX},
        {"centerY", s.centerY}, {"centerZ", s.centerZ}, {"fovY", s.fovY},
        {"fovSetting", s.fovSetting}, {"zoomFov", s.zoomFov}, {"zNear", s.zNear}, {"panX", s.panX},
        {"panY", s.panY}, {"panZ", s.panZ}, {"lookAngleXY", s.lookAngleXY},
        {"lookAngleXZ", s.lookAngleXZ}, {"camChangeCount", s.camChangeCount},
        {"camRadius", s.camRadius}, {"camAngle", s.camAngle}, {"posX", s.posX}, {"posY", s.posY},
        {"posZ", s.posZ}, {"rotX", s.rotX}, {"rotY", s.rotY}, {"rotZ", s.rotZ}, {"speed", s.speed},
        {"rotorAngle", s.rotorAngle}, {"tailRotorAngle", s.tailRotorAngle},
        {"mouseTurn", s.mouseTurn}};
}

QList<Field> flagFields(const SceneState &s)
{
    return {{"engineOn", double(s.engineOn)}, {"goUp", double(s.goUp)},
        {"goDown", double(s.goDown)}, {"goForward", double(s.goForward)},
        {"goBack", double(s.goBack)}, {"turnLeft", double(s.turnLeft)},
        {"turnRight", double(s.turnRight)}, {"camFollow", double(s.camFollow)},
        {"camRotate", double(s.camRotate)}, {"showLightMarkers", double(s.showLightMarkers)},
        {"mouseTurn", double(s.mouseTurn)}};
}

// What must not differ between the four helicopters while only keys arrive.
QList<Field> helicopterFields(const SceneState &s)
{
    QList<Field> fields = {{"posX", s.posX}, {"posY", s.posY}, {"posZ", s.posZ}, {"rotX", s.rotX},
        {"rotY", s.rotY}, {"rotZ", s.rotZ}, {"speed", s.speed}};
    for (const Field &flag : flagFields(s)) {
        if (qstrcmp(flag.name, "camFollow") && qstrcmp(flag.name, "camRotate"))
            fields << flag;
    }
    return fields;
}

// An empty string when the state is sound, else what is wrong with it.
QString stateFault(const SceneState &s)
{
    for (const Field &f : numericFields(s)) {
        if (!std::isfinite(f.value))
            return QString("%1 is %2").arg(f.name).arg(f.value);
    }
    for (const Field &f : flagFields(s)) {
        if (f.value != 0.0 && f.value != 1.0)
            return QString("flag %1 is %2").arg(f.name).arg(f.value);
    }
    if (s.zoomMode < 0 || s.zoomMode > 2)
        return QString("zoomMode is %1").arg(s.zoomMode);
    if (s.speed < 0.1)
        return QString("speed is %1").arg(s.speed, 0, 'g', 17);
    return {};
}

struct Readout
{
    QLCDNumber *lcd;
    double value; // the state it must show, before truncation
};

class Storm
{
public:
    Storm(myUIImpl &window, quint32 seed)
        : m_window(window)
        , m_ticks(window)
        , m_rng(seed)
        , m_keys(probeKeyboard())
    {
    }

    // One random event; `withMouse` adds presses and drags to the keys.
    QString send(bool withMouse)
    {
        if (withMouse && m_rng.bounded(4) == 0)
            return mouse();
        const int key = m_rng.bounded(5) == 0 ? pick(m_keys.unbound) : pick(m_keys.bound);
        static const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::NoModifier,
            Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier};
        const Qt::KeyboardModifiers modifier = modifiers[m_rng.bounded(5)];
        // Not keyClick: it knows the text of only some keys.
        const QString text = key < 0x7f ? QString(QChar(key)) : QString();
        QTest::sendKeyEvent(QTest::Click, &m_window, Qt::Key(key), text, modifier);
        m_sent.insert(key);
        return QString("key 0x%1 modifiers 0x%2").arg(key, 0, 16).arg(int(modifier), 0, 16);
    }

    // Runs one tick of every view and says what went wrong, if anything.
    QString tickAndCheck(bool inStep, int *readoutsChecked)
    {
        const SceneState &main = m_window.mainView->state();
        // The readouts report the state as it was before the tick's motion.
        const QList<Readout> readouts = {{m_window.LCDposX, main.posX},
            {m_window.LCDposY, main.posY}, {m_window.LCDposZ, main.posZ},
            {m_window.LCDRotate, main.rotZ}, {m_window.LCDFov, main.zoomFov}};
        m_ticks.tickAll();

        for (const Readout &r : readouts) {
            const double shown = std::trunc(r.value);
            // A value with more digits than the readout is not shown as a number.
            if (std::fabs(shown) > 1e9
                || QString::number(qint64(shown)).size() > r.lcd->digitCount())
                continue;
            ++*readoutsChecked;
            if (r.lcd->intValue() != shown) {
                return QString("%1 shows %2, state %3")
                    .arg(r.lcd->objectName())
                    .arg(r.lcd->intValue())
                    .arg(r.value, 0, 'g', 10);
            }
        }
        for (myGL *view : viewsOf(m_window)) {
            const QString fault = stateFault(view->state());
            if (!fault.isEmpty())
                return QString("view '%1': %2").arg(viewName(view), fault);
        }
        if (inStep) {
            const QList<Field> reference = helicopterFields(main);
            for (myGL *view : viewsOf(m_window)) {
                const QList<Field> fields = helicopterFields(view->state());
                for (int i = 0; i < fields.size(); ++i) {
                    if (fields[i].value != reference[i].value) {
                        return QString("view '%1' %2 is %3, main view's %4")
                            .arg(viewName(view), fields[i].name)
                            .arg(fields[i].value, 0, 'g', 10)
                            .arg(reference[i].value, 0, 'g', 10);
                    }
                }
            }
        }
        return {};
    }

    QList<int> unsentBoundKeys() const
    {
        QList<int> missing;
        for (int key : m_keys.bound) {
            if (!m_sent.contains(key))
                missing << key;
        }
        return missing;
    }

private:
    int pick(const QList<int> &from) { return from[m_rng.bounded(int(from.size()))]; }

    QString mouse()
    {
        const QList<myGL *> views = viewsOf(m_window);
        myGL *view = views[m_rng.bounded(4)];
        const auto anywhere
            = [&] { return QPoint(m_rng.bounded(view->width()), m_rng.bounded(view->height())); };
        QPoint at = anywhere();
        QTest::mousePress(view, Qt::LeftButton, {}, at);
        const int moves = m_rng.bounded(6); // 0: a plain click
        for (int i = 0; i < moves; ++i) {
            at = anywhere();
            QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton,
                Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view, &move);
        }
        QTest::mouseRelease(view, Qt::LeftButton, {}, at);
        return QString("mouse in view '%1', %2 moves").arg(viewName(view)).arg(moves);
    }

    myUIImpl &m_window;
    ManualTicks m_ticks;
    QRandomGenerator m_rng;
    Keyboard m_keys;
    QSet<int> m_sent;
};

// Repaints every view and composes the window, as the screen sees it; says
// which view was not composed or reports a GL error afterwards, if any.
QString repaintAndCheck(myUIImpl &window)
{
    const QList<myGL *> views = viewsOf(window);
    std::vector<std::unique_ptr<QSignalSpy>> swaps;
    for (myGL *view : views) {
        swaps.push_back(std::make_unique<QSignalSpy>(view, &QOpenGLWidget::frameSwapped));
        view->update();
    }
    window.repaint();
    // Usually composed by now; a flush the platform still throttles follows soon.
    const bool allComposed = QTest::qWaitFor(
        [&] {
            return std::all_of(
                swaps.begin(), swaps.end(), [](auto &spy) { return !spy->isEmpty(); });
        },
        10000);
    for (int i = 0; i < views.size(); ++i) {
        if (!allComposed && swaps[i]->isEmpty())
            return QString("view '%1' was not composed").arg(viewName(views[i]));
        views[i]->makeCurrent();
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR)
            return QString("view '%1': GL error 0x%2").arg(viewName(views[i])).arg(error, 0, 16);
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
    void initTestCase();
    void storm();

private:
    QTemporaryDir m_workDir;
};

void TestSoak::initTestCase()
{
    QVERIFY(m_workDir.isValid());
    QVERIFY(QDir::setCurrent(m_workDir.path()));
    QImage ground(64, 64, QImage::Format_RGB32);
    ground.fill(QColor(90, 120, 60));
    QVERIFY(ground.save("ground.bmp", "BMP"));
}

void TestSoak::storm()
{
    const quint32 seed = envOr("VUDURE_SOAK_SEED", QRandomGenerator::global()->generate());
    const int events = int(envOr("VUDURE_SOAK_EVENTS", defaultEvents));
    const int warmUp = events / 10;
    qInfo("seed %u, %d events (replay: VUDURE_SOAK_SEED=%u)", seed, events, seed);

    myUIImpl window;
    Storm storm(window, seed); // from here on, only the storm ticks
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QElapsedTimer clock;
    clock.start();
    qint64 residentBefore = 0;
    int readoutsChecked = 0, repaints = 0;
    for (int i = 0; i < events; ++i) {
        const bool keysOnly = i < events / 2;
        const QString event = storm.send(!keysOnly);
        const auto where = [&](const QString &fault) {
            return QString("seed %1, event %2 (%3): %4").arg(seed).arg(i).arg(event, fault);
        };
        const QString fault = storm.tickAndCheck(keysOnly, &readoutsChecked);
        QVERIFY2(fault.isEmpty(), qPrintable(where(fault)));
        if (i % repaintEvery == 0) {
            const QString glFault = repaintAndCheck(window);
            QVERIFY2(glFault.isEmpty(), qPrintable(where(glFault)));
            ++repaints;
        }
        if (i == warmUp)
            residentBefore = residentBytes();
    }
    QVERIFY2(storm.unsentBoundKeys().isEmpty() || events < defaultEvents,
        "the storm missed a bound key");

    const qint64 residentAfter = residentBytes();
    qInfo("%d events, %d repaints, %d readout values compared, %lld ms; "
          "resident memory %.1f MB after warm-up, %.1f MB at the end",
        events, repaints, readoutsChecked, clock.elapsed(), residentBefore / 1048576.0,
        residentAfter / 1048576.0);
    QVERIFY(residentBefore > 0);
    QVERIFY2(residentAfter - residentBefore < allowedGrowth,
        qPrintable(QString("seed %1: resident memory grew by %2 bytes")
                       .arg(seed)
                       .arg(residentAfter - residentBefore)));

    // Escape still ends the program normally.
    QTimer::singleShot(0, &window, [&window] { QTest::keyClick(&window, Qt::Key_Escape); });
    QCOMPARE(execEndedByWindow(), 0);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
