#include "documents/LineReader.h"

#include <QIODevice>

#include <cstring>

namespace {
constexpr qsizetype BlockSize = 64 * 1024;

const char *findLineEnd(const char *from, const char *to)
{
    for (; from != to; ++from) {
        if (*from == '\r' || *from == '\n')
            return from;
    }
    return to;
}
}

LineReader::LineReader(QIODevice &device, qsizetype maxLength)
    : m_device(device)
    , m_maxLength(maxLength)
{
}

// Moves the unread rest to the front of the buffer and appends the next block.
bool LineReader::fill()
{
    if (m_atEnd)
        return false;
    const qsizetype rest = m_end - m_begin;
    if (m_begin > 0 && rest > 0)
        std::memmove(m_buffer.data(), m_buffer.constData() + m_begin, size_t(rest));
    m_begin = 0;
    m_end = rest;
    if (m_buffer.size() < rest + BlockSize)
        m_buffer.resize(rest + BlockSize);
    const qint64 got = m_device.read(m_buffer.data() + rest, BlockSize);
    if (got < 0) {
        m_failed = true;
        m_atEnd = true;
        return false;
    }
    if (got == 0) {
        m_atEnd = true;
        return false;
    }
    m_end += qsizetype(got);
    return true;
}

LineReader::Status LineReader::next(QByteArrayView &line)
{
    // A CR that ended the previous line at the end of a block may be followed by the LF of a CR LF.
    if (m_skipLineFeed) {
        if (m_begin == m_end)
            fill();
        if (m_begin < m_end && m_buffer.at(m_begin) == '\n')
            ++m_begin;
        m_skipLineFeed = false;
    }

    qsizetype scanned = 0;
    for (;;) {
        const char *data = m_buffer.constData();
        const char *start = data + m_begin;
        const char *stop = data + m_end;
        const char *lineEnd = findLineEnd(start + scanned, stop);
        if (lineEnd != stop) {
            const qsizetype length = lineEnd - start;
            if (m_maxLength >= 0 && length > m_maxLength)
                return Status::TooLong;
            line = QByteArrayView(start, length);
            m_begin += length + 1;
            if (*lineEnd == '\r') {
                if (m_begin < m_end) {
                    if (data[m_begin] == '\n')
                        ++m_begin;
                } else {
                    m_skipLineFeed = true;
                }
            }
            return Status::Line;
        }
        scanned = m_end - m_begin;
        if (m_maxLength >= 0 && scanned > m_maxLength)
            return Status::TooLong;
        if (!fill()) {
            if (m_failed)
                return Status::ReadError;
            if (m_begin == m_end)
                return Status::End;
            line = QByteArrayView(m_buffer.constData() + m_begin, m_end - m_begin);
            m_begin = m_end;
            return Status::Line;
        }
    }
}
