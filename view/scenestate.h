#pragma once

#include <QTime>
#include <optional>

// The whole per-view scene state (camera, helicopter pose, motion flags, zoom,
// light markers, tick counter) and the rules that change it. It knows no GL and
// no widget, so every rule can be exercised without a display; myGL owns one
// and turns it into pictures.
//
// Flags are ints that are only ever written as 0 or 1. Angles are in degrees
// unless said otherwise; world Z is up and the heading rotZ runs from +X
// towards +Y.
class SceneState
{
public:
    // Constants kept in the short decimal forms the camera has always used.
    static constexpr double degToRad = 0.0174532925;
    static constexpr double quarterTurn = 1.570796325;
    static constexpr double halfTurn = 3.14159265;
    static constexpr double farPlane = 1000.0;

    SceneState();

    // Camera: eye, look-at point, field angle, pan, zoom and view mode.
    float eyeX = 2.0f, eyeY = 2.0f, eyeZ = 2.0f;
    float centerX = 0.0f, centerY = 0.0f, centerZ = 0.0f;
    float fovY = 45.0f;
    float fovSetting = 45.0f;
    float zoomFov = 45.0f; // widened or narrowed by zoomCam(); shown on the zoom readout
    int zoomMode = 0; // 0 none, 1 widening, 2 narrowing
    float zNear = 0.1f;
    float panX = 0.0f, panY = 0.0f, panZ = 0.0f;
    float lookAngleXY = 0.0f, lookAngleXZ = 0.0f;
    float camChangeCount = 0.0f;
    double camRadius = 0.0;
    double camAngle = 0.0; // radians
    int viewMode = 0; // 0 cockpit, 1 side, 2 behind, 3 above
    int camFollow = 0;
    int camRotate = 0;

    // Helicopter.
    float posX = 0.0f, posY = 0.0f, posZ = 0.0f;
    float rotX = 0.0f, rotY = 0.0f, rotZ = 0.0f;
    double speed = 0.1;
    int engineOn = 0;
    int goUp = 0, goDown = 0, goForward = 0, goBack = 0, turnLeft = 0, turnRight = 0;
    float rotorAngle = 0.0f, tailRotorAngle = 0.0f;

    // Input and display switches.
    float mouseTurn = 0.0f; // 1.0 while mouse drags turn the helicopter
    int showLightMarkers = 0;

    // Tick-rate measurement.
    int frameCount = 0;
    int tickSecond = 0;
    int lastTickSecond = 0;
    QTime tickTime;

    // --- camera rules ---
    void rotateCam(int degrees);
    void setRotateCam();
    void setCam();
    void changeCam(int mode);
    void fov(int degrees);
    void panUp();
    void panDn();
    void panLt();
    void panRt();
    void zoomCam();
    void setAngle();
    void moveCam();
    void setMoveCam();
    void setZoom(int mode);
    void lookCam();
    // The per-update part of the camera that needs no GL: re-tie the camera to
    // the helicopter, turn it with the heading, step the zoom.
    void cameraUpdate();

    // --- helicopter rules ---
    void startEng();
    void velocity(int faster);
    void objMoveV();
    void objRotate();
    void bhawkdown();
    void moveLeft();
    void moveRight();
    void moveForward();
    void moveBack();
    void moveUp();
    void moveDown();

    // --- input ---
    void mousePress();
    void mouseMove();
    void turnLight();

    // --- tick ---
    // Counts one tick read at `now`; returns the number of ticks to report
    // when the clock's seconds field has changed since the previous tick.
    std::optional<int> countTick(const QTime &now);
    void advanceRotors();

    struct Readouts
    {
        int posX, posY, posZ, rotZ, zoomFov;
    };
    // What the readouts show: each value truncated toward zero.
    Readouts readouts() const;
};

// Truncates toward zero like a C cast, but saturates at the int range (and maps
// NaN to 0) instead of invoking undefined behaviour for huge values.
int truncToInt(double value);

inline int toggled(int flag) { return flag == 0 ? 1 : 0; }
