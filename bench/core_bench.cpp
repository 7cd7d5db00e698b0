// Speed of the archive and screen core, each measured against the plain memory copy of the same
// data in the same run. After the usual table it prints each ratio beside its goal. Exits with 1
// only when a benchmark failed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <istream>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "archive_io.h"
#include "memory_stream.h"
#include "record.h"
#include "reference_codec.h"
#include "reference_record.h"
#include "screen_codec.h"
#include "timing_collector.h"

namespace tvk::bench {
namespace {

// Many short repetitions spread each benchmark over time; the fastest of them is compared, so that
// a moment of load on the machine does not decide a ratio.
constexpr int kRepetitions = 15;
constexpr double kSecondsPerRepetition = 0.05;
constexpr std::size_t kBenchColours = 63;
constexpr std::size_t kBenchEntries = kMaxEntries;

std::vector<std::uint8_t> random_bytes(std::size_t length, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(length);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

const ScreenBlock& random_block() {
    static const ScreenBlock block = [] {
        ScreenBlock b{};
        const auto bytes = random_bytes(b.size(), 1);
        std::copy(bytes.begin(), bytes.end(), b.begin());
        return b;
    }();
    return block;
}

// Every pixel drawn at random from 63 colours: the worst case for any guess of the next index.
const PixelGrid& grid_of_63_colours() {
    static const PixelGrid grid = [] {
        std::mt19937 random(2);
        std::vector<ColourValue> colours(kBenchColours);
        for (auto& colour : colours) {
            colour = random() & 0x00FFFFFFu;
        }
        PixelGrid g{};
        for (auto& value : g) {
            value = colours[random() % kBenchColours];
        }
        return g;
    }();
    return grid;
}

// The file bytes of an archive of the most entries that read back, with random screens.
const std::vector<char>& full_archive() {
    static const std::vector<char> bytes = [] {
        EntryStore store;
        for (std::size_t i = 0; i < kBenchEntries; ++i) {
            store.append_new_entry();
            NameBuffer& name = store.name_buffer(i);
            const std::string text = "Screen " + std::to_string(i);
            std::memcpy(name.data() + kNameOffset, text.data(), text.size());
            write_u16(name.data() + kDataSizeOffset, static_cast<std::uint16_t>(kUsedBlockSize));
            store.screen_block(i) = random_block();
            store.screen_block(i)[kPaletteOffset] = static_cast<std::uint8_t>(i);
        }
        std::ostringstream stream;
        save_archive(store, stream);
        const std::string text = std::move(stream).str();
        return std::vector<char>(text.begin(), text.end());
    }();
    return bytes;
}

template <typename Run>
void measure(benchmark::State& state, Run run) {
    for (auto _ : state) {
        run();
        benchmark::ClobberMemory();
    }
}

void memcpy_block(benchmark::State& state) {
    ScreenBlock target{};
    measure(state, [&] {
        std::memcpy(target.data(), random_block().data(), kBlockSize);
        benchmark::DoNotOptimize(target.data());
    });
}

template <std::uint32_t (*Checksum)(const std::uint8_t*, std::size_t)>
void checksum_block(benchmark::State& state) {
    measure(state, [] { benchmark::DoNotOptimize(Checksum(random_block().data(), kBlockSize)); });
}

template <void (*Scramble)(std::uint8_t*, std::size_t)>
void scramble_block(benchmark::State& state) {
    ScreenBlock block = random_block();
    measure(state, [&] {
        Scramble(block.data(), kBlockSize);
        benchmark::DoNotOptimize(block.data());
    });
}

void copy_grid(benchmark::State& state) {
    PixelGrid target{};
    measure(state, [&] {
        target = grid_of_63_colours();
        benchmark::DoNotOptimize(target.data());
    });
}

template <void (*Decode)(const ScreenBlock&, PixelGrid&)>
void decode_block(benchmark::State& state) {
    PixelGrid grid{};
    measure(state, [&] {
        Decode(random_block(), grid);
        benchmark::DoNotOptimize(grid.data());
    });
}

template <int (*Encode)(const PixelGrid&, ScreenBlock&)>
void encode_63_colours(benchmark::State& state) {
    ScreenBlock block{};
    measure(state, [&] { benchmark::DoNotOptimize(Encode(grid_of_63_colours(), block)); });
}

void copy_archive(benchmark::State& state) {
    const std::vector<char>& source = full_archive();
    std::vector<char> target(source.size());
    measure(state, [&] {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
    });
}

void load_save_archive(benchmark::State& state) {
    std::vector<char> source = full_archive();
    std::vector<char> target(source.size());
    measure(state, [&] {
        MemoryStreamBuffer input_buffer(source);
        std::istream input(&input_buffer);
        EntryStore store;
        if (load_archive(store, input) != kLoaded) {
            state.SkipWithError("the archive did not load");
        }
        MemoryStreamBuffer output_buffer(target);
        std::ostream output(&output_buffer);
        save_archive(store, output);
    });
    if (target != source) {
        state.SkipWithError("the saved archive differs from the loaded one");
    }
}

// A header alone that announces 65535 entries: every entry lies past the end of the file and must
// cost no buffers of its own. The counter reports the entries that got a screen block anyway.
void load_announced_entries(benchmark::State& state) {
    std::vector<char> header(kRecordLength, 0);
    auto* bytes = reinterpret_cast<std::uint8_t*>(header.data());
    write_u32(bytes + kEntryCountField, 65535);
    write_u32(bytes + kNameAreaOffsetField, kNameAreaOffset);
    write_u32(bytes + kBlockAreaOffsetField, static_cast<std::uint32_t>(block_area_offset(65535)));
    write_u32(bytes, record_checksum(bytes, kRecordChecksumEnd));
    scramble(bytes, kRecordLength);
    std::size_t own_blocks = 0;
    measure(state, [&] {
        MemoryStreamBuffer input_buffer(header);
        std::istream input(&input_buffer);
        EntryStore store;
        if (load_archive(store, input) != kLoaded || store.count() != 65535) {
            state.SkipWithError("the header did not load");
        }
        own_blocks = 0;
        for (std::size_t i = 0; i < store.count(); ++i) {
            own_blocks += store.block_is_blank(i) ? 0 : 1;
        }
    });
    state.counters["own_blocks"] = static_cast<double>(own_blocks);
    if (own_blocks != 0) {
        state.SkipWithError("entries past the end of the file got blocks of their own");
    }
}

struct Ratio {
    const char* subject;
    const char* baseline;
    double limit;  // 0: reported only
};

constexpr Ratio kRatios[] = {
    {"record_checksum", "memcpy_block", 8},
    {"scramble", "memcpy_block", 2},
    {"decode_screen", "copy_grid", 4},
    {"encode_screen_63_colours", "decode_screen", 3},
    {"load_save_archive", "copy_archive", 0},
    {"load_announced_65535", "copy_archive", 0},
    {"reference_record_checksum", "memcpy_block", 0},
    {"reference_scramble", "memcpy_block", 0},
    {"reference_decode_screen", "copy_grid", 0},
    {"reference_encode_screen_63_colours", "decode_screen", 0},
};

// Prints every ratio whose two benchmarks ran, and whether it meets its goal.
void print_ratios(const TimingCollector& timings) {
    std::printf("\n%-36s %-14s %9s  %s\n", "benchmark", "against", "ratio", "goal");
    for (const Ratio& ratio : kRatios) {
        const double subject = timings.fastest_ns(ratio.subject);
        const double baseline = timings.fastest_ns(ratio.baseline);
        if (subject == 0 || baseline == 0) {
            continue;
        }
        const double value = subject / baseline;
        std::printf("%-36s %-14s %8.2fx  ", ratio.subject, ratio.baseline, value);
        if (ratio.limit == 0) {
            std::printf("(reported)\n");
        } else {
            std::printf("<= %.0fx %s\n", ratio.limit, value <= ratio.limit ? "met" : "MISSED");
        }
    }
}

void register_benchmarks() {
    const auto add = [](const char* name, void (*function)(benchmark::State&)) {
        benchmark::RegisterBenchmark(name, function)
            ->Repetitions(kRepetitions)
            ->MinTime(kSecondsPerRepetition)
            ->ComputeStatistics(kFastest, fastest);
    };
    add("memcpy_block", memcpy_block);
    add("record_checksum", checksum_block<record_checksum>);
    add("reference_record_checksum", checksum_block<reference::record_checksum>);
    add("scramble", scramble_block<scramble>);
    add("reference_scramble", scramble_block<reference::scramble>);
    add("copy_grid", copy_grid);
    add("decode_screen", decode_block<decode_screen>);
    add("reference_decode_screen", decode_block<reference::decode_screen>);
    add("encode_screen_63_colours", encode_63_colours<encode_screen>);
    add("reference_encode_screen_63_colours", encode_63_colours<reference::encode_screen>);
    add("copy_archive", copy_archive);
    add("load_save_archive", load_save_archive);
    add("load_announced_65535", load_announced_entries);
}

}  // namespace
}  // namespace tvk::bench

int main(int argc, char** argv) {
#if defined(__GLIBC__)
    // Otherwise the C library hands the 16 MB of a loaded archive back to the kernel after every
    // iteration and faults it in again in the next one, which measures the kernel, not the load.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    tvk::bench::register_benchmarks();
    tvk::bench::TimingCollector timings;
    benchmark::RunSpecifiedBenchmarks(&timings);
    benchmark::Shutdown();
    tvk::bench::print_ratios(timings);
    // Speed depends on the machine and its load, so a missed goal is reported, not failed;
    // a benchmark that found its data changed is a failure.
    return timings.any_error() ? 1 : 0;
}
