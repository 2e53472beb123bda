#include "shortreadwatch.h"

ShortReadWatch::ShortReadWatch(QIODevice &source)
    : m_source(source)
    , m_start(source.pos())
{
    // Unbuffered: every read of the decoder reaches readData() as it asked it,
    // not rounded up to a buffer's worth.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void ShortReadWatch::startWatching()
{
    m_shortRead = false;
    m_reachedEnd = false;
}

qint64 ShortReadWatch::size() const { return m_source.size() - m_start; }

bool ShortReadWatch::atEnd() const
{
    const bool end = QIODevice::atEnd();
    m_reachedEnd = m_reachedEnd || end;
    return end;
}

qint64 ShortReadWatch::readData(char *data, qint64 maxSize)
{
    // A decoder that seeks past the end (to a bogus pixel offset, say) finds
    // nothing there, whatever the source does with such a seek.
    const qint64 at = m_start + pos();
    qint64 got = 0;
    if (at < m_source.size() && (m_source.pos() == at || m_source.seek(at)))
        got = m_source.read(data, maxSize);
    if (got < maxSize)
        m_shortRead = true;
    if (got <= 0 && maxSize > 0)
        m_reachedEnd = true;
    return qMax<qint64>(got, 0);
}
