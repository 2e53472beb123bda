// Helicopter rules. Command slots only switch flags; the three step rules run
// once per tick. Motion is counted in ticks, not in seconds.

#include "scenestate.h"

#include <cmath>

void SceneState::startEng()
{
    engineOn = toggled(engineOn);
    if (engineOn == 0) {
        // Stopping the engine inverts every motion flag rather than clearing it.
        goForward = toggled(goForward);
        goBack = toggled(goBack);
        goUp = toggled(goUp);
        goDown = toggled(goDown);
        turnLeft = toggled(turnLeft);
        turnRight = toggled(turnRight);
    }
}

void SceneState::velocity(int faster)
{
    // The speed is the slowest one plus a whole number of steps. Counting the
    // steps keeps it there: adding and taking away 1.0 drifts in binary, and
    // enough round trips would end below the slowest speed.
    constexpr double slowest = 0.1;
    const double steps = std::round(speed - slowest);
    if (faster != 0)
        speed = slowest + (steps + 1.0);
    else if (speed >= 1.0)
        speed = slowest + (steps - 1.0);
}

void SceneState::moveUp()
{
    goUp = toggled(goUp);
    goDown = 0;
}

void SceneState::moveDown()
{
    goDown = toggled(goDown);
    goUp = 0;
}

void SceneState::moveForward()
{
    goForward = toggled(goForward);
    goBack = 0;
}

void SceneState::moveBack()
{
    goBack = toggled(goBack);
    goForward = 0;
}

void SceneState::moveLeft()
{
    camRotate = 1;
    turnLeft = toggled(turnLeft);
    turnRight = 0;
}

void SceneState::moveRight()
{
    camRotate = 1;
    turnRight = toggled(turnRight);
    turnLeft = 0;
}

void SceneState::objMoveV()
{
    const double h = rotZ * degToRad;
    if (engineOn == 0)
        return;
    if (goUp != 0)
        posZ += 0.05;
    // Descent only checks before the step, so it may end just below the ground.
    if (goDown != 0 && posZ > 0.0f)
        posZ -= 0.05;

    // One step along the heading; a following camera keeps its offset by moving
    // the point the next camera update does not re-tie to the helicopter.
    const auto step = [&](double distance) {
        const float dx = static_cast<float>(std::cos(h) * distance);
        const float dy = static_cast<float>(std::sin(h) * distance);
        posX += dx;
        posY += dy;
        if (camFollow == 0)
            return;
        if (viewMode == 0) {
            centerX += dx;
            centerY += dy;
        } else {
            eyeX += dx;
            eyeY += dy;
        }
    };
    if (goForward != 0)
        step(speed);
    if (goBack != 0)
        step(-speed);
}

void SceneState::objRotate()
{
    // Both 0 and 360 occur on the way round, so a full turn takes 73 ticks.
    if (turnLeft != 0)
        rotZ = rotZ < 360.0f ? rotZ + 5.0f : 0.0f;
    if (turnRight != 0)
        rotZ = rotZ > 0.0f ? rotZ - 5.0f : 360.0f;
}

void SceneState::bhawkdown()
{
    if (engineOn == 0 && posZ > 0.0f)
        posZ -= 0.1;
}
