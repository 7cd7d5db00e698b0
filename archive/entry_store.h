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
class EntryStore {
  public:
    EntryStore() = default;
    // A store that takes at most `entry_limit` entries and behaves as if memory ran out beyond
    // that: reserve() and append_new_entry() throw std::bad_alloc. It lets a test or the fuzzer
    // reach the out-of-memory path of a load without asking for a gigabyte.
    explicit EntryStore(std::size_t entry_limit) : m_entry_limit(entry_limit) {}

    std::size_t count() const { return m_names.size(); }
    // Throws std::bad_alloc when the entries cannot be had.
    void reserve(std::size_t n);

    // Appends an entry whose two buffers are zero-filled; the caller fills them. Throws
    // std::bad_alloc when memory runs out, leaving the store as it was.
    void append_new_entry();
    void remove_at(std::size_t i);
    void clear();
    void swap_neighbours(std::size_t i);  // exchanges entries i and i + 1
    void move_last_to(std::size_t p);

    NameBuffer& name_buffer(std::size_t i) { return *m_names[i]; }
    const NameBuffer& name_buffer(std::size_t i) const { return *m_names[i]; }
    ScreenBlock& screen_block(std::size_t i) { return *m_blocks[i]; }
    const ScreenBlock& screen_block(std::size_t i) const { return *m_blocks[i]; }

    // Rebuilds the name scratch of entry i and returns its NUL-terminated name bytes.
    const char* display_name(std::size_t i);
    std::uint32_t name_hash(std::size_t i) const;
    // True when an entry other than `skip` (-1: none) has this name hash.
    bool name_hash_in_use(std::uint32_t hash, std::ptrdiff_t skip) const;

  private:
    std::size_t m_entry_limit = SIZE_MAX;
    std::vector<std::unique_ptr<NameBuffer>> m_names;
    std::vector<std::unique_ptr<ScreenBlock>> m_blocks;
};

}  // namespace tvk
