#include "sample_screens.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

#include "entry_editing.h"
#include "name_text.h"
#include "screen_codec.h"

namespace tvk {
namespace {

constexpr int kWidth = kScreenWidth;
constexpr int kHeight = kScreenHeight;

// Colours are written 0xRRGGBB here and stored as colour values (red in the low byte).
constexpr ColourValue rgb(std::uint32_t hex) {
    return ((hex >> 16) & 0xFFu) | (hex & 0xFF00u) | ((hex & 0xFFu) << 16);
}

// A colour between a and b, t from 0 to steps - 1; few steps keep the palette small.
ColourValue blend(std::uint32_t a, std::uint32_t b, int t, int steps) {
    const auto channel = [&](int shift) {
        const int from = static_cast<int>((a >> shift) & 0xFFu);
        const int to = static_cast<int>((b >> shift) & 0xFFu);
        return static_cast<std::uint32_t>(from + (to - from) * t / std::max(1, steps - 1)) << shift;
    };
    return rgb(channel(16) | channel(8) | channel(0));
}

void put(PixelGrid& grid, int x, int y, ColourValue colour) {
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) {
        grid[grid_index(static_cast<std::size_t>(x), static_cast<std::size_t>(y))] = colour;
    }
}

void fill_rect(PixelGrid& grid, int left, int top, int width, int height, ColourValue colour) {
    for (int x = left; x < left + width; ++x) {
        for (int y = top; y < top + height; ++y) {
            put(grid, x, y, colour);
        }
    }
}

// A small deterministic generator, so the sample is the same on every build.
struct Random {
    std::uint32_t state;
    int below(int n) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 16) % static_cast<std::uint32_t>(n));
    }
};

// Sky bands from `top_colour` down to `bottom_colour`.
void sky(PixelGrid& grid, int height, std::uint32_t top_colour, std::uint32_t bottom_colour,
         int bands) {
    for (int y = 0; y < height; ++y) {
        fill_rect(grid, 0, y, kWidth, 1,
                  blend(top_colour, bottom_colour, y * bands / height, bands));
    }
}

// 5 x 7 block letters.
struct Glyph {
    char letter;
    std::array<std::string_view, 7> rows;
};
constexpr std::array<Glyph, 6> kGlyphs = {{
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'V', {"#...#", "#...#", "#...#", ".#.#.", ".#.#.", ".#.#.", "..#.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'I', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"}},
}};
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Each row of a letter gets its own shade of the ramp; a shadow falls one block down and right.
void block_text(PixelGrid& grid, std::string_view text, int left, int top, int block, int gap,
                std::uint32_t light, std::uint32_t dark, ColourValue shadow) {
    for (const bool shadow_pass : {true, false}) {
        int x0 = left;
        for (const char c : text) {
            const auto glyph = std::find_if(kGlyphs.begin(), kGlyphs.end(),
                                            [c](const Glyph& g) { return g.letter == c; });
            for (int row = 0; row < kGlyphHeight; ++row) {
                for (int col = 0; col < kGlyphWidth; ++col) {
                    if (glyph->rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] !=
                        '#') {
                        continue;
                    }
                    const int offset = shadow_pass ? std::max(1, block / 3) : 0;
                    fill_rect(grid, x0 + col * block + offset, top + row * block + offset, block,
                              block, shadow_pass ? shadow : blend(light, dark, row, kGlyphHeight));
                }
            }
            x0 += kGlyphWidth * block + gap;
        }
    }
}

void draw_title_card(PixelGrid& grid) {
    sky(grid, kHeight, 0x0B0B2B, 0x4B1D6B, 8);
    Random random{7};
    for (int i = 0; i < 60; ++i) {
        put(grid, random.below(kWidth), random.below(kHeight),
            random.below(3) == 0 ? rgb(0xFFF2A8) : rgb(0xC8D0FF));
    }
    block_text(grid, "TVK", 8, 14, 5, 4, 0xFFE45C, 0xFF7A1A, rgb(0x05050F));
    block_text(grid, "EDIT", 32, 72, 2, 4, 0x8CF0FF, 0x2A8CFF, rgb(0x05050F));
    // A thin rule between the two words.
    fill_rect(grid, 20, 63, 80, 1, rgb(0xFFB347));
}

void draw_sunset_lake(PixelGrid& grid) {
    constexpr int kHorizon = 70;
    sky(grid, kHorizon, 0x2B1055, 0xFF9A3C, 12);
    // The sun sinking behind the far hills.
    for (int x = 0; x < kWidth; ++x) {
        for (int y = 0; y < kHorizon; ++y) {
            const int dx = x - 78;
            const int dy = y - 58;
            if (dx * dx + dy * dy <= 15 * 15) {
                put(grid, x, y, rgb(dx * dx + dy * dy <= 11 * 11 ? 0xFFF1B0 : 0xFFD36B));
            }
        }
    }
    for (int x = 0; x < kWidth; ++x) {
        const int far =
            52 + static_cast<int>(6.0 * std::sin(x * 0.09) + 4.0 * std::sin(x * 0.23 + 1));
        const int near =
            60 + static_cast<int>(5.0 * std::sin(x * 0.05 + 2) + 3.0 * std::sin(x * 0.31));
        fill_rect(grid, x, far, 1, kHorizon - far, rgb(0x5A2E6E));
        fill_rect(grid, x, near, 1, kHorizon - near, rgb(0x2E1740));
    }
    // The lake mirrors the sky, darker, broken by ripples.
    Random random{11};
    for (int y = kHorizon; y < kHeight; ++y) {
        const int mirrored = kHorizon - 1 - (y - kHorizon) * kHorizon / (kHeight - kHorizon);
        const ColourValue water = blend(0x1A0B3A, 0xC0603A, mirrored * 6 / kHorizon, 6);
        fill_rect(grid, 0, y, kWidth, 1, water);
        for (int i = 0; i < 3; ++i) {
            fill_rect(grid, random.below(kWidth), y, 3 + random.below(8), 1, rgb(0xFFC878));
        }
    }
    fill_rect(grid, 0, kHorizon, kWidth, 1, rgb(0x1A0B2A));
}

void draw_checker_floor(PixelGrid& grid) {
    constexpr int kHorizon = 44;
    constexpr int kFogSteps = 6;
    sky(grid, kHorizon, 0x0E3B8C, 0x9FD4FF, 10);
    for (int y = kHorizon; y < kHeight; ++y) {
        const double depth = 900.0 / (y - kHorizon + 1);
        // Far squares fade into the sky's lowest colour.
        const int fog = std::min(kFogSteps - 1, static_cast<int>(depth / 30.0));
        for (int x = 0; x < kWidth; ++x) {
            const double across = (x - kWidth / 2 + 0.5) * depth / 60.0;
            const bool light = (static_cast<int>(std::floor(across / 6.0)) +
                                static_cast<int>(std::floor(depth / 12.0))) %
                                   2 ==
                               0;
            put(grid, x, y, blend(light ? 0xF4F1E6 : 0xB2202C, 0x9FD4FF, fog, kFogSteps));
        }
    }
}

// Every colour a screen may hold at once: nine hues in seven shades, 63 colours.
void draw_colours(PixelGrid& grid) {
    constexpr std::array<std::uint32_t, 9> kHues = {
        0xFF2A2A, 0xFF8A1F, 0xFFE02E, 0x6BE03A, 0x1FB86B, 0x21C8E0, 0x2A5CFF, 0x8A3AFF, 0xFF3AB8};
    constexpr int kShades = 7;
    for (int x = 0; x < kWidth; ++x) {
        const std::uint32_t hue = kHues[static_cast<std::size_t>(x * 9 / kWidth)];
        for (int y = 0; y < kHeight; ++y) {
            const int shade = y * kShades / kHeight;
            // Three tints from white, the hue itself, then three shades towards black.
            put(grid, x, y,
                shade <= 3 ? blend(0xFFFFFF, hue, shade + 1, 5)
                           : blend(hue, 0x000000, shade - 3, 5));
        }
    }
}

void draw_night_street(PixelGrid& grid) {
    sky(grid, kHeight, 0x03051A, 0x1C2A5A, 5);
    Random random{23};
    for (int i = 0; i < 40; ++i) {
        put(grid, random.below(kWidth), random.below(50), rgb(0xD8E0FF));
    }
    // A crescent moon.
    for (int x = 86; x < 106; ++x) {
        for (int y = 6; y < 26; ++y) {
            const int ax = x - 96, ay = y - 16, bx = x - 101, by = y - 13;
            if (ax * ax + ay * ay <= 81 && bx * bx + by * by > 64) {
                put(grid, x, y, rgb(0xFFF6C8));
            }
        }
    }
    // Houses of the street, their windows lit at random.
    int x = 0;
    while (x < kWidth) {
        const int width = 14 + random.below(12);
        const int top = 40 + random.below(36);
        const ColourValue wall = random.below(2) == 0 ? rgb(0x1A1A2E) : rgb(0x24213A);
        fill_rect(grid, x, top, width - 1, kHeight - top, wall);
        for (int wy = top + 4; wy < kHeight - 14; wy += 8) {
            for (int wx = x + 3; wx + 3 < x + width - 1; wx += 6) {
                const int lit = random.below(5);
                fill_rect(grid, wx, wy, 3, 4,
                          lit == 0 ? rgb(0x0D0D18) : (lit < 3 ? rgb(0xFFD25A) : rgb(0xFFA43A)));
            }
        }
        x += width;
    }
    // The café at street level, its awning striped.
    fill_rect(grid, 30, 92, 60, 20, rgb(0x3A1F1A));
    for (int i = 0; i < 60; i += 6) {
        fill_rect(grid, 30 + i, 88, 3, 5, rgb(0xE03A3A));
        fill_rect(grid, 33 + i, 88, 3, 5, rgb(0xF4F1E6));
    }
    fill_rect(grid, 36, 97, 20, 12, rgb(0xFFB347));
    fill_rect(grid, 64, 97, 20, 12, rgb(0xFFB347));
    fill_rect(grid, 0, kHeight - 3, kWidth, 3, rgb(0x2B2B33));
}

constexpr std::array<SampleScreen, 5> kSampleScreens = {{
    {"Title Card", draw_title_card},
    {"Sunset Lake", draw_sunset_lake},
    {"Checker Floor", draw_checker_floor},
    {"63 Colours", draw_colours},
    {"Night Caf\u00e9", draw_night_street},
}};

}  // namespace

std::span<const SampleScreen> sample_screens() {
    return kSampleScreens;
}

std::string build_sample_archive(EntryStore& store) {
    for (const SampleScreen& screen : sample_screens()) {
        const ParsedName name = parse_utf8_name(screen.name);
        if (!name.record) {
            return name.error;
        }
        const std::size_t index = store.count();
        if (insert_named_entry(store, index, *name.record) != EditResult::done) {
            return "the name of \"" + std::string(screen.name) + "\" is refused";
        }
        auto grid = std::make_unique<PixelGrid>();
        screen.draw(*grid);
        if (encode_screen(*grid, store.screen_block(index)) != kEncoded) {
            return std::string(1, '"').append(screen.name).append("\" has more than 63 colours");
        }
    }
    return {};
}

}  // namespace tvk
