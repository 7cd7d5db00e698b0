#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "entry_store.h"

// Small builders for archive tests: stores with known entries and archives as byte strings.
namespace tvk::test {

using Bytes = std::vector<std::uint8_t>;

// Appends an entry named `name`, data size 10344, whose screen block is filled from `seed`.
void append_entry(EntryStore& store, const std::string& name, unsigned seed);
// A store of `count` entries named "Entry 0", "Entry 1", ...
EntryStore store_of(std::size_t count);

Bytes save_to_bytes(EntryStore& store);
// Loads `bytes` into `store` through an in-memory stream; returns the load result.
int load_from_bytes(EntryStore& store, const Bytes& bytes);

// A 64-byte plain header with every field as the writer fills it for `count` entries.
Bytes plain_header(std::uint32_t count);
// Checksums and scrambles a plain 64-byte record, as it is stored in a file.
Bytes stored_record(Bytes plain);

}  // namespace tvk::test
