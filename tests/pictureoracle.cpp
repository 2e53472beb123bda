#include "pictureoracle.h"

#include "groundimage.h"

#include <QBuffer>

QImage decodedFromMemory(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeGroundImage(buffer);
}

bool isComplete(const QByteArray &bytes)
{
    // Far longer than any picture of the corpus needs.
    constexpr int runLength = 64 * 1024;
    const QImage withZeros = decodedFromMemory(bytes + QByteArray(runLength, '\0'));
    const QImage withOnes = decodedFromMemory(bytes + QByteArray(runLength, '\xff'));
    return !withZeros.isNull() && withZeros == withOnes;
}
