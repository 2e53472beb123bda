// The camera, motion, zoom, mouse and tick rules, without a display.

#include "scenestate.h"

#include <QtTest>
#include <climits>
#include <cmath>
#include <limits>

namespace {
constexpr float eps = 1e-5f;

bool near(double a, double b, double tolerance = eps) { return std::fabs(a - b) <= tolerance; }

// A state with the engine running, ready to fly.
SceneState running()
{
    SceneState s;
    s.startEng();
    return s;
}
} // namespace

class TestSceneRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshViewFollowsFromTheCockpit();

    void changeCam_data();
    void changeCam();
    void auxiliaryModesPlaceTheEye_data();
    void auxiliaryModesPlaceTheEye();
    void unknownModeIsStoredAndPlacesNothing();
    void rotateCam_data();
    void rotateCam();
    void turningHelicopterTurnsCameraOnlyWhenAsked();
    void followingOffPinsLookAtToOrigin();

    void setZoom_data();
    void setZoom();
    void narrowingStopsAtZero();
    void widenAfterSideViewStartsFromRememberedAngle();
    void fov_data();
    void fov();
    void panStepsAccumulate();

    void forwardNeedsEngine();
    void forwardFollowsHeading_data();
    void forwardFollowsHeading();
    void followingCameraKeepsItsOffset_data();
    void followingCameraKeepsItsOffset();
    void velocity_data();
    void velocity();
    void speedKeepsToItsSteps_data();
    void speedKeepsToItsSteps();
    void heightCanEndJustBelowGround_data();
    void heightCanEndJustBelowGround();
    void stoppingEngineInvertsFlags();
    void flagPairs_data();
    void flagPairs();
    void turning_data();
    void turning();
    void fullLeftTurnTakes73Ticks();

    void mouseDragTurnsWhileSwitchedOn();
    void countTickReportsOnSecondChange();
    void readoutsTruncateTowardZero_data();
    void readoutsTruncateTowardZero();
    void rotorsStepAndLookTheSameModulo360();
};

void TestSceneRules::freshViewFollowsFromTheCockpit()
{
    const SceneState s;
    QCOMPARE(s.camFollow, 1);
    QCOMPARE(s.viewMode, 0);
    QCOMPARE(s.engineOn, 0);
    QCOMPARE(s.showLightMarkers, 0);
    QCOMPARE(s.fovY, 45.0f);
    QCOMPARE(s.zoomFov, 45.0f);
    QCOMPARE(s.speed, 0.1);
    QVERIFY(near(s.eyeX, 0) && near(s.eyeY, 0) && near(s.eyeZ, 0.1));
    QVERIFY(near(s.centerX, 1) && near(s.centerY, 0) && near(s.centerZ, 0));
    // setAngle ran on the default eye (2,2,2) and look-at point (0,0,0).
    QVERIFY(near(s.lookAngleXY, std::atan(-1.0)));
    QVERIFY(near(s.lookAngleXZ, std::atan(-1.0)));
}

// Sequences of changeCam calls (with an optional fov() in between, written
// as a negative number -f), and what they leave.
void TestSceneRules::changeCam_data()
{
    QTest::addColumn<QList<int>>("calls");
    QTest::addColumn<float>("zoomFov");
    QTest::addColumn<float>("fovY");
    QTest::addColumn<float>("fovSetting");
    QTest::addColumn<float>("camChangeCount");

    QTest::newRow("side view remembers 45") << QList<int> {1} << 45.f << 20.f << 20.f << 1.f;
    QTest::newRow("cockpit then side") << QList<int> {0, 1} << 10.f << 20.f << 20.f << 1.f;
    QTest::newRow("second side view copies nothing")
        << QList<int> {2, -30, 2} << 45.f << 20.f << 20.f << 2.f;
    QTest::newRow("cockpit resets the count")
        << QList<int> {2, 0, -33, 2} << 33.f << 20.f << 20.f << 1.f;
    QTest::newRow("above keeps the field angle") << QList<int> {3} << 45.f << 45.f << 45.f << 1.f;
    QTest::newRow("unknown mode changes no angle") << QList<int> {7} << 45.f << 45.f << 45.f << 0.f;
}

void TestSceneRules::changeCam()
{
    QFETCH(QList<int>, calls);
    SceneState s;
    for (int call : calls) {
        if (call < 0)
            s.fov(-call);
        else
            s.changeCam(call);
    }
    QTEST(s.zoomFov, "zoomFov");
    QTEST(s.fovY, "fovY");
    QTEST(s.fovSetting, "fovSetting");
    QTEST(s.camChangeCount, "camChangeCount");
}

void TestSceneRules::auxiliaryModesPlaceTheEye_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<float>("heading");
    QTest::addColumn<QVector<double>>("eye");
    QTest::addColumn<QVector<double>>("center");

    QTest::newRow("top: a quarter turn left")
        << 1 << 0.f << QVector<double> {0, 2, 1} << QVector<double> {0, 0, 0.2};
    QTest::newRow("front: half a turn")
        << 2 << 0.f << QVector<double> {-2, 0, 1} << QVector<double> {0, 0, 0.2};
    QTest::newRow("top, heading 90")
        << 1 << 90.f << QVector<double> {-2, 0, 1} << QVector<double> {0, 0, 0.2};
    QTest::newRow("back: above, a little ahead")
        << 3 << 0.f << QVector<double> {0.1, 0, 2} << QVector<double> {0, 0, 0};
    QTest::newRow("back, heading 90")
        << 3 << 90.f << QVector<double> {0, 0.1, 2} << QVector<double> {0, 0, 0};
}

void TestSceneRules::auxiliaryModesPlaceTheEye()
{
    QFETCH(int, mode);
    QFETCH(float, heading);
    QFETCH(QVector<double>, eye);
    QFETCH(QVector<double>, center);
    SceneState s;
    s.rotZ = heading;
    s.changeCam(mode);
    s.cameraUpdate();
    QVERIFY2(near(s.eyeX, eye[0]) && near(s.eyeY, eye[1]) && near(s.eyeZ, eye[2]),
        qPrintable(QString("eye %1 %2 %3").arg(s.eyeX).arg(s.eyeY).arg(s.eyeZ)));
    QVERIFY2(near(s.centerX, center[0]) && near(s.centerY, center[1]) && near(s.centerZ, center[2]),
        qPrintable(QString("center %1 %2 %3").arg(s.centerX).arg(s.centerY).arg(s.centerZ)));
}

void TestSceneRules::unknownModeIsStoredAndPlacesNothing()
{
    SceneState s;
    const SceneState before = s;
    s.changeCam(7);
    QCOMPARE(s.viewMode, 7);
    QCOMPARE(s.eyeX, before.eyeX);
    QCOMPARE(s.eyeZ, before.eyeZ);
    QCOMPARE(s.centerX, before.centerX);
    // Moving forward carries the eye, as in the orbiting modes.
    s.startEng();
    s.moveForward();
    s.objMoveV();
    QVERIFY(near(s.eyeX, before.eyeX + 0.1));
    QCOMPARE(s.centerX, before.centerX);
}

void TestSceneRules::rotateCam_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QVector<double>>("eyeAfter");
    QTest::addColumn<QVector<double>>("centerAfter");

    // Start: eye (0,0,1), look-at (1,0,0), following; turn to 90 degrees.
    QTest::newRow("cockpit swings the look-at point")
        << 0 << QVector<double> {0, 0, 1} << QVector<double> {0, 1, 0};
    QTest::newRow("side view swings the eye, a quarter turn on")
        << 1 << QVector<double> {0, 0, 1} << QVector<double> {1, 0, 0};
    QTest::newRow("behind swings the eye, half a turn on")
        << 2 << QVector<double> {1, -1, 1} << QVector<double> {1, 0, 0};
    QTest::newRow("above swings the eye")
        << 3 << QVector<double> {1, 1, 1} << QVector<double> {1, 0, 0};
    QTest::newRow("unknown mode acts like above")
        << 9 << QVector<double> {1, 1, 1} << QVector<double> {1, 0, 0};
}

void TestSceneRules::rotateCam()
{
    QFETCH(int, mode);
    QFETCH(QVector<double>, eyeAfter);
    QFETCH(QVector<double>, centerAfter);
    SceneState s;
    s.viewMode = mode;
    s.eyeX = 0, s.eyeY = 0, s.eyeZ = 1;
    s.centerX = 1, s.centerY = 0, s.centerZ = 0;
    s.rotateCam(90);
    QVERIFY(near(s.camAngle, 1.570796325));
    QVERIFY(near(s.camRadius, 1.0));
    QVERIFY2(near(s.eyeX, eyeAfter[0]) && near(s.eyeY, eyeAfter[1]) && near(s.eyeZ, eyeAfter[2]),
        qPrintable(QString("eye %1 %2 %3").arg(s.eyeX).arg(s.eyeY).arg(s.eyeZ)));
    QVERIFY2(near(s.centerX, centerAfter[0]) && near(s.centerY, centerAfter[1])
            && near(s.centerZ, centerAfter[2]),
        qPrintable(QString("center %1 %2 %3").arg(s.centerX).arg(s.centerY).arg(s.centerZ)));
}

void TestSceneRules::turningHelicopterTurnsCameraOnlyWhenAsked()
{
    SceneState s;
    s.rotZ = 90.0f;
    s.cameraUpdate();
    QVERIFY2(near(s.centerX, 1) && near(s.centerY, 0), "no turn before camRotate is set");

    s.moveLeft(); // sets camRotate (and starts a turn, which needs no engine)
    s.moveLeft(); // stop turning again
    QCOMPARE(s.camRotate, 1);
    s.rotZ = 90.9f; // whole degrees only
    s.cameraUpdate();
    // Eye at (0,0,1); look-at swung to 90 degrees at the measured radius 1.
    QVERIFY(near(s.centerX, 0) && near(s.centerY, 1));
    QVERIFY(near(s.camAngle, 90 * SceneState::degToRad));
}

void TestSceneRules::followingOffPinsLookAtToOrigin()
{
    SceneState s;
    s.setMoveCam(); // off
    QCOMPARE(s.camFollow, 0);
    s.eyeX = 3, s.eyeY = 4, s.eyeZ = 5;
    s.rotateCam(90);
    QVERIFY(near(s.camAngle, 1.5708, 1e-4));
    QCOMPARE(s.eyeX, 3.0f);
    s.cameraUpdate();
    QCOMPARE(s.centerX, 0.0f);
    QCOMPARE(s.centerY, 0.0f);
    QCOMPARE(s.centerZ, 0.0f);
    QCOMPARE(s.eyeX, 3.0f);
    // Flying does not carry a camera that doesn't follow.
    s.startEng();
    s.moveForward();
    s.objMoveV();
    QCOMPARE(s.eyeX, 3.0f);

    s.setMoveCam(); // on again: placed for the cockpit
    QVERIFY(near(s.eyeX, s.posX) && near(s.eyeZ, s.posZ + 0.1));
    QVERIFY(near(s.centerX, s.posX + 1));
}

void TestSceneRules::setZoom_data()
{
    QTest::addColumn<QList<int>>("calls");
    QTest::addColumn<int>("zoomMode");
    QTest::newRow("same key twice stops") << QList<int> {1, 1} << 0;
    QTest::newRow("other key turns around") << QList<int> {1, 2} << 2;
    QTest::newRow("narrow twice stops") << QList<int> {2, 2} << 0;
    QTest::newRow("zero while off widens") << QList<int> {0} << 1;
}

void TestSceneRules::setZoom()
{
    QFETCH(QList<int>, calls);
    SceneState s;
    for (int mode : calls)
        s.setZoom(mode);
    QTEST(s.zoomMode, "zoomMode");
}

void TestSceneRules::narrowingStopsAtZero()
{
    SceneState s;
    s.zoomFov = 1.0f;
    s.setZoom(2);
    const float expected[] = {0.5f, 0.0f, 0.0f, 0.0f};
    for (float zoom : expected) {
        s.zoomCam();
        QCOMPARE(s.zoomFov, zoom);
        QCOMPARE(s.fovY, 0.0f);
    }
}

void TestSceneRules::widenAfterSideViewStartsFromRememberedAngle()
{
    SceneState s;
    s.changeCam(1);
    QCOMPARE(s.fovY, 20.0f);
    s.setZoom(1);
    s.zoomCam();
    QCOMPARE(s.zoomFov, 45.5f);
    QCOMPARE(s.fovY, 45.0f);
    s.zoomCam();
    QCOMPARE(s.fovY, 46.0f);
}

void TestSceneRules::fov_data()
{
    QTest::addColumn<int>("degrees");
    QTest::addColumn<float>("fovY");
    QTest::newRow("in range") << 30 << 30.f;
    QTest::newRow("wraps") << 370 << 10.f;
    QTest::newRow("wraps 365") << 365 << 5.f;
    QTest::newRow("negative keeps its sign") << -30 << -30.f;
    QTest::newRow("negative wraps keeping its sign") << -370 << -10.f;
}

void TestSceneRules::fov()
{
    QFETCH(int, degrees);
    SceneState s;
    s.fov(degrees);
    QTEST(s.fovY, "fovY");
    QCOMPARE(s.fovSetting, float(degrees));
}

void TestSceneRules::panStepsAccumulate()
{
    SceneState s;
    for (int i = 0; i < 4; ++i)
        s.panRt();
    s.panUp();
    s.panUp();
    s.panDn();
    s.panLt();
    QVERIFY(near(s.panX, 0.15));
    QVERIFY(near(s.panY, 0.05));
    QCOMPARE(s.panZ, 0.0f);
}

void TestSceneRules::forwardNeedsEngine()
{
    SceneState s;
    s.moveForward();
    s.objMoveV();
    QCOMPARE(s.posX, 0.0f);
    s.startEng();
    s.objMoveV();
    s.objMoveV();
    QVERIFY(near(s.posX, 0.2));
}

void TestSceneRules::forwardFollowsHeading_data()
{
    QTest::addColumn<float>("heading");
    QTest::addColumn<bool>("back");
    QTest::addColumn<double>("dx");
    QTest::addColumn<double>("dy");
    QTest::newRow("heading 0") << 0.f << false << 0.1 << 0.0;
    QTest::newRow("heading 90") << 90.f << false << 0.0 << 0.1;
    QTest::newRow("heading 180 back") << 180.f << true << 0.1 << 0.0;
    QTest::newRow("heading 45") << 45.f << false << 0.0707107 << 0.0707107;
}

void TestSceneRules::forwardFollowsHeading()
{
    QFETCH(float, heading);
    QFETCH(bool, back);
    QFETCH(double, dx);
    QFETCH(double, dy);
    SceneState s = running();
    s.rotZ = heading;
    back ? s.moveBack() : s.moveForward();
    s.objMoveV();
    QVERIFY2(near(s.posX, dx) && near(s.posY, dy),
        qPrintable(QString("moved to %1 %2").arg(s.posX).arg(s.posY)));
}

void TestSceneRules::followingCameraKeepsItsOffset_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("cockpit") << 0;
    QTest::newRow("side") << 1;
    QTest::newRow("behind") << 2;
    QTest::newRow("above") << 3;
}

void TestSceneRules::followingCameraKeepsItsOffset()
{
    QFETCH(int, mode);
    SceneState s = running();
    s.changeCam(mode);
    s.cameraUpdate();
    const double offsetX = s.eyeX - s.centerX, offsetY = s.eyeY - s.centerY;
    s.moveForward();
    for (int i = 0; i < 10; ++i) {
        s.objMoveV();
        s.cameraUpdate();
    }
    QVERIFY(near(s.posX, 1.0, 1e-4));
    QVERIFY2(near(s.eyeX - s.centerX, offsetX, 1e-4) && near(s.eyeY - s.centerY, offsetY, 1e-4),
        "the camera keeps its offset while following");
}

void TestSceneRules::velocity_data()
{
    QTest::addColumn<QList<int>>("calls");
    QTest::addColumn<double>("speed");
    QTest::newRow("slowest stays") << QList<int> {0} << 0.1;
    QTest::newRow("up up down") << QList<int> {1, 1, 0} << 1.1;
    QTest::newRow("down stops at 0.1") << QList<int> {1, 0, 0} << 0.1;
    QTest::newRow("any non-zero speeds up") << QList<int> {-5} << 1.1;
}

void TestSceneRules::velocity()
{
    QFETCH(QList<int>, calls);
    QFETCH(double, speed);
    SceneState s;
    for (int faster : calls)
        s.velocity(faster);
    QVERIFY(near(s.speed, speed, 1e-12));
}

void TestSceneRules::speedKeepsToItsSteps_data()
{
    QTest::addColumn<int>("steps");
    for (int steps : {1, 5, 16, 100})
        QTest::addRow("%d up, as many down", steps) << steps;
}

void TestSceneRules::speedKeepsToItsSteps()
{
    // Adding and taking away 1.0 in binary drifts: after 5 steps up and 5
    // down the sum would be 0.09999999999999964, below the slowest speed.
    QFETCH(int, steps);
    SceneState s;
    for (int i = 0; i < steps; ++i)
        s.velocity(1);
    QCOMPARE(s.speed - steps, 0.1);
    for (int i = 0; i < steps + 2; ++i)
        s.velocity(0);
    QVERIFY2(s.speed == 0.1, qPrintable(QString::number(s.speed, 'g', 17)));
}

void TestSceneRules::heightCanEndJustBelowGround_data()
{
    QTest::addColumn<bool>("engine");
    QTest::addColumn<float>("start");
    QTest::addColumn<QList<double>>("heights");
    QTest::newRow("sinking with the engine off")
        << false << 0.15f << QList<double> {0.05, -0.05, -0.05};
    QTest::newRow("descending with the engine on")
        << true << 0.02f << QList<double> {-0.03, -0.03, -0.03};
}

void TestSceneRules::heightCanEndJustBelowGround()
{
    QFETCH(bool, engine);
    QFETCH(float, start);
    QFETCH(QList<double>, heights);
    SceneState s;
    if (engine) {
        s.startEng();
        s.moveDown();
    }
    s.posZ = start;
    for (double expected : heights) {
        s.objMoveV();
        s.objRotate();
        s.bhawkdown();
        QVERIFY2(near(s.posZ, expected), qPrintable(QString::number(s.posZ)));
    }
}

void TestSceneRules::stoppingEngineInvertsFlags()
{
    SceneState s;
    s.startEng();
    s.startEng();
    QCOMPARE(s.goUp + s.goDown + s.goForward + s.goBack + s.turnLeft + s.turnRight, 6);

    // Engine on again: every pair cancels, the helicopter hovers.
    s.startEng();
    s.posZ = 1.0f;
    for (int i = 0; i < 5; ++i) {
        s.objMoveV();
        s.objRotate();
        s.bhawkdown();
    }
    QVERIFY(near(s.posX, 0) && near(s.posY, 0) && near(s.posZ, 1));
    QCOMPARE(s.rotZ, 0.0f);
    s.rotZ = 360.0f; // at the wrap the right step has the last word
    s.objRotate();
    QCOMPARE(s.rotZ, 360.0f);

    // Forward now clears both instead of starting.
    s.moveForward();
    QCOMPARE(s.goForward, 0);
    QCOMPARE(s.goBack, 0);
}

void TestSceneRules::flagPairs_data()
{
    QTest::addColumn<int>("up");
    QTest::addColumn<int>("down");
    QTest::addColumn<bool>("pressUp");
    QTest::addColumn<int>("upAfter");
    QTest::addColumn<int>("downAfter");
    QTest::newRow("00 up") << 0 << 0 << true << 1 << 0;
    QTest::newRow("10 up") << 1 << 0 << true << 0 << 0;
    QTest::newRow("01 up") << 0 << 1 << true << 1 << 0;
    QTest::newRow("11 up") << 1 << 1 << true << 0 << 0;
    QTest::newRow("00 down") << 0 << 0 << false << 0 << 1;
    QTest::newRow("10 down") << 1 << 0 << false << 0 << 1;
    QTest::newRow("01 down") << 0 << 1 << false << 0 << 0;
    QTest::newRow("11 down") << 1 << 1 << false << 0 << 0;
}

void TestSceneRules::flagPairs()
{
    QFETCH(int, up);
    QFETCH(int, down);
    QFETCH(bool, pressUp);
    QFETCH(int, upAfter);
    QFETCH(int, downAfter);

    // The same table holds for all three pairs.
    SceneState s;
    s.goUp = s.goForward = s.turnLeft = up;
    s.goDown = s.goBack = s.turnRight = down;
    if (pressUp) {
        s.moveUp();
        s.moveForward();
        s.moveLeft();
    } else {
        s.moveDown();
        s.moveBack();
        s.moveRight();
    }
    QCOMPARE(s.goUp, upAfter);
    QCOMPARE(s.goDown, downAfter);
    QCOMPARE(s.goForward, upAfter);
    QCOMPARE(s.goBack, downAfter);
    QCOMPARE(s.turnLeft, upAfter);
    QCOMPARE(s.turnRight, downAfter);
    QCOMPARE(s.camRotate, 1);
}

void TestSceneRules::turning_data()
{
    QTest::addColumn<bool>("left");
    QTest::addColumn<float>("start");
    QTest::addColumn<QList<float>>("headings");
    QTest::newRow("left through the wrap") << true << 355.f << QList<float> {360, 0, 5};
    QTest::newRow("right through the wrap") << false << 5.f << QList<float> {0, 360, 355};
    QTest::newRow("left from an odd heading") << true << 358.f << QList<float> {363, 0, 5};
}

void TestSceneRules::turning()
{
    QFETCH(bool, left);
    QFETCH(float, start);
    QFETCH(QList<float>, headings);
    SceneState s; // turning needs no engine
    s.rotZ = start;
    left ? s.moveLeft() : s.moveRight();
    for (float expected : headings) {
        s.objRotate();
        QCOMPARE(s.rotZ, expected);
    }
}

void TestSceneRules::fullLeftTurnTakes73Ticks()
{
    SceneState s;
    s.moveLeft();
    int ticks = 0;
    do {
        s.objRotate();
        ++ticks;
    } while (s.rotZ != 0.0f && ticks < 100);
    QCOMPARE(ticks, 73);
}

void TestSceneRules::mouseDragTurnsWhileSwitchedOn()
{
    SceneState twice;
    twice.mousePress();
    twice.mousePress();
    twice.mouseMove();
    QCOMPARE(twice.rotZ, 0.0f);
    QCOMPARE(twice.camRotate, 1); // set even by the press that switched turning off

    SceneState once;
    once.rotZ = 358.0f;
    once.mousePress();
    for (int i = 0; i < 5; ++i)
        once.mouseMove();
    QCOMPARE(once.rotZ, 363.0f);
}

void TestSceneRules::countTickReportsOnSecondChange()
{
    SceneState s;
    // First tick away from second 0 reports itself.
    QCOMPARE(s.countTick(QTime(10, 0, 7, 100)), std::optional<int>(1));
    QCOMPARE(s.countTick(QTime(10, 0, 7, 300)), std::nullopt);
    QCOMPARE(s.countTick(QTime(10, 0, 7, 900)), std::nullopt);
    // The tick that sees the change is counted in.
    QCOMPARE(s.countTick(QTime(10, 0, 8, 10)), std::optional<int>(3));
    QCOMPARE(s.frameCount, 0);
    // Only the seconds field is compared.
    QCOMPARE(s.countTick(QTime(11, 5, 8, 0)), std::nullopt);

    SceneState atZero;
    QCOMPARE(atZero.countTick(QTime(10, 1, 0, 0)), std::nullopt);
    QCOMPARE(atZero.countTick(QTime(10, 1, 1, 0)), std::optional<int>(2));
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
    QCOMPARE(r.posX, shown);
    QCOMPARE(r.posY, shown);
    QCOMPARE(r.posZ, shown);
    QCOMPARE(r.rotZ, shown);
    QCOMPARE(r.zoomFov, shown);
}

void TestSceneRules::rotorsStepAndLookTheSameModulo360()
{
    SceneState s;
    for (int tick = 1; tick <= 100000; ++tick) {
        s.advanceRotors();
        if (tick <= 20 || tick % 9973 == 0) {
            QCOMPARE(s.rotorAngle, float((20 * tick) % 360));
            QCOMPARE(s.tailRotorAngle, float((10 * tick) % 360));
        }
    }
}

QTEST_APPLESS_MAIN(TestSceneRules)
#include "tst_scenerules.moc"
