#include "groundimage.h"

#include "shortreadwatch.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>
#include <QLoggingCategory>
#include <utility>

namespace {
Q_LOGGING_CATEGORY(lcGround, "vudure.ground", QtWarningMsg)

// Decoding stops here rather than taking gigabytes for a picture whose header
// claims enormous dimensions. 64 MB still admits 4096 x 4096 at four bytes a
// pixel (exactly 64 MiB, which the reader accepts).
constexpr int groundAllocationLimitMB = 64;

// Whether the decoder ran out of bytes before the picture was whole; several
// decoders still report success then. The BMP decoder asks for exactly what
// it needs (a palette, a row, a run), so any read that comes back short means
// pixels are missing. The others read ahead in blocks or lines, so there only
// running into the end counts: JPEG, for one, then makes up an end marker and
// fills the rest grey, and GIF shows a frame it could not finish if the file
// ends there.
bool ranOutOfBytes(const QByteArray &format, ShortReadWatch &watch)
{
    if (format == "bmp")
        return watch.anyShortRead();
    if (watch.reachedEnd())
        return true;
    // The PNG decoder makes up the checksum of the end chunk when the file
    // ends inside it: the picture is whole then, but the file is cut.
    return format == "png" && watch.seek(qMax<qint64>(0, watch.size() - 7))
        && watch.read(7).contains("IEND");
}

// Run-length data may leave pixels out (a jump, or a row or the picture ended
// early), and the BMP decoder leaves those as whatever memory held. Handed a
// picture of the right size and format, it fills that one instead: hand it
// one of colour 0, allocated within the same limit.
QImage blankBmpPicture(QImageReader &reader)
{
    const QSize size = reader.size();
    QImage blank;
    if (QImageIOHandler::allocateImage(
            QSize(size.width(), qAbs(size.height())), reader.imageFormat(), &blank))
        blank.fill(0);
    return blank;
}

// Qt's 32-bit pixels, which the GL reads as the words they are; other formats
// are converted (a palette colour past the table's end comes out black).
QImage inWords(QImage picture)
{
    if (picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32)
        return picture;
    return std::move(picture).convertToFormat(QImage::Format_ARGB32);
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
    ShortReadWatch watch(source);
    QImageReader reader(&watch);
    reader.setDecideFormatFromContent(true); // the name says nothing
    reader.setAllocationLimit(groundAllocationLimitMB);
    // Asked before reading: afterwards the reader looks for a next picture.
    const QByteArray format = reader.format();
    if (format.isEmpty())
        return QImage();
    QImage picture = format == "bmp" ? blankBmpPicture(reader) : QImage();
    watch.startWatching();
    // A failed read may still leave a partly filled picture: not one to show.
    if (!reader.read(&picture) || ranOutOfBytes(format, watch))
        return QImage();
    return inWords(std::move(picture));
}

QImage loadGroundImage(const QString &path, bool *unreadable)
{
    QImage picture;
    // Only a regular file: a directory fails, and a pipe or device could block
    // or never end.
    QFile file(path);
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly))
        picture = decodeGroundImage(file);
    if (unreadable)
        *unreadable = picture.isNull();
    if (picture.isNull()) {
        warnGroundUnreadable();
        picture = fallbackGroundImage();
    } else {
        qCDebug(lcGround, "read the ground picture %s: %d x %d", qPrintable(path), picture.width(),
            picture.height());
    }
    return picture;
}

void warnGroundUnreadable() { qWarning("Could not read image file, using single-color instead."); }
