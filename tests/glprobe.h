#pragma once

// Looking at what GL draws: feedback-mode capture and parsing.

#include <GL/gl.h>
#include <QVector3D>
#include <functional>
#include <vector>

struct FeedbackPrimitive
{
    GLenum token; // GL_POLYGON_TOKEN, GL_BITMAP_TOKEN, ...
    std::vector<QVector3D> vertices; // in the coordinates of the cube below
};

// Runs `draw` in feedback mode with an orthographic projection of the cube
// [-extent, extent]^3, culling off and an identity modelview; restores
// matrices, viewport and render mode after. Returns what GL reported, or an
// empty list with ok = false when it did not fit.
std::vector<FeedbackPrimitive> captureFeedback(
    float extent, const std::function<void()> &draw, bool *ok = nullptr);

int countTokens(const std::vector<FeedbackPrimitive> &prims, GLenum token);
