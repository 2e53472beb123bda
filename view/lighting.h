#pragma once

#include <GL/gl.h>

// Where the helicopter's three lights (and their markers) sit, relative to its
// position, along the world axes: they follow the position, not the heading.
struct LightOffset
{
    float x, y, z;
};
inline constexpr LightOffset helicopterLightOffsets[3] = {
    {0.0f, 0.0f, 0.5f},
    {0.0f, 0.5f, 0.5f},
    {0.1f, -0.5f, 0.5f},
};

// The lights that ride with the helicopter, at those offsets in that order.
inline constexpr GLenum helicopterLights[3] = {GL_LIGHT2, GL_LIGHT3, GL_LIGHT4};

// Lights 0 and 1, fixed to the eye, and the lighting switches. Call with the
// modelview matrix at the identity.
void setUpFixedLights();
