#pragma once

#include <QByteArray>
#include <QByteArrayView>

class QIODevice;

// Splits what a device holds into lines. A line ends at CR LF, at CR or at LF; the end is not part
// of the line, and the last line needs none. Reads in blocks, so a file is never held whole.
class LineReader
{
public:
    enum class Status { Line, End, TooLong, ReadError };

    // A line longer than maxLength bytes stops the reader with TooLong; a negative maxLength means no limit.
    explicit LineReader(QIODevice &device, qsizetype maxLength = -1);

    // The view stays valid until the next call.
    Status next(QByteArrayView &line);

private:
    bool fill();
    qsizetype nextOf(char c, qsizetype &cached) const;

    QIODevice &m_device;
    qsizetype m_maxLength;
    QByteArray m_buffer;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_skipLineFeed = false;
    // Where the next CR and LF stand in the buffer (m_end: none there), so each byte is searched once.
    qsizetype m_nextCarriageReturn = -1;
    qsizetype m_nextLineFeed = -1;
};
