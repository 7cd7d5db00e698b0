#pragma once

#include <iosfwd>

#include "entry_store.h"

namespace tvk {

inline constexpr int kLoaded = 0;
inline constexpr int kLoadTooShort = 1;     // fewer than 64 bytes at offset 0
inline constexpr int kLoadBadChecksum = 2;  // the header's checksum does not match
inline constexpr int kLoadOutOfMemory = 3;  // the store cannot take the announced entries

// Fills the empty store from an archive stream. Records that the file does not supply read as
// zero bytes. On any non-zero result the store is empty.
int load_archive(EntryStore& store, std::istream& stream);

// Writes the whole store as an archive to a stream standing at offset 0. Afterwards bytes 0..3 of
// every record in the store hold the checksum just written. The caller checks the stream's state.
void save_archive(EntryStore& store, std::ostream& stream);

}  // namespace tvk
