#include "entry_editing.h"

#include <algorithm>

#include "messages.h"

namespace tvk {

std::string_view message_for(EditResult result) {
    switch (result) {
        case EditResult::hash_collision:
            return kHashCollision;
        case EditResult::too_many_entries:
            return kTooManyEntries;
        case EditResult::done:
            break;
    }
    return {};
}

EditResult insert_named_entry(EntryStore& store, std::size_t p, const NameRecord& name) {
    if (store.count() >= kMaxEntries) {
        return EditResult::too_many_entries;
    }
    if (store.name_hash_in_use(name.hash, -1)) {
        return EditResult::hash_collision;
    }
    store.append_new_entry();
    store.move_last_to(p);
    store.screen_block(p).fill(0);
    std::copy(name.bytes.begin(), name.bytes.end(), store.name_buffer(p).begin());
    return EditResult::done;
}

EditResult rename_entry(EntryStore& store, std::size_t i, const NameRecord& name) {
    if (store.name_hash_in_use(name.hash, static_cast<std::ptrdiff_t>(i))) {
        return EditResult::hash_collision;
    }
    std::copy(name.bytes.begin(), name.bytes.end(), store.name_buffer(i).begin());
    return EditResult::done;
}

void move_entry(EntryStore& store, std::size_t from, std::size_t to) {
    for (; from < to; ++from) {
        store.swap_neighbours(from);
    }
    for (; from > to; --from) {
        store.swap_neighbours(from - 1);
    }
}

}  // namespace tvk
