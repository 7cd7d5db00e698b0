#include "picture_palette.h"

#include <algorithm>
#include <memory>
#include <string>

#include "parallel_jobs.h"

namespace tvk {

ColourNumbers::ColourNumbers(const std::vector<std::uint32_t>& colours) {
    for (const std::uint32_t argb : colours) {
        number_of(argb);
    }
}

std::size_t ColourNumbers::slot_of(std::uint32_t argb) const {
    std::size_t at = (argb * 0x9E3779B1u) >> (32 - kSlotBits);
    while (m_slots[at].used && m_slots[at].argb != argb) {
        at = (at + 1) % kSlots;
    }
    return at;
}

std::size_t ColourNumbers::number_of(std::uint32_t argb) {
    Slot& slot = m_slots[slot_of(argb)];
    if (!slot.used) {
        if (m_colours.size() == kMostPaletteColours) {
            return kMostPaletteColours;
        }
        slot = {argb, static_cast<std::uint16_t>(m_colours.size()), true};
        m_colours.push_back(argb);
    }
    return slot.number;
}

std::optional<std::vector<std::uint32_t>> palette_of_rows(const PictureSize& size,
                                                          std::size_t strip_rows,
                                                          const ArgbRows& rows, unsigned jobs) {
    const auto width = static_cast<std::size_t>(size.width);
    const auto height = static_cast<std::size_t>(size.height);
    const std::size_t strips = (height + strip_rows - 1) / strip_rows;
    std::vector<std::vector<std::uint32_t>> strip_colours(strips);
    // Each strip numbers its colours by their first appearance in the strip.
    const auto number_strip = [&](std::size_t strip) -> std::string {
        const std::size_t first = strip * strip_rows;
        const std::size_t end = std::min(height, first + strip_rows);
        std::vector<std::uint32_t> argb((end - first) * width);
        rows(first, end, argb.data());
        auto numbers = std::make_unique<ColourNumbers>();
        // Runs of one colour are common: only a change of colour is looked up.
        std::uint32_t colour = ~argb[0];
        for (const std::uint32_t pixel : argb) {
            if (pixel != colour) {
                colour = pixel;
                if (numbers->number_of(colour) == kMostPaletteColours) {
                    return "too many colours";
                }
            }
        }
        strip_colours[strip] = numbers->colours();
        return {};
    };
    if (run_jobs(strips, jobs, number_strip)) {
        return std::nullopt;
    }
    // The strips in order give the colours in order of first appearance in the whole picture.
    ColourNumbers numbers;
    for (const std::vector<std::uint32_t>& colours : strip_colours) {
        for (const std::uint32_t argb : colours) {
            if (numbers.number_of(argb) == kMostPaletteColours) {
                return std::nullopt;
            }
        }
    }
    return numbers.colours();
}

}  // namespace tvk
