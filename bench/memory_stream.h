#pragma once

#include <streambuf>
#include <vector>

namespace tvk::bench {

// A stream buffer over a fixed byte vector, readable, writable and seekable like a file that
// cannot grow: the stand-in for a file that keeps disk and page cache out of the measurement.
class MemoryStreamBuffer : public std::streambuf {
  public:
    explicit MemoryStreamBuffer(std::vector<char>& bytes);

  protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

  private:
    char* m_begin;
    char* m_end;
};

}  // namespace tvk::bench
