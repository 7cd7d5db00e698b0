#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "image_files.h"

namespace tvk {

// Writes rows [first, end) of a picture to `argb`, one row after the other, so that a picture can
// be produced piece by piece on several threads without ever being whole in memory.
using ArgbRows = std::function<void(std::size_t first, std::size_t end, std::uint32_t* argb)>;

inline constexpr std::size_t kMostPaletteColours = 256;

// Colours numbered in the order they are first added, up to kMostPaletteColours.
class ColourNumbers {
  public:
    ColourNumbers() = default;
    explicit ColourNumbers(const std::vector<std::uint32_t>& colours);

    // The colour's number, added when new; kMostPaletteColours when the numbers are used up.
    std::size_t number_of(std::uint32_t argb);
    // The number of a colour that was added.
    std::size_t known_number(std::uint32_t argb) const { return m_slots[slot_of(argb)].number; }
    const std::vector<std::uint32_t>& colours() const { return m_colours; }

  private:
    static constexpr std::size_t kSlotBits = 10;  // four times the most colours: short probes
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    struct Slot {
        std::uint32_t argb = 0;
        std::uint16_t number = 0;
        bool used = false;
    };
    // The slot that holds the colour, or the free one where it would go.
    std::size_t slot_of(std::uint32_t argb) const;

    std::array<Slot, kSlots> m_slots{};
    std::vector<std::uint32_t> m_colours;
};

// The colours of a picture of `height` rows numbered by first appearance, counted in strips of
// `strip_rows` rows on up to `jobs` threads; nullopt beyond kMostPaletteColours.
std::optional<std::vector<std::uint32_t>> palette_of_rows(const PictureSize& size,
                                                          std::size_t strip_rows,
                                                          const ArgbRows& rows, unsigned jobs);

}  // namespace tvk
