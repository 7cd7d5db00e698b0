#include "entry_store.h"

#include <algorithm>

#include "record.h"

namespace tvk {
namespace {

// Grows the capacity geometrically ahead of a push_back, so that the push_back cannot throw.
template <typename Buffers>
void make_room_for_one(Buffers& buffers) {
    if (buffers.size() == buffers.capacity()) {
        buffers.reserve(std::max<std::size_t>(1, 2 * buffers.size()));
    }
}

template <typename Buffer>
const Buffer& blank() {
    static const Buffer zeros{};
    return zeros;
}

template <typename Buffer>
Buffer& own(std::unique_ptr<Buffer>& buffer) {
    if (!buffer) {
        buffer = std::make_unique<Buffer>();
    }
    return *buffer;
}

}  // namespace

void EntryStore::reserve(std::size_t n) {
    m_names.reserve(n);
    m_blocks.reserve(n);
}

void EntryStore::append_new_entry() {
    // Make room in both sequences first, so a failure leaves the store whole.
    make_room_for_one(m_names);
    make_room_for_one(m_blocks);
    m_names.emplace_back();
    m_blocks.emplace_back();
}

NameBuffer& EntryStore::name_buffer(std::size_t i) {
    return own(m_names[i]);
}

const NameBuffer& EntryStore::name_buffer(std::size_t i) const {
    return m_names[i] ? *m_names[i] : blank<NameBuffer>();
}

ScreenBlock& EntryStore::screen_block(std::size_t i) {
    return own(m_blocks[i]);
}

const ScreenBlock& EntryStore::screen_block(std::size_t i) const {
    return m_blocks[i] ? *m_blocks[i] : blank<ScreenBlock>();
}

void EntryStore::remove_at(std::size_t i) {
    m_names.erase(m_names.begin() + static_cast<std::ptrdiff_t>(i));
    m_blocks.erase(m_blocks.begin() + static_cast<std::ptrdiff_t>(i));
}

void EntryStore::clear() {
    while (!m_names.empty()) {
        remove_at(m_names.size() - 1);
    }
}

void EntryStore::swap_neighbours(std::size_t i) {
    std::swap(m_names[i], m_names[i + 1]);
    std::swap(m_blocks[i], m_blocks[i + 1]);
}

void EntryStore::move_last_to(std::size_t p) {
    const auto at = static_cast<std::ptrdiff_t>(p);
    std::rotate(m_names.begin() + at, m_names.end() - 1, m_names.end());
    std::rotate(m_blocks.begin() + at, m_blocks.end() - 1, m_blocks.end());
}

const char* EntryStore::display_name(std::size_t i) {
    if (!m_names[i]) {
        return "";
    }
    NameBuffer& buffer = *m_names[i];
    buffer[kNameBufferSize - 1] = 0;
    for (std::size_t k = 0; k < kNameLength; ++k) {
        buffer[kScratchOffset + k] = buffer[kNameOffset + k];
        if (buffer[kNameOffset + k] == 0) {
            break;
        }
    }
    return reinterpret_cast<const char*>(buffer.data() + kScratchOffset);
}

std::uint32_t EntryStore::name_hash(std::size_t i) const {
    return record_checksum(name_buffer(i).data(), kRecordChecksumEnd);
}

bool EntryStore::name_hash_in_use(std::uint32_t hash, std::ptrdiff_t skip) const {
    for (std::size_t i = 0; i < count(); ++i) {
        if (static_cast<std::ptrdiff_t>(i) != skip && name_hash(i) == hash) {
            return true;
        }
    }
    return false;
}

}  // namespace tvk
