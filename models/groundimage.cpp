#include "groundimage.h"

#include "bmpcheck.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <utility>

namespace {
// Decoding stops here rather than taking gigabytes for a picture whose header
// claims enormous dimensions. Each view keeps its own texture of the picture,
// so the process holds it four times over: 64 MB still admits 4096 x 4096 at
// four bytes a pixel (exactly 64 MiB, which the reader accepts).
constexpr int groundAllocationLimitMB = 64;

// Converts and flips in place: a large picture is not held twice.
QImage toGLFormat(QImage image)
{
    return std::move(image).convertToFormat(QImage::Format_RGBA8888).mirrored();
}
} // namespace

QImage fallbackGroundImage()
{
    QImage green(128, 128, QImage::Format_RGB32);
    green.fill(QColor(Qt::green));
    return green;
}

QImage decodeGroundImage(QIODevice &source)
{
    if (!bmpHoldsItsPixels(source))
        return QImage();
    QImageReader reader(&source);
    reader.setDecideFormatFromContent(true); // the name says nothing
    reader.setAllocationLimit(groundAllocationLimitMB);
    QImage picture;
    // A failed read may still leave a partly filled picture: not one to show.
    if (!reader.read(&picture))
        return QImage();
    return toGLFormat(std::move(picture));
}

QImage loadGroundImage(const QString &path)
{
    QImage picture;
    // Only a regular file: a directory fails, and a pipe or device could block
    // or never end.
    QFile file(path);
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly))
        picture = decodeGroundImage(file);
    if (picture.isNull()) {
        qWarning("Could not read image file, using single-color instead.");
        picture = toGLFormat(fallbackGroundImage());
    }
    return picture;
}
