#pragma once

// Helpers for looking at what GL draws: feedback-mode capture and parsing.

#include <GL/gl.h>
#include <QVector3D>
#include <functional>
#include <vector>

struct FeedbackVertex
{
    QVector3D window; // x, y in window pixels, z the depth 0..1
    float texS = 0.0f, texT = 0.0f;
};

struct FeedbackPrimitive
{
    GLenum token; // GL_POLYGON_TOKEN, GL_LINE_TOKEN, GL_BITMAP_TOKEN, ...
    std::vector<FeedbackVertex> vertices;
};

// Runs `draw` in feedback mode with an orthographic projection that maps the
// cube [-extent, extent]^3 onto a 1000 x 1000 viewport, culling off and an
// identity modelview; restores matrices, viewport and render mode after.
// Returns what GL reported, or an empty list with ok = false on overflow.
std::vector<FeedbackPrimitive> captureFeedback(
    float extent, const std::function<void()> &draw, bool *ok = nullptr);

// Turns a feedback vertex back into the coordinates of the cube above.
QVector3D toCube(const FeedbackVertex &v, float extent);

int countTokens(const std::vector<FeedbackPrimitive> &prims, GLenum token);
