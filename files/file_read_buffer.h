#pragma once

#include <array>
#include <cstdint>
#include <streambuf>
#include <system_error>

#include "file_ops.h"

namespace tvk {

// A seekable input stream buffer over a file opened by the file layer; it closes the file.
class FileReadBuffer : public std::streambuf {
  public:
    explicit FileReadBuffer(OpenFile file) : m_file(std::move(file)) {}
    ~FileReadBuffer() override { close_file(m_file); }
    FileReadBuffer(const FileReadBuffer&) = delete;
    FileReadBuffer& operator=(const FileReadBuffer&) = delete;

    // The first read that failed; the stream sees it as the end of the file.
    const std::error_code& error() const { return m_error; }

  protected:
    int_type underflow() override;
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

  private:
    static constexpr std::size_t kBufferSize = 64 * 1024;
    // The file offset of the byte at gptr().
    std::uint64_t position() const;

    OpenFile m_file;
    std::array<char, kBufferSize> m_buffer{};
    std::uint64_t m_buffer_start = 0;  // the file offset of m_buffer[0]
    std::error_code m_error;
};

}  // namespace tvk
