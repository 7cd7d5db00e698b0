#include "file_read_buffer.h"

namespace tvk {

std::uint64_t FileReadBuffer::position() const {
    return m_buffer_start + static_cast<std::uint64_t>(gptr() - eback());
}

FileReadBuffer::int_type FileReadBuffer::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    m_buffer_start = position();
    std::size_t count = 0;
    if (!m_error) {
        m_error = read_at(m_file, m_buffer_start, m_buffer.data(), m_buffer.size(), count);
    }
    setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + count);
    return count == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
}

FileReadBuffer::pos_type FileReadBuffer::seekoff(off_type offset, std::ios_base::seekdir direction,
                                                 std::ios_base::openmode which) {
    if (direction == std::ios_base::cur) {
        return seekpos(static_cast<off_type>(position()) + offset, which);
    }
    if (direction == std::ios_base::beg) {
        return seekpos(offset, which);
    }
    return pos_type(off_type(-1));  // from the end: not needed by any reader here
}

FileReadBuffer::pos_type FileReadBuffer::seekpos(pos_type position, std::ios_base::openmode which) {
    if (!(which & std::ios_base::in) || off_type(position) < 0) {
        return pos_type(off_type(-1));
    }
    const auto offset = static_cast<std::uint64_t>(off_type(position));
    const auto held = static_cast<std::uint64_t>(egptr() - eback());
    if (offset >= m_buffer_start && offset < m_buffer_start + held) {
        // Within what was read already: the records are read in order, mostly from the buffer.
        setg(eback(), eback() + (offset - m_buffer_start), egptr());
        return position;
    }
    m_buffer_start = offset;
    setg(m_buffer.data(), m_buffer.data(), m_buffer.data());
    return position;
}

}  // namespace tvk
