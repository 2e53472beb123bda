// Camera rules: where each view mode puts the eye and the look-at point, and
// how zoom, field angle and pan change. Trigonometry runs in double; the
// results are stored in the float fields.

#include "scenestate.h"

#include <cmath>

void SceneState::changeCam(int mode)
{
    viewMode = mode;
    if (mode == 0) {
        fov(10);
        camChangeCount = 0.0f;
    } else if (mode == 1 || mode == 2) {
        // The first switch away from the cockpit remembers the field angle
        // as the zoom start.
        if (camChangeCount == 0.0f)
            zoomFov = fovSetting;
        fov(20);
        camChangeCount += 1.0f;
    } else if (mode == 3) {
        if (camChangeCount == 0.0f)
            zoomFov = fovSetting;
        eyeX = posX + 0.1;
        eyeY = posY;
        eyeZ = posZ + 5.0;
        camChangeCount += 1.0f;
    }
    // Any other mode is kept as it is and matches no placement below.
    lookCam();
    moveCam();
}

void SceneState::setMoveCam()
{
    camFollow = toggled(camFollow);
    lookCam();
}

void SceneState::lookCam()
{
    if (camFollow == 0)
        return;
    const double h = rotZ * degToRad;
    switch (viewMode) {
    case 0:
        eyeX = posX;
        eyeY = posY;
        eyeZ = posZ + 0.1;
        centerX = eyeX + 1.0 * std::cos(h);
        centerY = eyeY + 1.0 * std::sin(h);
        centerZ = posZ;
        break;
    case 1:
    case 2: {
        const double turn = viewMode == 1 ? quarterTurn : halfTurn;
        eyeX = posX + 2.0 * std::cos(h + turn);
        eyeY = posY + 2.0 * std::sin(h + turn);
        eyeZ = posZ + 1.0;
        break;
    }
    case 3:
        eyeX = posX + 0.1 * std::cos(h);
        eyeY = posY + 0.1 * std::sin(h);
        eyeZ = posZ + 1.0;
        centerX = posX;
        centerY = posY;
        centerZ = posZ;
        break;
    default: break;
    }
}

void SceneState::moveCam()
{
    if (camFollow == 0) {
        // Not following: look at the world origin from wherever the eye is.
        centerX = centerY = centerZ = 0.0f;
        return;
    }
    switch (viewMode) {
    case 0:
        eyeX = posX;
        eyeY = posY;
        eyeZ = posZ + 1.0;
        centerZ = posZ;
        break;
    case 1:
    case 2:
        centerX = posX;
        centerY = posY;
        centerZ = posZ + 0.2;
        eyeZ = posZ + 1.0;
        break;
    case 3:
        centerX = posX;
        centerY = posY;
        centerZ = posZ;
        eyeZ = posZ + 2.0;
        break;
    default: break;
    }
}

void SceneState::setRotateCam()
{
    if (camRotate != 0)
        rotateCam(truncToInt(rotZ));
}

void SceneState::rotateCam(int degrees)
{
    camAngle = degrees * degToRad;
    if (camFollow == 0)
        return;
    setCam();
    const double r = camRadius;
    const double a = camAngle;
    switch (viewMode) {
    case 0: // the look-at point swings around the eye
        centerX = eyeX + r * std::cos(a);
        centerY = eyeY + r * std::sin(a);
        break;
    case 1: // the eye swings around the look-at point
        eyeX = centerX + r * std::cos(a + quarterTurn);
        eyeY = centerY + r * std::sin(a + quarterTurn);
        break;
    case 2:
        eyeX = centerX + r * std::cos(a + halfTurn);
        eyeY = centerY + r * std::sin(a + halfTurn);
        break;
    default: // 3, and any mode without a placement of its own
        eyeX = centerX + r * std::cos(a);
        eyeY = centerY + r * std::sin(a);
        break;
    }
}

void SceneState::setCam()
{
    const double dx = static_cast<double>(eyeX) - centerX;
    const double dy = static_cast<double>(eyeY) - centerY;
    camRadius = std::sqrt(dx * dx + dy * dy);
}

void SceneState::zoomCam()
{
    if (zoomMode == 1) {
        zoomFov += 0.5f;
        fov(truncToInt(zoomFov));
    } else if (zoomMode == 2 && zoomFov > 0.0f) {
        zoomFov -= 0.5f;
        fov(truncToInt(zoomFov));
    }
}

void SceneState::setZoom(int mode)
{
    // The same key starts and stops a zoom; the other key turns it around.
    if (mode == zoomMode)
        zoomMode = toggled(zoomMode);
    else
        zoomMode = mode;
}

void SceneState::fov(int degrees)
{
    fovSetting = static_cast<float>(degrees);
    fovY = static_cast<float>(degrees % 360); // keeps the sign of the argument
}

void SceneState::setAngle()
{
    // Float division on purpose: a zero denominator gives an infinity or a
    // NaN, which nothing downstream reads.
    lookAngleXY = std::atan(-(eyeX - centerX) / (eyeY - centerY));
    lookAngleXZ = std::atan(-(eyeX - centerX) / (eyeZ - centerZ));
}

void SceneState::panUp() { panY += 0.05f; }

void SceneState::panDn() { panY -= 0.05f; }

void SceneState::panLt() { panX -= 0.05f; }

void SceneState::panRt() { panX += 0.05f; }

void SceneState::cameraUpdate()
{
    moveCam();
    setRotateCam();
    zoomCam();
}
