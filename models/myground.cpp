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

GLuint myGround::uploadTexture(const QImage &picture) const
{
    if (picture.isNull() || !glAcceptsTexture(picture.width(), picture.height()))
        return 0;
    const int width = picture.width(), height = picture.height();
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Internal format 3: the picture's alpha is dropped. Qt's 32-bit pixels are
    // read as the words they are: no pass over a large picture reorders bytes.
    glTexImage2D(
        GL_TEXTURE_2D, 0, 3, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    // The GL's first row is the bottom one: the rows go in from the bottom up,
    // rather than the picture being turned over first.
    for (int y = 0; y < height; ++y) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, height - 1 - y, width, 1, GL_BGRA,
            GL_UNSIGNED_INT_8_8_8_8_REV, picture.constScanLine(y));
    }
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
