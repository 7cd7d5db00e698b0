#include "screen_codec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>
#include <utility>

#include "record.h"
#include "tile_order.h"

namespace tvk {
namespace {

// One tile row of 8 pixels takes 48 bits: three 16-bit stream words, 6 bytes.
constexpr std::size_t kRowBytes = kTileWidth * kIndexBits / 8;
constexpr std::uint64_t kIndexMask = (1u << kIndexBits) - 1;
// The low byte of each 16-bit word of a row.
constexpr std::uint64_t kLowBytes = 0x00FF00FF00FF;

// Exchanges the two bytes of each 16-bit word of a row: stream words are stored high byte first.
constexpr std::uint64_t swap_word_bytes(std::uint64_t row) {
    return ((row & kLowBytes) << 8) | ((row >> 8) & kLowBytes);
}

// A row's 6 bytes as a number, first byte lowest. Little-endian machines load it in one go.
std::uint64_t load_row(const std::uint8_t* stream) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint32_t low = 0;
        std::uint16_t high = 0;
        std::memcpy(&low, stream, sizeof low);
        std::memcpy(&high, stream + sizeof low, sizeof high);
        return low | std::uint64_t{high} << 32;
    } else {
        std::uint64_t bytes = 0;
        for (std::size_t k = 0; k < kRowBytes; ++k) {
            bytes |= std::uint64_t{stream[k]} << (8 * k);
        }
        return bytes;
    }
}

void store_row(std::uint8_t* stream, std::uint64_t bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        const auto low = static_cast<std::uint32_t>(bytes);
        const auto high = static_cast<std::uint16_t>(bytes >> 32);
        std::memcpy(stream, &low, sizeof low);
        std::memcpy(stream + sizeof low, &high, sizeof high);
    } else {
        for (std::size_t k = 0; k < kRowBytes; ++k) {
            stream[k] = static_cast<std::uint8_t>(bytes >> (8 * k));
        }
    }
}

// Calls visit(std::integral_constant<std::size_t, c>) for each column c of a tile row, unrolled,
// so that every column's shift and grid offset is a constant.
template <typename Visit, std::size_t... Columns>
void for_each_column(Visit&& visit, std::index_sequence<Columns...>) {
    (visit(std::integral_constant<std::size_t, Columns>{}), ...);
}
template <typename Visit>
void for_each_column(Visit&& visit) {
    for_each_column(visit, std::make_index_sequence<kTileWidth>{});
}

// First pixel of tile t in the grid; the tile's pixel (c, r) is kScreenHeight * c + r further on.
std::size_t tile_origin(std::size_t t) {
    return grid_index(kTileOrder[2 * t], kTileOrder[2 * t + 1]);
}

// The palette that encoding builds: each colour seen so far with its index, found by open
// addressing. A slot holds the colour shifted up by 8 bits, which drops bits 24-31, with its index
// in the low byte; an empty slot holds kEmpty. XOR of a slot with a colour's key therefore gives
// the index when the slot holds that colour, and at least 64 otherwise.
class PaletteBuilder {
  public:
    explicit PaletteBuilder(ScreenBlock& block) : m_block(block) { m_slots.fill(kEmpty); }

    // The colour's palette index, numbering a new colour with the next free index and storing it
    // in the block's palette. A 64th colour gets index 0 and marks the palette overflowed.
    unsigned index_of(ColourValue colour) {
        const std::uint32_t key = colour << 8;
        const std::size_t slot = home(key);
        const std::uint32_t found = m_slots[slot] ^ key;
        if (found < kPaletteEntries) {
            return found;  // the common case: one look
        }
        return probe(key, slot);
    }

    bool overflowed() const { return m_overflowed; }

  private:
    static constexpr std::size_t kSlotBits = 10;  // 1024 slots: 63 colours rarely share one
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    static constexpr std::uint32_t kEmpty = 0xFF;

    static std::size_t home(std::uint32_t key) {
        return (key * 0x9E3779B1u) >> (32 - kSlotBits);  // multiplicative hashing
    }

    unsigned probe(std::uint32_t key, std::size_t slot) {
        for (; m_slots[slot] != kEmpty; slot = (slot + 1) % kSlots) {
            const std::uint32_t found = m_slots[slot] ^ key;
            if (found < kPaletteEntries) {
                return found;
            }
        }
        if (m_next_free == kPaletteEntries) {
            m_overflowed = true;
            return 0;
        }
        const unsigned index = m_next_free++;
        m_slots[slot] = key | index;
        write_u32(m_block.data() + kPaletteOffset + 4 * index, palette_entry_from_colour(key >> 8));
        return index;
    }

    ScreenBlock& m_block;
    std::array<std::uint32_t, kSlots> m_slots;
    unsigned m_next_free = 1;  // palette entry 0 is never assigned
    bool m_overflowed = false;
};

// Calls store(grid offset, palette slot) for every pixel of the block's stream.
template <typename Store>
void for_each_slot(const ScreenBlock& block, Store&& store) {
    const std::uint8_t* stream = block.data() + kPixelStreamOffset;
    for (std::size_t t = 0; t < kTileCount; ++t) {
        const std::size_t origin = tile_origin(t);
        for (std::size_t r = 0; r < kTileHeight; ++r, stream += kRowBytes) {
            const std::uint64_t bits = swap_word_bytes(load_row(stream));
            for_each_column([&](auto c) {
                store(origin + kScreenHeight * c + r,
                      static_cast<std::uint8_t>((bits >> (kIndexBits * c)) & kIndexMask));
            });
        }
    }
}

}  // namespace

void decode_screen(const ScreenBlock& block, PixelGrid& grid) {
    std::array<ColourValue, kPaletteEntries> colours{};
    for (std::size_t n = 0; n < kPaletteEntries; ++n) {
        colours[n] = colour_from_palette_entry(read_u32(block.data() + kPaletteOffset + 4 * n));
    }
    for_each_slot(block, [&](std::size_t at, std::uint8_t slot) { grid[at] = colours[slot]; });
}

void decode_screen_slots(const ScreenBlock& block, SlotGrid& slots) {
    for_each_slot(block, [&](std::size_t at, std::uint8_t slot) { slots[at] = slot; });
}

int encode_screen(const PixelGrid& grid, ScreenBlock& block) {
    std::fill(block.begin(), block.end(), std::uint8_t{0});
    PaletteBuilder palette(block);
    std::uint8_t* stream = block.data() + kPixelStreamOffset;
    for (std::size_t t = 0; t < kTileCount; ++t) {
        const ColourValue* tile = grid.data() + tile_origin(t);
        for (std::size_t r = 0; r < kTileHeight; ++r, stream += kRowBytes) {
            std::uint64_t bits = 0;
            for_each_column([&](auto c) {
                bits |= std::uint64_t{palette.index_of(tile[kScreenHeight * c + r])}
                        << (kIndexBits * c);
            });
            if (palette.overflowed()) {
                return kTooManyColours;
            }
            store_row(stream, swap_word_bytes(bits));
        }
    }
    return kEncoded;
}

}  // namespace tvk
