#pragma once

#include <cstddef>
#include <string_view>

#include "entry_store.h"
#include "name_text.h"

namespace tvk {

// The editing rules that every front end shares.
enum class EditResult { done, hash_collision, too_many_entries };

// The message a refusal shows; empty for `done`.
std::string_view message_for(EditResult result);

// Puts a new entry at index p (0..count) with `name` and a blank, all-zero screen block. Refused
// when another entry holds the name's hash or the store already holds kMaxEntries entries.
EditResult insert_named_entry(EntryStore& store, std::size_t p, const NameRecord& name);

// Replaces entry i's name record, keeping its screen. Refused when another entry holds the hash.
EditResult rename_entry(EntryStore& store, std::size_t i, const NameRecord& name);

// Moves entry `from` so that it ends at index `to`, the entries between shifting by one.
void move_entry(EntryStore& store, std::size_t from, std::size_t to);

}  // namespace tvk
