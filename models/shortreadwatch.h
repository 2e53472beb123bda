#pragma once

#include <QIODevice>

// A read-only view of another device that notes when its reader asks for bytes
// the source does not have: a read that comes back short, and the reader
// running into the end (a read that finds nothing left, or asking whether it
// is at the end and being told so). A decoder's own reads say better than any
// reading of its header where it stopped and why. Seeking past the end works
// as on a file: the next read finds nothing.
class ShortReadWatch : public QIODevice
{
public:
    // The source is read from wherever it stands and must outlive the watch.
    explicit ShortReadWatch(QIODevice &source);

    // Forgets the reads so far: looking for the format peeks ahead, and only
    // the decoder's own reads count.
    void startWatching();
    bool anyShortRead() const { return m_shortRead; }
    bool reachedEnd() const { return m_reachedEnd; }

    bool isSequential() const override { return false; }
    qint64 size() const override;
    bool atEnd() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QIODevice &m_source;
    const qint64 m_start;
    bool m_shortRead = false;
    mutable bool m_reachedEnd = false;
};
