// The camera, motion, zoom, mouse and tick rules, and the pixel scale, without
// a display. Most cases are scenarios: a script run on a fresh state, then the
// fields it must leave. A step is a rule ("startEng"), a rule with its
// argument ("changeCam:1"), a field set ("rotZ=90"), or one of these repeated
// ("objMoveV*10"); "tick" is one tick's motion. An expectation "field=value"
// allows 1e-5, "field==value" asks for the exact value.

#include "pixelscale.h"
#include "scenestate.h"

#include <QtTest>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <variant>

namespace {

using Field = std::variant<float SceneState::*, double SceneState::*, int SceneState::*>;

// clang-format off
#define FIELD(name) {#name, &SceneState::name}
// clang-format on
const QHash<QString, Field> &fields()
{
    static const QHash<QString, Field> table
        = {FIELD(eyeX), FIELD(eyeY), FIELD(eyeZ), FIELD(centerX), FIELD(centerY), FIELD(centerZ),
            FIELD(fovY), FIELD(fovSetting), FIELD(zoomFov), FIELD(zoomMode), FIELD(panX),
            FIELD(panY), FIELD(panZ), FIELD(lookAngleXY), FIELD(lookAngleXZ), FIELD(camChangeCount),
            FIELD(camRadius), FIELD(camAngle), FIELD(viewMode), FIELD(camFollow), FIELD(camRotate),
            FIELD(posX), FIELD(posY), FIELD(posZ), FIELD(rotZ), FIELD(speed), FIELD(engineOn),
            FIELD(goUp), FIELD(goDown), FIELD(goForward), FIELD(goBack), FIELD(turnLeft),
            FIELD(turnRight), FIELD(mouseTurn), FIELD(showLightMarkers)};
    return table;
}

double get(const SceneState &s, const Field &f)
{
    return std::visit([&](auto member) { return double(s.*member); }, f);
}

void set(SceneState &s, const Field &f, double value)
{
    std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(s.*member)>;
            s.*member = T(value);
        },
        f);
}

using Rule = std::function<void(SceneState &, int)>;
// clang-format off
#define RULE(name) {#name, [](SceneState &s, int) { s.name(); }}
#define RULE_WITH_ARGUMENT(name) {#name, [](SceneState &s, int argument) { s.name(argument); }}
// clang-format on
const QHash<QString, Rule> &rules()
{
    static const QHash<QString, Rule> table
        = {RULE_WITH_ARGUMENT(changeCam), RULE_WITH_ARGUMENT(rotateCam), RULE_WITH_ARGUMENT(fov),
            RULE_WITH_ARGUMENT(setZoom), RULE_WITH_ARGUMENT(velocity), RULE(cameraUpdate),
            RULE(setMoveCam), RULE(zoomCam), RULE(panUp), RULE(panDn), RULE(panLt), RULE(panRt),
            RULE(startEng), RULE(objMoveV), RULE(objRotate), RULE(moveLeft), RULE(moveRight),
            RULE(moveForward), RULE(moveBack), RULE(moveUp), RULE(moveDown), RULE(mousePress),
            RULE(mouseMove), {"tick", [](SceneState &s, int) {
                                  s.objMoveV();
                                  s.objRotate();
                                  s.bhawkdown();
                              }}};
    return table;
}

void run(SceneState &s, const QString &script)
{
    for (const QString &step : script.split(' ', Qt::SkipEmptyParts)) {
        const QStringList repeated = step.split('*');
        const int times = repeated.size() > 1 ? repeated[1].toInt() : 1;
        const QString what = repeated[0];
        for (int i = 0; i < times; ++i) {
            if (what.contains('=')) {
                const QStringList f = what.split('=');
                QVERIFY2(fields().contains(f[0]), qPrintable("no field " + f[0]));
                set(s, fields()[f[0]], f[1].toDouble());
                continue;
            }
            const QStringList call = what.split(':');
            QVERIFY2(rules().contains(call[0]), qPrintable("no rule " + call[0]));
            rules()[call[0]](s, call.value(1).toInt());
        }
    }
}

} // namespace

class TestSceneRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scenarios_data();
    void scenarios();
    void readoutsTruncateTowardZero_data();
    void readoutsTruncateTowardZero();
    void tickRateCountsTicksPerChangeOfSecond();
    void pixelScaleIsWholeAndNearestInProportion();
};

void TestSceneRules::scenarios_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *script, const char *expected) {
        QTest::newRow(name) << QString(script) << QString(expected);
    };
    // The default eye (2,2,2) and look-at point (0,0,0) give both angles atan(-1).
    row("a new view follows from the cockpit", "",
        "camFollow==1 viewMode==0 engineOn==0 showLightMarkers==0 fovY==45 zoomFov==45 "
        "speed==0.1 eyeX=0 eyeY=0 eyeZ=0.1 centerX=1 centerY=0 centerZ=0 "
        "lookAngleXY=-0.785398 lookAngleXZ=-0.785398");

    // View modes, their field angles and where they put the camera.
    row("side view remembers 45", "changeCam:1",
        "zoomFov==45 fovY==20 fovSetting==20 camChangeCount==1");
    row("cockpit then side", "changeCam:0 changeCam:1", "zoomFov==10 fovY==20 camChangeCount==1");
    row("second side view copies nothing", "changeCam:2 fov:30 changeCam:2",
        "zoomFov==45 camChangeCount==2");
    row("cockpit resets the count", "changeCam:2 changeCam:0 fov:33 changeCam:2", "zoomFov==33");
    row("above keeps the field angle", "changeCam:3", "zoomFov==45 fovY==45 camChangeCount==1");
    row("unknown mode is stored and places nothing", "changeCam:7",
        "viewMode==7 fovY==45 camChangeCount==0 eyeX=0 eyeZ=0.1 centerX=1");
    row("unknown mode: flying carries the eye", "changeCam:7 startEng moveForward objMoveV",
        "eyeX=0.1 centerX=1");
    row("top: a quarter turn left", "changeCam:1 cameraUpdate",
        "eyeX=0 eyeY=2 eyeZ=1 centerX=0 centerY=0 centerZ=0.2");
    row("front: half a turn", "changeCam:2 cameraUpdate", "eyeX=-2 eyeY=0 eyeZ=1 centerZ=0.2");
    row("top, heading 90", "rotZ=90 changeCam:1 cameraUpdate", "eyeX=-2 eyeY=0 eyeZ=1");
    row("back: above, a little ahead", "changeCam:3 cameraUpdate",
        "eyeX=0.1 eyeY=0 eyeZ=2 centerX=0 centerY=0 centerZ=0");
    row("back, heading 90", "rotZ=90 changeCam:3 cameraUpdate", "eyeX=0 eyeY=0.1 eyeZ=2");

    // rotateCam from eye (0,0,1) and look-at point (1,0,0) to 90 degrees.
    const char *const around = "eyeX=0 eyeY=0 eyeZ=1 centerX=1 centerY=0 centerZ=0 rotateCam:90";
    const QString r = QString(around);
    const auto turned = [&](const char *name, const char *mode, const char *expected) {
        QTest::newRow(name) << QString(mode) + " " + r
                            << QString("camAngle=1.5708 camRadius=1 ") + expected;
    };
    turned("cockpit swings the look-at point", "viewMode=0", "eyeX=0 eyeY=0 centerX=0 centerY=1");
    turned("side view swings the eye a quarter on", "viewMode=1", "eyeX=0 eyeY=0 centerX=1");
    turned("behind swings the eye half a turn on", "viewMode=2", "eyeX=1 eyeY=-1 centerX=1");
    turned("above swings the eye", "viewMode=3", "eyeX=1 eyeY=1 centerX=1 centerY=0");
    turned("unknown mode swings like above", "viewMode=9", "eyeX=1 eyeY=1 centerX=1");
    row("the heading turns the camera only once asked", "rotZ=90 cameraUpdate",
        "centerX=1 centerY=0");
    row("turning asks, in whole degrees", "moveLeft moveLeft rotZ=90.9 cameraUpdate",
        "camRotate==1 centerX=0 centerY=1 camAngle=1.5708");
    row("not following looks at the origin and stays put",
        "setMoveCam eyeX=3 eyeY=4 eyeZ=5 rotateCam:90 cameraUpdate startEng moveForward objMoveV",
        "camFollow==0 camAngle=1.5708 eyeX==3 eyeY==4 centerX==0 centerY==0 centerZ==0 posX=0.1");
    row("following again places the cockpit camera",
        "setMoveCam startEng moveForward objMoveV setMoveCam",
        "camFollow==1 eyeX=0.1 eyeZ=0.1 centerX=1.1");
    // A following camera keeps its offset: ten steps of 0.1 carry it 1 along +X.
    row("following from the cockpit", "startEng moveForward cameraUpdate objMoveV*10 cameraUpdate",
        "posX=1 eyeX=1 eyeY=0 centerX=2 centerY=0");
    row("following beside", "changeCam:1 startEng moveForward objMoveV*10 cameraUpdate",
        "posX=1 eyeX=1 eyeY=2 centerX=1 centerY=0");
    row("following behind", "changeCam:2 startEng moveForward objMoveV*10 cameraUpdate",
        "eyeX=-1 eyeY=0 centerX=1");
    row("following above", "changeCam:3 startEng moveForward objMoveV*10 cameraUpdate",
        "eyeX=1.1 eyeY=0 centerX=1");

    // Zoom, field angle and pan.
    row("same zoom key twice stops", "setZoom:1 setZoom:1", "zoomMode==0");
    row("other zoom key turns around", "setZoom:1 setZoom:2", "zoomMode==2");
    row("narrow twice stops", "setZoom:2 setZoom:2", "zoomMode==0");
    row("zero while off widens", "setZoom:0", "zoomMode==1");
    row("narrowing steps half a degree", "zoomFov=1 setZoom:2 zoomCam", "zoomFov==0.5 fovY==0");
    row("narrowing stops at zero", "zoomFov=1 setZoom:2 zoomCam*4", "zoomFov==0 fovY==0");
    row("widening after a side view starts from 45", "changeCam:1 setZoom:1 zoomCam",
        "fovY==45 zoomFov==45.5");
    row("field angle wraps", "fov:370", "fovY==10 fovSetting==370");
    row("negative field angle keeps its sign", "fov:-370", "fovY==-10 fovSetting==-370");
    row("pan steps add up", "panRt*4 panUp*2 panDn panLt", "panX=0.15 panY=0.05 panZ==0");

    // Flying.
    row("forward needs the engine", "moveForward objMoveV", "posX==0");
    row("then moves by the speed", "moveForward objMoveV startEng objMoveV*2", "posX=0.2");
    row("heading 90", "rotZ=90 startEng moveForward objMoveV", "posX=0 posY=0.1");
    row("heading 180 backwards", "rotZ=180 startEng moveBack objMoveV", "posX=0.1 posY=0");
    row("slowest speed stays", "velocity:0", "speed==0.1");
    row("up up down", "velocity:1*2 velocity:0", "speed==1.1");
    row("any non-zero speeds up", "velocity:-5", "speed==1.1");
    // Adding and taking away 1.0 in binary drifts below the slowest speed.
    row("speed keeps to its steps", "velocity:1*5 velocity:0*7", "speed==0.1");
    row("sinking ends just below the ground", "posZ=0.15 tick*3", "posZ=-0.05");
    row("climbing", "startEng moveUp tick*2", "posZ=0.1");
    row("descending ends just below the ground", "startEng moveDown posZ=0.02 tick*3",
        "posZ=-0.03");
    row("stopping the engine inverts every flag", "startEng startEng",
        "goUp==1 goDown==1 goForward==1 goBack==1 turnLeft==1 turnRight==1");
    row("then every pair cancels", "startEng*3 posZ=1 tick*5", "posX=0 posY=0 posZ=1 rotZ==0");
    row("at the wrap the right turn has the last word", "startEng*3 rotZ=360 objRotate",
        "rotZ==360");
    row("and forward clears both", "startEng*3 moveForward", "goForward==0 goBack==0");
    row("up again stops", "goUp=1 moveUp", "goUp==0 goDown==0");
    row("up ends down", "goDown=1 moveUp", "goUp==1 goDown==0");
    row("back ends forward", "goForward=1 moveBack", "goForward==0 goBack==1");
    row("right ends left and lets the camera turn", "turnLeft=1 moveRight",
        "turnLeft==0 turnRight==1 camRotate==1");
    row("left again stops", "turnLeft=1 turnRight=1 moveLeft", "turnLeft==0 turnRight==0");
    row("left from an odd heading", "rotZ=358 moveLeft objRotate", "rotZ==363");
    row("right on from 360", "rotZ=5 moveRight objRotate*3", "rotZ==355");
    row("a full left turn ends at 360", "moveLeft objRotate*72", "rotZ==360");
    row("and takes 73 ticks", "moveLeft objRotate*73", "rotZ==0");

    // The mouse.
    row("two presses turn nothing", "mousePress*2 mouseMove", "rotZ==0 camRotate==1");
    row("a press turns 1 degree a move, past 360", "rotZ=358 mousePress mouseMove*5",
        "rotZ==363 camRotate==1");
}

void TestSceneRules::scenarios()
{
    QFETCH(QString, script);
    QFETCH(QString, expected);
    SceneState s;
    run(s, script);
    for (const QString &e : expected.split(' ', Qt::SkipEmptyParts)) {
        const bool exact = e.contains("==");
        const QStringList parts = e.split(exact ? "==" : "=");
        QVERIFY2(fields().contains(parts[0]), qPrintable("no field " + parts[0]));
        const double actual = get(s, fields()[parts[0]]), want = parts[1].toDouble();
        QVERIFY2(exact ? actual == want : std::fabs(actual - want) <= 1e-5,
            qPrintable(QString("%1 is %2").arg(parts[0]).arg(actual, 0, 'g', 17)));
    }
}

void TestSceneRules::readoutsTruncateTowardZero_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("shown");
    QTest::newRow("-0.9") << -0.9f << 0;
    QTest::newRow("-1.5") << -1.5f << -1;
    QTest::newRow("359.9") << 359.9f << 359;
    QTest::newRow("365.5") << 365.5f << 365;
    QTest::newRow("beyond int saturates") << 1e30f << INT_MAX;
    QTest::newRow("below int saturates") << -1e30f << INT_MIN;
    QTest::newRow("NaN shows 0") << std::numeric_limits<float>::quiet_NaN() << 0;
}

void TestSceneRules::readoutsTruncateTowardZero()
{
    QFETCH(float, value);
    QFETCH(int, shown);
    SceneState s;
    s.posX = s.posY = s.posZ = s.rotZ = s.zoomFov = value;
    const SceneState::Readouts r = s.readouts();
    QCOMPARE(QList<int>({r.posX, r.posY, r.posZ, r.rotZ, r.zoomFov}), QList<int>(5, shown));
}

void TestSceneRules::tickRateCountsTicksPerChangeOfSecond()
{
    SceneState s;
    // The first tick away from second 0 reports itself; the tick that sees the
    // seconds field change is counted in; only that field is compared.
    QCOMPARE(s.countTick(QTime(10, 0, 7, 100)), std::optional<int>(1));
    QCOMPARE(s.countTick(QTime(10, 0, 7, 300)), std::nullopt);
    QCOMPARE(s.countTick(QTime(10, 0, 7, 900)), std::nullopt);
    QCOMPARE(s.countTick(QTime(10, 0, 8, 10)), std::optional<int>(3));
    QCOMPARE(s.countTick(QTime(11, 5, 8, 0)), std::nullopt);

    SceneState atZero;
    QCOMPARE(atZero.countTick(QTime(10, 1, 0, 0)), std::nullopt);
    QCOMPARE(atZero.countTick(QTime(10, 1, 1, 0)), std::optional<int>(2));
}

// Of all whole numbers from 1 up, the scale is the one nearest the ratio in
// proportion, swept finely and on both sides of every point where it changes.
void TestSceneRules::pixelScaleIsWholeAndNearestInProportion()
{
    const auto off = [](double ratio, int scale) { return std::max(ratio / scale, scale / ratio); };
    QList<double> ratios;
    for (double ratio = 0.5; ratio <= 4.5; ratio += 1.0 / 1024)
        ratios << ratio;
    for (int n = 1; n <= 4; ++n)
        ratios << std::sqrt(n * (n + 1.0)) * (1 - 1e-9) << std::sqrt(n * (n + 1.0)) * (1 + 1e-9);
    for (const double ratio : ratios) {
        for (int other = 1; other <= 6; ++other)
            QVERIFY2(off(ratio, pixelScale(ratio)) <= off(ratio, other),
                qPrintable(
                    QString("%1 gives %2, not %3").arg(ratio).arg(pixelScale(ratio)).arg(other)));
    }
}

QTEST_APPLESS_MAIN(TestSceneRules)
#include "tst_scenerules.moc"
