#include "scenestate.h"

#include <climits>
#include <cmath>

SceneState::SceneState()
{
    setAngle();
    showLightMarkers = 0;
    // Every view starts with its camera tied to the helicopter.
    setMoveCam();
}

int truncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

void SceneState::mousePress()
{
    // Each press switches drag turning on or off; any press lets the camera
    // turn with the heading from now on.
    mouseTurn = mouseTurn == 0.0f ? 1.0f : 0.0f;
    if (camRotate == 0)
        camRotate = 1;
}

void SceneState::mouseMove()
{
    if (mouseTurn != 0.0f)
        rotZ += 1.0f;
}

void SceneState::turnLight() { showLightMarkers = toggled(showLightMarkers); }

std::optional<int> SceneState::countTick(const QTime &now)
{
    frameCount += 1;
    lastTickSecond = tickSecond;
    tickTime = now;
    tickSecond = now.second();
    if (lastTickSecond == tickSecond)
        return std::nullopt;
    const int ticks = frameCount;
    frameCount = 0;
    return ticks;
}

void SceneState::advanceRotors()
{
    // Kept below 360: the blades look the same, and a float that grew without
    // bound would lose the 10 and 20 degree steps after an hour or so of running.
    rotorAngle = std::fmod(rotorAngle + 20.0f, 360.0f);
    tailRotorAngle = std::fmod(tailRotorAngle + 10.0f, 360.0f);
}

SceneState::Readouts SceneState::readouts() const
{
    return {truncToInt(posX), truncToInt(posY), truncToInt(posZ), truncToInt(rotZ),
        truncToInt(zoomFov)};
}
