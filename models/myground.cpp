#include "myground.h"

#include "bmpcheck.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtGlobal>
#include <utility>

namespace {
// Decoding stops here rather than taking gigabytes for a picture whose header
// claims enormous dimensions. Each view keeps its own texture of the picture,
// so the process holds it four times over: 64 MB still admits 4096 x 4096 at
// four bytes a pixel (exactly 64 MiB, which the reader accepts).
constexpr int groundAllocationLimitMB = 64;

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

// Converts and flips in place: a large picture is not held twice.
QImage toGLFormat(QImage image)
{
    return std::move(image).convertToFormat(QImage::Format_RGBA8888).mirrored();
}

bool glAcceptsTexture(int width, int height)
{
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 3, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    // The proxy answers with a width of 0 for an image the GL would refuse.
    GLint acceptedWidth = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &acceptedWidth);
    return acceptedWidth == width;
}
} // namespace

QImage fallbackGroundImage()
{
    QImage green(128, 128, QImage::Format_RGB32);
    green.fill(QColor(Qt::green));
    return green;
}

QImage loadGroundImage(const QString &path)
{
    QImage loaded;
    // Only a regular file: a directory fails, and a pipe or device could block
    // or never end.
    QFile file(path);
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) && bmpHoldsItsPixels(file)) {
        QImageReader reader(&file);
        reader.setDecideFormatFromContent(true); // the name says nothing
        reader.setAllocationLimit(groundAllocationLimitMB);
        // A failed read may still leave a partly filled picture: not one to show.
        if (!reader.read(&loaded))
            loaded = QImage();
    }
    if (loaded.isNull()) {
        qWarning("Could not read image file, using single-color instead.");
        loaded = fallbackGroundImage();
    }
    return toGLFormat(std::move(loaded));
}

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
