#include "screen_codec.h"

#include <algorithm>

#include "record.h"
#include "tile_order.h"

namespace tvk {
namespace {

// One tile row of 8 pixels takes 48 bits: three 16-bit stream words, 6 bytes.
constexpr std::size_t kRowBytes = kTileWidth * kIndexBits / 8;
constexpr std::uint64_t kIndexMask = (1u << kIndexBits) - 1;

std::uint64_t read_row_bits(const std::uint8_t* stream) {
    std::uint64_t bits = 0;
    for (std::size_t word = 0; word < kRowBytes / 2; ++word) {
        const unsigned value = stream[2 * word] << 8 | stream[2 * word + 1];
        bits |= std::uint64_t{value} << (16 * word);
    }
    return bits;
}

void write_row_bits(std::uint8_t* stream, std::uint64_t bits) {
    for (std::size_t word = 0; word < kRowBytes / 2; ++word) {
        const auto value = static_cast<unsigned>(bits >> (16 * word));
        stream[2 * word] = static_cast<std::uint8_t>(value >> 8);
        stream[2 * word + 1] = static_cast<std::uint8_t>(value);
    }
}

// First pixel of tile t in the grid; the tile's pixel (c, r) is kScreenHeight * c + r further on.
std::size_t tile_origin(std::size_t t) {
    return grid_index(kTileOrder[2 * t], kTileOrder[2 * t + 1]);
}

// Palette index of each colour seen so far, by open addressing on the colour's 24 bits. A slot
// holds the colour in bits 0-23 and its index in bits 24-31; indices start at 1, so an empty slot
// is 0. The table is large enough that 63 colours rarely share a slot.
class ColourIndex {
  public:
    // The index of `colour` (bits 24-31 zero), or 0 when it has none yet.
    unsigned find(ColourValue colour, std::size_t& slot) const {
        slot = home(colour);
        while (m_slots[slot] != 0) {
            if ((m_slots[slot] & kColourBits) == colour) {
                return m_slots[slot] >> kIndexShift;
            }
            slot = (slot + 1) % kSlots;
        }
        return 0;
    }
    void add(std::size_t slot, ColourValue colour, unsigned index) {
        m_slots[slot] = colour | index << kIndexShift;
    }

  private:
    static constexpr std::size_t kSlotBits = 10;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    static constexpr std::uint32_t kColourBits = 0x00FFFFFF;
    static constexpr unsigned kIndexShift = 24;
    static std::size_t home(ColourValue colour) {
        return (colour * 0x9E3779B1u) >> (32 - kSlotBits);  // multiplicative hashing
    }
    std::array<std::uint32_t, kSlots> m_slots{};
};

}  // namespace

void decode_screen(const ScreenBlock& block, PixelGrid& grid) {
    std::array<ColourValue, kPaletteEntries> colours{};
    for (std::size_t n = 0; n < kPaletteEntries; ++n) {
        colours[n] = colour_from_palette_entry(read_u32(block.data() + kPaletteOffset + 4 * n));
    }
    const std::uint8_t* stream = block.data() + kPixelStreamOffset;
    for (std::size_t t = 0; t < kTileCount; ++t) {
        ColourValue* tile = grid.data() + tile_origin(t);
        for (std::size_t r = 0; r < kTileHeight; ++r, stream += kRowBytes) {
            const std::uint64_t bits = read_row_bits(stream);
            for (std::size_t c = 0; c < kTileWidth; ++c) {
                tile[kScreenHeight * c + r] = colours[(bits >> (kIndexBits * c)) & kIndexMask];
            }
        }
    }
}

int encode_screen(const PixelGrid& grid, ScreenBlock& block) {
    std::fill(block.begin(), block.end(), std::uint8_t{0});
    ColourIndex indices;
    unsigned next_free = 1;
    std::uint8_t* stream = block.data() + kPixelStreamOffset;
    for (std::size_t t = 0; t < kTileCount; ++t) {
        const ColourValue* tile = grid.data() + tile_origin(t);
        for (std::size_t r = 0; r < kTileHeight; ++r, stream += kRowBytes) {
            std::uint64_t bits = 0;
            for (std::size_t c = 0; c < kTileWidth; ++c) {
                // Colours that differ only in bits 24-31 have one palette entry.
                const ColourValue colour = tile[kScreenHeight * c + r] & 0x00FFFFFFu;
                std::size_t slot = 0;
                unsigned index = indices.find(colour, slot);
                if (index == 0) {
                    if (next_free == kPaletteEntries) {
                        return kTooManyColours;
                    }
                    index = next_free++;
                    indices.add(slot, colour, index);
                    write_u32(block.data() + kPaletteOffset + 4 * index,
                              palette_entry_from_colour(colour));
                }
                bits |= std::uint64_t{index} << (kIndexBits * c);
            }
            write_row_bits(stream, bits);
        }
    }
    return kEncoded;
}

}  // namespace tvk
