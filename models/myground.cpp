#include "myground.h"

#include "bmpcheck.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtGlobal>

namespace {
// Decoding stops here rather than taking gigabytes for a picture whose header
// claims enormous dimensions. Every execution of the ground list hands the
// picture to the GL again, so anything this size is already impractical.
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

QImage toGLFormat(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGBA8888).mirrored();
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
    return toGLFormat(loaded);
}

GLuint myGround::buildList(const QImage &texture) const
{
    const bool textured = !texture.isNull() && glAcceptsTexture(texture.width(), texture.height());
    const GLuint name = glGenLists(1);
    glNewList(name, GL_COMPILE);
    if (textured) {
        glTexImage2D(GL_TEXTURE_2D, 0, 3, texture.width(), texture.height(), 0, GL_RGBA,
            GL_UNSIGNED_BYTE, texture.constBits());
    }
    glBegin(GL_QUADS);
    for (const GroundCorner &c : groundCorners) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
    glEndList();
    return name;
}
