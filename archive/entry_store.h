#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "archive_format.h"

namespace tvk {

// Name record (bytes 0..63) followed by the name scratch (64..120), the display copy of the name.
using NameBuffer = std::array<std::uint8_t, kNameBufferSize>;
// One screen block as held in memory, unscrambled.
using ScreenBlock = std::array<std::uint8_t, kBlockSize>;

// The open archive: an ordered list of entries, each a name buffer with its screen block. Each
// buffer is a heap allocation of its own, so reordering moves pointers and never copies bytes.
// A buffer that was never written is not allocated: until then the entry shares one all-zero
// stand-in, so a header that announces many entries past the end of its file costs a pointer per
// entry, not 16 KB. The const accessors read the stand-in; the others allocate the entry's own
// zero-filled buffer on first use, for the caller to write.
class EntryStore {
  public:
    std::size_t count() const { return m_names.size(); }
    void reserve(std::size_t n);

    // Appends an entry whose name buffer and screen block read as zero bytes.
    void append_new_entry();
    void remove_at(std::size_t i);
    void clear();
    void swap_neighbours(std::size_t i);  // exchanges entries i and i + 1
    void move_last_to(std::size_t p);

    NameBuffer& name_buffer(std::size_t i);
    const NameBuffer& name_buffer(std::size_t i) const;
    ScreenBlock& screen_block(std::size_t i);
    const ScreenBlock& screen_block(std::size_t i) const;
    // True while entry i's screen block is the shared all-zero stand-in.
    bool block_is_blank(std::size_t i) const { return !m_blocks[i]; }
    bool name_is_blank(std::size_t i) const { return !m_names[i]; }

    // Rebuilds the name scratch of entry i and returns its NUL-terminated name bytes.
    const char* display_name(std::size_t i);
    std::uint32_t name_hash(std::size_t i) const;
    // True when an entry other than `skip` (-1: none) has this name hash.
    bool name_hash_in_use(std::uint32_t hash, std::ptrdiff_t skip) const;

  private:
    std::vector<std::unique_ptr<NameBuffer>> m_names;
    std::vector<std::unique_ptr<ScreenBlock>> m_blocks;
};

}  // namespace tvk
