#include "myground.h"

namespace {
struct GroundCorner
{
    GLfloat s, t, x, y, z;
};
constexpr GroundCorner groundCorners[4] = {
    {0.0f, 0.0f, -100.0f, -100.0f, 0.0f},
    {50.0f, 0.0f, 100.0f, -100.0f, 0.0f},
    {50.0f, 50.0f, 100.0f, 100.0f, 0.0f},
    {0.0f, 50.0f, -100.0f, 100.0f, 0.0f},
};

bool glAcceptsTexture(int width, int height)
{
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 3, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    // The proxy answers with a width of 0 for an image the GL would refuse.
    GLint acceptedWidth = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &acceptedWidth);
    return acceptedWidth == width;
}
} // namespace

GLuint myGround::uploadTexture(const QImage &texture) const
{
    if (texture.isNull() || !glAcceptsTexture(texture.width(), texture.height()))
        return 0;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Internal format 3: the picture's alpha is dropped.
    glTexImage2D(GL_TEXTURE_2D, 0, 3, texture.width(), texture.height(), 0, GL_RGBA,
        GL_UNSIGNED_BYTE, texture.constBits());
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

GLuint myGround::buildList(GLuint texture) const
{
    const GLuint name = glGenLists(1);
    glNewList(name, GL_COMPILE);
    // Texture 0 is the default one, which has no image: the square is then
    // drawn in its material colour alone.
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    for (const GroundCorner &c : groundCorners) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
    glEndList();
    return name;
}
