#pragma once

#include <QIODevice>

// A read-only view of another device from where it stands, that can go on
// past the source's end with bytes of its own, and notes when a read comes
// back short.
class ShortReadWatch : public QIODevice
{
public:
    // What follows the source's end: nothing, or 68 KiB of 0xFF bytes or of
    // bytes that look like noise. Decoders skip what they don't need, and a
    // JPEG segment that runs past the file's end skips up to 64 KiB: the tail
    // goes on past that.
    enum class Tail { None, Ones, Noise };

    // Opens the watch in `mode`, for reading. With QIODevice::Unbuffered every
    // read of a decoder reaches readData() as it asked it, not rounded up to a
    // buffer's worth, so a short read means the decoder asked for bytes that
    // are not there. The source must outlive the watch.
    ShortReadWatch(QIODevice &source, OpenMode mode, Tail tail = Tail::None);

    bool anyShortRead() const { return m_shortRead; }

    bool isSequential() const override { return false; }
    qint64 size() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QIODevice &m_source;
    const qint64 m_start;
    const qint64 m_sourceSize;
    const Tail m_tail;
    bool m_shortRead = false;
};
