#include "documents/LineReader.h"

#include <QIODevice>

#include <cstring>

namespace {
constexpr qsizetype BlockSize = 64 * 1024;
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
    m_nextCarriageReturn = -1;
    m_nextLineFeed = -1;
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

qsizetype LineReader::nextOf(char c, qsizetype &cached) const
{
    if (cached < m_begin) {
        const char *data = m_buffer.constData();
        const void *found = std::memchr(data + m_begin, c, size_t(m_end - m_begin));
        cached = found ? static_cast<const char *>(found) - data : m_end;
    }
    return cached;
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

    for (;;) {
        const qsizetype lineEnd = std::min(nextOf('\r', m_nextCarriageReturn), nextOf('\n', m_nextLineFeed));
        const qsizetype length = lineEnd - m_begin;
        if (m_maxLength >= 0 && length > m_maxLength)
            return Status::TooLong;
        if (lineEnd < m_end) {
            const char *data = m_buffer.constData();
            line = QByteArrayView(data + m_begin, length);
            m_begin = lineEnd + 1;
            if (data[lineEnd] == '\r') {
                if (m_begin < m_end) {
                    if (data[m_begin] == '\n')
                        ++m_begin;
                } else {
                    m_skipLineFeed = true;
                }
            }
            return Status::Line;
        }
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
