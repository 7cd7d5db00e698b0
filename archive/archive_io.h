#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>

#include "entry_store.h"

namespace tvk {

inline constexpr int kLoaded = 0;
inline constexpr int kLoadTooShort = 1;        // fewer than 64 bytes at offset 0
inline constexpr int kLoadBadChecksum = 2;     // the header's checksum does not match
inline constexpr int kLoadTooManyEntries = 3;  // more entries announced than a load takes

// Where the entries of an archive lie, as the reader takes them from the plain header.
struct ArchiveLayout {
    std::uint32_t entry_count = 0;
    std::uint32_t name_area = 0;
    std::uint32_t block_area = 0;
};

// Up to kMaxEntries entries the count and both area offsets are read as 16-bit values, as every
// reader of the format reads them. A 32-bit count above that can only be meant in full (the 16-bit
// reading would misplace the blocks), so then the count and the offsets are read in 32 bits.
ArchiveLayout archive_layout(const std::uint8_t* plain_header);

// The most entries a load takes from a file of `file_size` bytes: every entry whose screen block
// the file could hold, and as many entries past its end as a 16-bit count can announce. Beyond
// that an announced count is taken as damage rather than an archive.
std::uint64_t max_loaded_entries(std::uint64_t file_size);

// Fills the empty store from an archive stream. Records that the file does not supply read as
// zero bytes; entries that lie wholly past the end of the file keep the store's shared stand-ins.
// On any non-zero result the store is empty.
int load_archive(EntryStore& store, std::istream& stream);

// Called before screen block i is written, for a store whose blocks are still being made while the
// archive is written: returns once block i is whole, or throws to abandon the save.
using BlockWait = std::function<void(std::size_t i)>;

// Writes the whole store as an archive to a stream standing at offset 0. Afterwards bytes 0..3 of
// every record in the store hold the checksum just written. The caller checks the stream's state.
void save_archive(EntryStore& store, std::ostream& stream, const BlockWait& wait_for_block = {});

}  // namespace tvk
