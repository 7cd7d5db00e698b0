#include "memory_stream.h"

namespace tvk::bench {

MemoryStreamBuffer::MemoryStreamBuffer(std::vector<char>& bytes)
    : m_begin(bytes.data()), m_end(bytes.data() + bytes.size()) {
    setg(m_begin, m_begin, m_end);
    setp(m_begin, m_end);
}

MemoryStreamBuffer::pos_type MemoryStreamBuffer::seekoff(off_type offset,
                                                         std::ios_base::seekdir direction,
                                                         std::ios_base::openmode which) {
    const bool output = (which & std::ios_base::out) != 0;
    off_type base = 0;
    if (direction == std::ios_base::cur) {
        base = output ? pptr() - m_begin : gptr() - m_begin;
    } else if (direction == std::ios_base::end) {
        base = m_end - m_begin;
    }
    return seekpos(pos_type(base + offset), which);
}

MemoryStreamBuffer::pos_type MemoryStreamBuffer::seekpos(pos_type position,
                                                         std::ios_base::openmode which) {
    const off_type at = position;
    if (at < 0 || at > m_end - m_begin) {
        return pos_type(off_type(-1));
    }
    if ((which & std::ios_base::in) != 0) {
        setg(m_begin, m_begin + at, m_end);
    }
    if ((which & std::ios_base::out) != 0) {
        setp(m_begin, m_end);
        pbump(static_cast<int>(at));
    }
    return position;
}

}  // namespace tvk::bench
