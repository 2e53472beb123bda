#include "shortreadwatch.h"

#include <QByteArray>
#include <cstring>

namespace {
constexpr qint64 tailLength = 68 * 1024;

// The top bytes of a multiplicative hash: no runs, and no 0x00 or 0xFF, which
// decoders take for an end, in the first 140 bytes.
const QByteArray &noise()
{
    static const QByteArray bytes = [] {
        QByteArray made(tailLength, Qt::Uninitialized);
        for (qsizetype i = 0; i < made.size(); ++i)
            made[i] = char(quint32(i + 1) * 0x9E3779B1u >> 24);
        return made;
    }();
    return bytes;
}
} // namespace

ShortReadWatch::ShortReadWatch(QIODevice &source, OpenMode mode, Tail tail)
    : m_source(source)
    , m_start(source.pos())
    , m_sourceSize(qMax<qint64>(0, source.size() - m_start))
    , m_tail(tail)
{
    open(mode);
}

qint64 ShortReadWatch::size() const
{
    return m_sourceSize + (m_tail == Tail::None ? 0 : tailLength);
}

qint64 ShortReadWatch::readData(char *data, qint64 maxSize)
{
    // A decoder that seeks past the end (to a bogus pixel offset, say) finds
    // only the tail, or nothing, there, whatever the source does with such a
    // seek.
    const qint64 at = pos();
    qint64 got = 0;
    if (at < m_sourceSize && (m_source.pos() == m_start + at || m_source.seek(m_start + at)))
        got = qMax<qint64>(0, m_source.read(data, qMin(maxSize, m_sourceSize - at)));
    if (at + got >= m_sourceSize) {
        const qint64 from = at + got - m_sourceSize;
        const qint64 tail = qMax<qint64>(0, qMin(maxSize - got, size() - (at + got)));
        if (tail > 0 && m_tail == Tail::Noise)
            std::memcpy(data + got, noise().constData() + from, size_t(tail));
        else if (tail > 0)
            std::memset(data + got, 0xff, size_t(tail));
        got += tail;
    }
    if (got < maxSize)
        m_shortRead = true;
    return got;
}
