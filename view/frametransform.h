#pragma once

#include <GL/gl.h>
#include <QSize>

// What a frame is drawn with, as the latest camera update left it in the GL:
// the viewport (in the widget's logical pixels), the projection and viewing
// matrices, and where the helicopter's three lights stand in eye coordinates.
//
// The tick paints first and moves the camera afterwards, so the frame of a
// tick shows the camera of the tick before. Qt paints later than the tick and
// sets its own viewport just before, so the view keeps the transform that a
// camera update replaces and puts it back in force around the drawing.
struct FrameTransform
{
    QSize viewport;
    GLfloat projection[16];
    GLfloat modelview[16];
    GLfloat lightPositions[3][4];

    // The GL's current transform; `viewport` is the size last given to it.
    static FrameTransform current(QSize viewport);

    // Makes this the GL's transform, the viewport scaled to device pixels.
    // Leaves the modelview matrix selected.
    void apply(qreal devicePixelRatio) const;
};
