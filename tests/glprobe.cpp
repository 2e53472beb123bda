#include "glprobe.h"

std::vector<FeedbackPrimitive> captureFeedback(
    float extent, const std::function<void()> &draw, bool *ok)
{
    constexpr int viewportSize = 1000;
    std::vector<GLfloat> buffer(1 << 22);
    glPushAttrib(GL_VIEWPORT_BIT | GL_ENABLE_BIT);
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, viewportSize, viewportSize);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-extent, extent, -extent, extent, -extent, extent);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();

    // A GL_3D vertex is x, y in window pixels and z the depth from 0 to 1.
    std::vector<FeedbackPrimitive> prims;
    const float scale = 2.0f * extent / viewportSize;
    for (GLint i = 0; i < used;) {
        FeedbackPrimitive prim {GLenum(buffer[i++]), {}};
        int count = prim.token == GL_POLYGON_TOKEN ? int(buffer[i++]) : 0;
        if (prim.token == GL_BITMAP_TOKEN || prim.token == GL_POINT_TOKEN)
            count = 1;
        else if (prim.token == GL_LINE_TOKEN || prim.token == GL_LINE_RESET_TOKEN)
            count = 2;
        else if (prim.token != GL_POLYGON_TOKEN)
            break; // nothing the tests draw
        for (int k = 0; k < count; ++k, i += 3) {
            prim.vertices.emplace_back(buffer[i] * scale - extent, buffer[i + 1] * scale - extent,
                -(2.0f * buffer[i + 2] - 1.0f) * extent);
        }
        prims.push_back(prim);
    }
    if (ok)
        *ok = used >= 0;
    return prims;
}

int countTokens(const std::vector<FeedbackPrimitive> &prims, GLenum token)
{
    return int(
        std::count_if(prims.begin(), prims.end(), [&](auto &p) { return p.token == token; }));
}
