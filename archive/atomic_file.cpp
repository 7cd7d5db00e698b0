#include "atomic_file.h"

#include <array>
#include <ostream>
#include <streambuf>

namespace tvk {
namespace {

// Links followed before giving up on a loop, as the system does.
constexpr int kMaxLinks = 40;
constexpr std::size_t kWriteBufferSize = 64 * 1024;

// Passes what a stream writes on to the file layer in large pieces, keeping the first failure.
class FileWriteBuffer : public std::streambuf {
  public:
    FileWriteBuffer(const FileOps& ops, OpenFile& file) : m_ops(ops), m_file(file) {
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    }
    const std::error_code& error() const { return m_error; }

  protected:
    int_type overflow(int_type ch) override {
        if (sync() != 0) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override {
        const auto count = static_cast<std::size_t>(pptr() - pbase());
        if (!m_error && count != 0) {
            m_error = m_ops.write(m_file, m_position, {pbase(), count});
        }
        m_position += count;
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
        return m_error ? -1 : 0;
    }
    // Writers may go back to fill in what they know only at the end, such as a header.
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override {
        if (direction != std::ios_base::cur) {
            return direction == std::ios_base::beg ? seekpos(offset, which)
                                                   : pos_type(off_type(-1));
        }
        return seekpos(static_cast<off_type>(m_position) + (pptr() - pbase()) + offset, which);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
        if (!(which & std::ios_base::out) || off_type(position) < 0 || sync() != 0) {
            return pos_type(off_type(-1));
        }
        m_position = static_cast<std::uint64_t>(off_type(position));
        return position;
    }

  private:
    const FileOps& m_ops;
    OpenFile& m_file;
    std::array<char, kWriteBufferSize> m_buffer{};
    std::uint64_t m_position = 0;  // the file offset of pbase()
    std::error_code m_error;
};

// Writes the contents into the open temporary and closes it.
std::error_code write_temporary(const FileOps& ops, OpenFile& temporary,
                                const std::function<void(std::ostream&)>& write_contents) {
    FileWriteBuffer buffer(ops, temporary);
    std::ostream stream(&buffer);
    write_contents(stream);
    stream.flush();
    std::error_code error = buffer.error();
    if (!error && !stream) {
        error = std::make_error_code(std::errc::io_error);
    }
    const std::error_code closed = ops.close(temporary, ops.durable && !error);
    return error ? error : closed;
}

}  // namespace

std::filesystem::path file_saved_at(const std::filesystem::path& target) {
    std::filesystem::path file = target;
    std::error_code error;
    for (int i = 0; i < kMaxLinks && std::filesystem::is_symlink(file, error); ++i) {
        const std::filesystem::path link = std::filesystem::read_symlink(file, error);
        if (error) {
            break;
        }
        file = link.is_absolute() ? link : file.parent_path() / link;
    }
    return file;
}

std::error_code save_file_atomically(const std::filesystem::path& target,
                                     const std::function<void(std::ostream&)>& write_contents,
                                     const FileOps& ops) {
    const std::filesystem::path file = file_saved_at(target);
    std::error_code error;
    if (std::filesystem::exists(file, error)) {
        if (const std::error_code refused = ops.check_replaceable(file)) {
            return refused;
        }
    }
    OpenFile temporary;
    if (const std::error_code created = ops.create_temporary(file, temporary)) {
        return created;
    }
    try {
        error = write_temporary(ops, temporary, write_contents);
    } catch (...) {
        // Nothing of a save that ran out of memory is left behind.
        ops.close(temporary, false);
        std::filesystem::remove(temporary.path, error);
        throw;
    }
    if (!error) {
        error = ops.replace(temporary.path, file, ops.durable);
    }
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary.path, ignored);
    }
    return error;
}

std::error_code save_file_in_place(const std::filesystem::path& file, std::string_view bytes,
                                   const FileOps& ops) {
    OpenFile opened;
    if (const std::error_code created = ops.create_in_place(file, opened)) {
        return created;
    }
    // Written over, then cut: emptying the file first would free its blocks only to allocate them
    // again, and some file systems (ext4) then push each file to disk as it is closed.
    std::error_code error = ops.write(opened, 0, bytes);
    if (!error) {
        error = ops.cut(opened, bytes.size());
    }
    const std::error_code closed = ops.close(opened, ops.durable && !error);
    error = error ? error : closed;
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
    return error;
}

}  // namespace tvk
