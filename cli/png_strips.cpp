#include "png_strips.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "parallel_jobs.h"

namespace tvk {
namespace {

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";
constexpr std::uint8_t kColourTypeRgb = 2;
constexpr std::uint8_t kColourTypePalette = 3;
constexpr int kWindowBits = 15;  // deflate's largest window, 32 KiB
constexpr int kMemoryLevel = 8;  // zlib's default
constexpr std::size_t kRgbBytes = 3;

// The five row filters, by the number each row starts with.
enum Filter : std::uint8_t { kNone, kSub, kUp, kAverage, kPaeth, kFilterCount };

// One strip compressed: an IDAT chunk's data with the CRC of its type and data, and the Adler-32
// and length of the bytes it holds compressed.
struct Strip {
    std::string data;
    uLong crc = 0;
    uLong adler = 0;
    std::size_t length = 0;
};

void put_u32(std::string& out, std::uint32_t value) {
    for (const int shift : {24, 16, 8, 0}) {
        out.push_back(static_cast<char>((value >> shift) & 0xFFu));
    }
}

uLong crc_of(uLong crc, std::string_view bytes) {
    // zlib takes a null pointer, which an empty view may hold, as a request for the initial value.
    if (bytes.empty()) {
        return crc;
    }
    return crc32_z(crc, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
}

// A chunk whose CRC of type and data is known already (computed where its data was made).
void put_chunk(std::string& out, std::string_view type, std::string_view data, uLong crc) {
    put_u32(out, static_cast<std::uint32_t>(data.size()));
    out += type;
    out += data;
    put_u32(out, static_cast<std::uint32_t>(crc));
}

void put_chunk(std::string& out, std::string_view type, std::string_view data) {
    put_chunk(out, type, data, crc_of(crc_of(0, type), data));
}

// The two bytes that open a zlib stream: deflate with a 32 KiB window, the level's class, and
// the check bits that make the pair a multiple of 31.
std::string zlib_header(int level) {
    const unsigned method = 0x78;
    const unsigned level_class = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    unsigned flags = level_class << 6;
    flags += 31 - (method * 256 + flags) % 31;
    return {static_cast<char>(method), static_cast<char>(flags)};
}

// The bytes of `row` less those `predict` expects, into `out`; returns how far they are from zero,
// as signed bytes, in all.
template <typename Predict>
std::uint64_t filter_row(const std::uint8_t* row, std::size_t length, std::uint8_t* out,
                         Predict predict) {
    std::uint64_t cost = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const auto value = static_cast<std::uint8_t>(row[i] - predict(i));
        out[i] = value;
        cost +=
            static_cast<std::uint64_t>(std::abs(static_cast<int>(static_cast<std::int8_t>(value))));
    }
    return cost;
}

// A row of RGB bytes behind kRgbBytes zero bytes, so that the pixel left of the first one reads
// as zero, as the filters want it.
using PaddedRow = std::vector<std::uint8_t>;

// Appends the row to `out` behind its filter byte: each filter is tried and the one whose output,
// read as signed bytes, sums to the least is kept.
void put_filtered_row(const PaddedRow& padded_row, const PaddedRow& padded_above,
                      std::array<std::vector<std::uint8_t>, kFilterCount>& tries,
                      std::vector<std::uint8_t>& out) {
    const std::uint8_t* row = padded_row.data() + kRgbBytes;
    const std::uint8_t* above = padded_above.data() + kRgbBytes;
    const std::size_t length = padded_row.size() - kRgbBytes;
    const std::array<std::uint64_t, kFilterCount> cost{
        filter_row(row, length, tries[kNone].data(), [](std::size_t) { return 0; }),
        filter_row(row, length, tries[kSub].data(),
                   [row](std::size_t i) { return row[i - kRgbBytes]; }),
        filter_row(row, length, tries[kUp].data(), [above](std::size_t i) { return above[i]; }),
        filter_row(row, length, tries[kAverage].data(),
                   [row, above](std::size_t i) { return (row[i - kRgbBytes] + above[i]) / 2; }),
        filter_row(row, length, tries[kPaeth].data(), [row, above](std::size_t i) {
            const int left = row[i - kRgbBytes];
            const int up = above[i];
            const int up_left = above[i - kRgbBytes];
            const int to_left = std::abs(up - up_left);
            const int to_up = std::abs(left - up_left);
            const int to_up_left = std::abs(left + up - 2 * up_left);
            return to_left <= to_up && to_left <= to_up_left ? left
                   : to_up <= to_up_left                     ? up
                                                             : up_left;
        })};
    const auto best =
        static_cast<std::size_t>(std::min_element(cost.begin(), cost.end()) - cost.begin());
    out.push_back(static_cast<std::uint8_t>(best));
    out.insert(out.end(), tries[best].begin(),
               tries[best].begin() + static_cast<std::ptrdiff_t>(length));
}

// The pixels of rows [first, end) as the PNG stream holds them, each row behind its filter byte.
// Palette numbers do not predict each other, so palette rows are stored unfiltered; colour rows
// take whichever filter leaves the smallest differences.
std::vector<std::uint8_t> strip_bytes(const PngLayout& layout, const ColourNumbers& numbers,
                                      std::size_t first, std::size_t end, const ArgbRows& rows) {
    const auto width = static_cast<std::size_t>(layout.width);
    const bool palette = !layout.palette.empty();
    // The row above the strip takes part in the filters of its first row: strips join up exactly
    // as one piece would.
    const std::size_t above_rows = !palette && first > 0 ? 1 : 0;
    std::vector<std::uint32_t> argb((end - first + above_rows) * width);
    rows(first - above_rows, end, argb.data());
    std::vector<std::uint8_t> out;
    if (palette) {
        out.reserve((end - first) * (width + 1));
        for (std::size_t row = 0; row < end - first; ++row) {
            out.push_back(kNone);
            const std::uint32_t* pixels = argb.data() + row * width;
            // Runs of one colour are common: only a change of colour is looked up.
            std::uint32_t colour = ~pixels[0];
            std::uint8_t number = 0;
            for (std::size_t x = 0; x < width; ++x) {
                if (pixels[x] != colour) {
                    colour = pixels[x];
                    number = static_cast<std::uint8_t>(numbers.known_number(colour));
                }
                out.push_back(number);
            }
        }
        return out;
    }
    const std::size_t length = width * kRgbBytes;
    out.reserve((end - first) * (length + 1));
    PaddedRow above(kRgbBytes + length, 0);
    PaddedRow row(kRgbBytes + length, 0);
    const auto rgb_of = [&argb, width](std::size_t index, PaddedRow& bytes) {
        const std::uint32_t* pixels = argb.data() + index * width;
        std::uint8_t* rgb = bytes.data() + kRgbBytes;
        for (std::size_t x = 0; x < width; ++x) {
            rgb[kRgbBytes * x] = static_cast<std::uint8_t>(pixels[x] >> 16);
            rgb[kRgbBytes * x + 1] = static_cast<std::uint8_t>(pixels[x] >> 8);
            rgb[kRgbBytes * x + 2] = static_cast<std::uint8_t>(pixels[x]);
        }
    };
    if (above_rows != 0) {
        rgb_of(0, above);
    }
    std::array<std::vector<std::uint8_t>, kFilterCount> tries;
    for (auto& candidate : tries) {
        candidate.resize(length);
    }
    for (std::size_t index = above_rows; index < argb.size() / width; ++index) {
        rgb_of(index, row);
        put_filtered_row(row, above, tries, out);
        std::swap(row, above);
    }
    return out;
}

struct DeflateEnd {
    void operator()(z_stream* stream) const { deflateEnd(stream); }
};

// The bytes as raw deflate blocks: ended by a flush to a byte boundary, so that the next strip's
// blocks can follow, or for the last strip by the final block.
void deflate_into(const std::vector<std::uint8_t>& bytes, bool last, int strategy,
                  std::string& out) {
    z_stream stream{};
    if (deflateInit2(&stream, kPngCompression, Z_DEFLATED, -kWindowBits, kMemoryLevel, strategy) !=
        Z_OK) {
        throw std::bad_alloc();
    }
    const std::unique_ptr<z_stream, DeflateEnd> owner(&stream);
    const std::size_t start = out.size();
    // Room for the worst case and the flush's few bytes; grown if ever short.
    std::size_t room = deflateBound(&stream, static_cast<uLong>(bytes.size())) + 16;
    out.resize(start + room);
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data() + start);
    stream.avail_out = static_cast<uInt>(room);
    for (;;) {
        const int result = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
        if (result == Z_STREAM_END || (result == Z_OK && stream.avail_out != 0)) {
            break;
        }
        if (result != Z_OK && result != Z_BUF_ERROR) {
            throw std::bad_alloc();
        }
        const std::size_t used = room - stream.avail_out;
        out.resize(start + 2 * room);
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + start + used);
        stream.avail_out = static_cast<uInt>(2 * room - used);
        room *= 2;
    }
    out.resize(start + room - stream.avail_out);
}

}  // namespace

std::string png_in_strips(const PngLayout& layout, std::size_t strip_rows, const ArgbRows& rows,
                          unsigned jobs) {
    const auto height = static_cast<std::size_t>(layout.height);
    const std::size_t count = (height + strip_rows - 1) / strip_rows;
    const bool palette = !layout.palette.empty();
    const ColourNumbers numbers(layout.palette);
    std::vector<Strip> strips(count);
    // As for filtered rows, deflate looks for short matches rather than long ones.
    const int strategy = palette ? Z_DEFAULT_STRATEGY : Z_FILTERED;
    run_jobs(count, jobs, [&](std::size_t i) {
        const std::size_t first = i * strip_rows;
        const std::vector<std::uint8_t> bytes =
            strip_bytes(layout, numbers, first, std::min(height, first + strip_rows), rows);
        Strip& strip = strips[i];
        strip.adler = adler32_z(adler32_z(0, nullptr, 0), bytes.data(), bytes.size());
        strip.length = bytes.size();
        if (i == 0) {
            strip.data = zlib_header(kPngCompression);
        }
        deflate_into(bytes, i + 1 == count, strategy, strip.data);
        strip.crc = crc_of(crc_of(0, "IDAT"), strip.data);
        return std::string();
    });
    // The zlib stream ends with the Adler-32 of everything it holds, put together from the strips'.
    uLong adler = strips[0].adler;
    for (std::size_t i = 1; i < count; ++i) {
        adler = adler32_combine(adler, strips[i].adler, static_cast<z_off_t>(strips[i].length));
    }
    std::string trailer;
    put_u32(trailer, static_cast<std::uint32_t>(adler));
    Strip& last = strips.back();
    last.data += trailer;
    last.crc = crc32_combine(last.crc, crc_of(0, trailer), static_cast<z_off_t>(trailer.size()));

    std::string header;
    put_u32(header, static_cast<std::uint32_t>(layout.width));
    put_u32(header, static_cast<std::uint32_t>(layout.height));
    // 8 bits a sample; deflate; the five filters; not interlaced.
    header += {8, static_cast<char>(palette ? kColourTypePalette : kColourTypeRgb), 0, 0, 0};
    std::string png(kPngSignature);
    put_chunk(png, "IHDR", header);
    if (palette) {
        std::string colours;
        for (const std::uint32_t argb : layout.palette) {
            colours += {static_cast<char>(argb >> 16), static_cast<char>(argb >> 8),
                        static_cast<char>(argb)};
        }
        put_chunk(png, "PLTE", colours);
    }
    std::size_t size = png.size() + 12;
    for (const Strip& strip : strips) {
        size += strip.data.size() + 12;
    }
    png.reserve(size);
    for (const Strip& strip : strips) {
        put_chunk(png, "IDAT", strip.data, strip.crc);
    }
    put_chunk(png, "IEND", {});
    return png;
}

}  // namespace tvk
