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

// The largest picture the viewer takes: 4096 x 4096 pixels, or as many in
// another shape. As the GL's 32-bit words that is 64 MiB, and loading holds
// two or three such pictures at once (decoded, checked or converted, then the
// GL's copy). 8192 x 8192 would take four times the memory and the loading
// time for detail nobody sees: the ground repeats the picture every 4 world
// units.
constexpr qint64 maxGroundPixels = 4096 * 4096;

// What Qt lets its decoders allocate for a picture, which matters where the
// reader can't tell the size beforehand: the largest picture at the widest
// pixels Qt decodes into (four floats; 16-bit PNG takes eight bytes).
constexpr int decoderAllocationLimitMB = int(maxGroundPixels * 16 / (1024 * 1024));

bool tooLarge(QSize size)
{
    return qint64(qAbs(size.width())) * qAbs(size.height()) > maxGroundPixels;
}

void setUp(QImageReader &reader, QIODevice &device)
{
    reader.setDevice(&device);
    reader.setDecideFormatFromContent(true); // the name says nothing
    reader.setAllocationLimit(decoderAllocationLimitMB);
}

// Run-length data may leave pixels out (a jump, or a row or the picture ended
// early), and the BMP decoder leaves those as whatever memory held. Handed a
// picture of the right size and format it fills that one instead, as Qt says
// it "may": so hand it one over memory of colour 0, which `blank` holds on to
// meanwhile (a picture Qt allocates instead can't land there), and take the
// result only if it is in that memory. The BMP decoder asks for exactly what
// it needs (a palette, a row, a run), so any read that comes back short means
// pixels are missing.
QImage decodedBmp(QIODevice &source, qint64 start)
{
    if (!source.seek(start))
        return QImage();
    ShortReadWatch watch(source, QIODevice::ReadOnly | QIODevice::Unbuffered);
    QImageReader reader(&watch, "bmp");
    const QSize size = reader.size();
    QImage blank;
    if (!QImageIOHandler::allocateImage(
            QSize(size.width(), qAbs(size.height())), reader.imageFormat(), &blank))
        return QImage();
    blank.fill(0);
    uchar *const memory = blank.bits();
    // Keeps a copy of `blank`, and so the memory, for as long as it lives.
    QImage picture(
        memory, blank.width(), blank.height(), blank.bytesPerLine(), blank.format(),
        [](void *owner) { delete static_cast<QImage *>(owner); }, new QImage(blank));
    // A failed read may still leave a partly filled picture: not one to show.
    if (!reader.read(&picture) || watch.anyShortRead() || picture.constBits() != memory)
        return QImage();
    return picture;
}

// The decoders' complaints about the bytes that the check below makes up say
// nothing about the file: held back while it decodes them (the handler is the
// process's, so one decoding at a time).
QtMessageHandler passOn = nullptr;
void holdBackImageIo(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (passOn && qstrncmp(context.category, "qt.gui.imageio", 14) != 0)
        passOn(type, context, message);
}

// Qt's verdict on a cut file is not enough: its JPEG decoder makes up an end
// marker and fills the rest grey, and the GIF decoder shows a frame it could
// not finish. A whole file's picture depends on no byte past its end, so
// decode it again followed by other bytes, twice: decoders take some bytes
// for an end (GIF's LZW stops at a code it can't use, JPEG skips 0xFF bytes
// as fill), and not both 0xFF bytes and noise.
QImage decodedWhole(QImageReader &reader, QIODevice &source, qint64 start)
{
    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        return QImage();
    const auto decodedWith = [&](ShortReadWatch::Tail tail) {
        if (!source.seek(start))
            return QImage();
        ShortReadWatch followed(source, QIODevice::ReadOnly, tail);
        QImageReader again;
        setUp(again, followed);
        return again.read(); // a null image when Qt fails it
    };
    passOn = qInstallMessageHandler(holdBackImageIo);
    const bool whole = decodedWith(ShortReadWatch::Tail::Noise) == picture
        && decodedWith(ShortReadWatch::Tail::Ones) == picture;
    qInstallMessageHandler(passOn);
    return whole ? picture : QImage();
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
    const qint64 start = source.pos();
    ShortReadWatch device(source, QIODevice::ReadOnly);
    QImageReader reader;
    setUp(reader, device);
    // Asked before reading: afterwards the reader looks for a next picture.
    const QByteArray format = reader.format();
    // Refused before Qt decodes it, when the reader can tell its size.
    if (format.isEmpty() || tooLarge(reader.size()))
        return QImage();
    QImage picture
        = format == "bmp" ? decodedBmp(source, start) : decodedWhole(reader, source, start);
    if (picture.isNull() || tooLarge(picture.size()))
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
