#include "bmpcheck.h"

#include <QByteArray>
#include <QIODevice>

namespace {
constexpr int fileHeaderSize = 14;
constexpr int coreHeaderSize = 12; // the oldest info header, 16-bit sizes
constexpr int infoHeaderSize = 40; // and every later, longer one
enum Compression { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };

// Little-endian fields; at() keeps the compiler sure that the bytes exist.
quint32 field(const QByteArray &bytes, int at, int size)
{
    quint32 value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = value << 8 | quint8(bytes.at(at + k));
    return value;
}
quint32 u32(const QByteArray &bytes, int at) { return field(bytes, at, 4); }
quint16 u16(const QByteArray &bytes, int at) { return quint16(field(bytes, at, 2)); }
} // namespace

bool bmpHoldsItsPixels(QIODevice &device)
{
    const QByteArray head = device.peek(fileHeaderSize + infoHeaderSize);
    if (!head.startsWith("BM"))
        return true;
    if (head.size() < fileHeaderSize + coreHeaderSize)
        return false;
    const qint64 fileSize = device.size();
    const qint64 pixelsAt = u32(head, 10);
    const quint32 headerSize = u32(head, 14);

    qint64 width, height, bitsPerPixel;
    quint32 compression = Rgb, declaredSize = 0;
    if (headerSize == coreHeaderSize) {
        width = u16(head, 18);
        height = u16(head, 20);
        bitsPerPixel = u16(head, 24);
    } else {
        if (head.size() < fileHeaderSize + infoHeaderSize)
            return false;
        width = qint32(u32(head, 18));
        height = qAbs(qint64(qint32(u32(head, 22)))); // negative: rows stored top down
        bitsPerPixel = u16(head, 28);
        compression = u32(head, 30);
        declaredSize = u32(head, 34);
    }
    if (fileSize < pixelsAt) // ends in the header or the palette
        return false;
    const qint64 available = fileSize - pixelsAt;

    switch (compression) {
    case Rgb:
    case BitFields:
    case AlphaBitFields: {
        if (width <= 0 || height <= 0 || bitsPerPixel <= 0)
            return true; // not a picture Qt will decode anyway
        const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4; // rows padded to 4 bytes
        return height <= available / rowBytes;
    }
    case Rle8:
    case Rle4:
        // Run-length data has no size of its own but the one the header declares.
        return declaredSize <= available;
    default: return true;
    }
}
