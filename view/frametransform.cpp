#include "frametransform.h"

#include "lighting.h"

#include <cmath>

FrameTransform FrameTransform::current(QSize viewport)
{
    FrameTransform t;
    t.viewport = viewport;
    glGetFloatv(GL_PROJECTION_MATRIX, t.projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, t.modelview);
    // The GL keeps light positions already transformed into eye coordinates.
    for (int i = 0; i < 3; ++i)
        glGetLightfv(helicopterLights[i], GL_POSITION, t.lightPositions[i]);
    return t;
}

void FrameTransform::apply(qreal devicePixelRatio) const
{
    glViewport(0, 0, int(std::lround(viewport.width() * devicePixelRatio)),
        int(std::lround(viewport.height() * devicePixelRatio)));
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    // Positions given under the identity are taken as eye coordinates as they stand.
    glLoadIdentity();
    for (int i = 0; i < 3; ++i)
        glLightfv(helicopterLights[i], GL_POSITION, lightPositions[i]);
    glLoadMatrixf(modelview);
}
