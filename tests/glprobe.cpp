#include "glprobe.h"

namespace {
constexpr int viewportSize = 1000;
}

std::vector<FeedbackPrimitive> captureFeedback(
    float extent, const std::function<void()> &draw, bool *ok)
{
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

    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();

    if (ok)
        *ok = used >= 0;
    std::vector<FeedbackPrimitive> prims;
    if (used < 0)
        return prims;

    // In RGBA mode a GL_3D_COLOR_TEXTURE vertex is x y z, r g b a, s t r q.
    GLint i = 0;
    const auto readVertex = [&] {
        FeedbackVertex v;
        v.window = QVector3D(buffer[i], buffer[i + 1], buffer[i + 2]);
        v.texS = buffer[i + 7];
        v.texT = buffer[i + 8];
        i += 11;
        return v;
    };
    while (i < used) {
        const GLenum token = GLenum(buffer[i++]);
        FeedbackPrimitive prim {token, {}};
        int count = 0;
        switch (token) {
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN: count = 1; break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN: count = 2; break;
        case GL_POLYGON_TOKEN: count = int(buffer[i++]); break;
        case GL_PASS_THROUGH_TOKEN: ++i; break;
        default:
            if (ok)
                *ok = false;
            return prims;
        }
        for (int k = 0; k < count; ++k)
            prim.vertices.push_back(readVertex());
        prims.push_back(prim);
    }
    return prims;
}

QVector3D toCube(const FeedbackVertex &v, float extent)
{
    const float scale = 2.0f * extent / viewportSize;
    return QVector3D(v.window.x() * scale - extent, v.window.y() * scale - extent,
        -(2.0f * v.window.z() - 1.0f) * extent);
}

int countTokens(const std::vector<FeedbackPrimitive> &prims, GLenum token)
{
    int n = 0;
    for (const FeedbackPrimitive &p : prims)
        n += p.token == token ? 1 : 0;
    return n;
}
