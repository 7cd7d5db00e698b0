// Speed of tvk's picture work: unpack, pack and sheet of a full archive on one thread against one
// per core, in the same run, and the cost of encoding one screen as an RGB or a palette PNG at
// each compression level with the file's size. After the usual table it prints each ratio beside
// its goal and the sizes. Exits with 1 only when a benchmark failed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "archive_io.h"
#include "cli_context.h"
#include "parallel_jobs.h"
#include "qimage_files.h"
#include "record.h"
#include "sample_screens.h"
#include "screen_codec.h"
#include "screen_image.h"
#include "timing_collector.h"
#include "tvk_command.h"

namespace tvk::bench {
namespace {

namespace fs = std::filesystem;

// Runs of each command, interleaved with those of the others, compared by their medians: the time
// of a run varies by a third with what else the machine does (other virtual machines on the same
// host, files flushed to disk), and a run on one thread is now and then far faster than usual, so
// the fastest runs alone would compare chance. They are printed beside.
constexpr int kRepetitions = 10;
constexpr std::size_t kEntries = kMaxEntries;
constexpr int kLevels[] = {0, 1, 3, 6, 9};

// A folder of the run's own, removed at the end.
const fs::path& work_folder() {
    static const fs::path folder = [] {
        fs::path path =
            fs::temp_directory_path() / ("tvk-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

// The sample archive's drawn screens, then one of random pixels of 63 colours.
const std::vector<ScreenBlock>& screens() {
    static const std::vector<ScreenBlock> blocks = [] {
        std::vector<ScreenBlock> result;
        auto grid = std::make_unique<PixelGrid>();
        for (const SampleScreen& sample : sample_screens()) {
            sample.draw(*grid);
            result.emplace_back();
            encode_screen(*grid, result.back());
        }
        std::mt19937 random(2);
        std::vector<ColourValue> colours(kMaxEncodedColours);
        for (auto& colour : colours) {
            colour = random() & 0x00FFFFFFu;
        }
        for (auto& value : *grid) {
            value = colours[random() % colours.size()];
        }
        result.emplace_back();
        encode_screen(*grid, result.back());
        return result;
    }();
    return blocks;
}

// An archive of the most entries that read back, the screens above in turn, as a file.
const std::string& archive_file() {
    static const std::string file = [] {
        EntryStore store;
        // Names numbered on, skipping any whose hash an earlier one holds, so that pack takes them.
        for (std::size_t i = 0, number = 0; i < kEntries; ++number) {
            store.append_new_entry();
            NameBuffer& name = store.name_buffer(i);
            name.fill(0);
            const std::string text = "Screen " + std::to_string(number);
            std::memcpy(name.data() + kNameOffset, text.data(), text.size());
            if (store.name_hash_in_use(store.name_hash(i), static_cast<std::ptrdiff_t>(i))) {
                store.remove_at(i);
                continue;
            }
            write_u16(name.data() + kDataSizeOffset, static_cast<std::uint16_t>(kUsedBlockSize));
            store.screen_block(i) = screens()[i % screens().size()];
            ++i;
        }
        const std::string path = (work_folder() / "TVK.DAT").string();
        std::ofstream stream(path, std::ios::binary);
        save_archive(store, stream);
        return path;
    }();
    return file;
}

int run(const std::vector<std::string>& arguments) {
    static const std::unique_ptr<ImageFiles> images = make_qimage_files(kPngCompression);
    std::ostringstream out;
    std::ostringstream err;
    CliContext context{out, err, *images};
    const int status = run_tvk(arguments, context);
    std::fputs(err.str().c_str(), stderr);
    return status;
}

std::string path_in_work(const std::string& name) {
    return (work_folder() / name).string();
}

// Unpacks over the files of an earlier unpack, as a modder does again and again; the first unpack,
// which creates them, is not timed.
void unpack(benchmark::State& state) {
    const std::string jobs = std::to_string(state.range(0));
    if (!fs::exists(path_in_work("dir")) &&
        run({"unpack", archive_file(), path_in_work("dir")}) != 0) {
        state.SkipWithError("unpack failed");
        return;
    }
    for (auto _ : state) {
        if (run({"unpack", "--force", "--jobs", jobs, archive_file(), path_in_work("dir")}) != 0) {
            state.SkipWithError("unpack failed");
        }
    }
}

void pack(benchmark::State& state) {
    if (run({"unpack", "--force", archive_file(), path_in_work("packed")}) != 0) {
        state.SkipWithError("unpack failed");
        return;
    }
    const std::string jobs = std::to_string(state.range(0));
    for (auto _ : state) {
        if (run({"pack", "--jobs", jobs, path_in_work("packed"), path_in_work("packed.dat")}) !=
            0) {
            state.SkipWithError("pack failed");
        }
    }
}

void sheet(benchmark::State& state) {
    const std::string jobs = std::to_string(state.range(0));
    archive_file();  // made before the clock starts
    for (auto _ : state) {
        if (run({"sheet", "--jobs", jobs, archive_file(), path_in_work("sheet.png")}) != 0) {
            state.SkipWithError("sheet failed");
        }
    }
    std::error_code unknown;
    const std::uintmax_t size = fs::file_size(path_in_work("sheet.png"), unknown);
    if (!unknown) {
        state.counters["bytes"] = static_cast<double>(size);
    }
}

// One screen (argument 0: which; 1: palette or RGB; 2: the zlib level) encoded as a PNG file.
void encode_png(benchmark::State& state) {
    const std::unique_ptr<ImageFiles> images = make_qimage_files(static_cast<int>(state.range(2)));
    const ScreenBlock& block = screens()[static_cast<std::size_t>(state.range(0))];
    const PngForm form = state.range(1) != 0 ? PngForm::palette : PngForm::rgb;
    std::size_t size = 0;
    for (auto _ : state) {
        const std::optional<std::string> png = encode_screen_png(*images, block, form);
        if (!png) {
            state.SkipWithError("encoding failed");
            break;
        }
        size = png->size();
    }
    state.counters["bytes"] = static_cast<double>(size);
}

std::string encode_name(bool drawn, bool palette, int level) {
    return std::string("encode_png/") + (drawn ? "drawn" : "noise") +
           (palette ? "/palette" : "/rgb") + "/level:" + std::to_string(level);
}

std::string jobs_name(const char* command, unsigned jobs) {
    return std::string(command) + "/jobs:" + std::to_string(jobs);
}

void register_benchmarks(unsigned cores) {
    const struct {
        const char* name;
        void (*function)(benchmark::State&);
    } commands[] = {{"unpack", unpack}, {"pack", pack}, {"sheet", sheet}};
    for (const auto& command : commands) {
        for (const unsigned jobs : {1u, cores}) {
            benchmark::RegisterBenchmark(jobs_name(command.name, jobs).c_str(), command.function)
                ->Arg(jobs)
                ->Repetitions(kRepetitions)
                ->Iterations(1)
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond)
                ->ComputeStatistics(kFastest, fastest);
        }
    }
    const std::int64_t drawn = 4;  // the street at night
    const auto noise = static_cast<std::int64_t>(screens().size() - 1);
    for (const std::int64_t screen : {drawn, noise}) {
        for (const std::int64_t palette : {1, 0}) {
            for (const int level : kLevels) {
                benchmark::RegisterBenchmark(
                    encode_name(screen == drawn, palette != 0, level).c_str(), encode_png)
                    ->Args({screen, palette, level})
                    ->Repetitions(kRepetitions)
                    ->MinTime(0.05)
                    ->Unit(benchmark::kMicrosecond)
                    ->ComputeStatistics(kFastest, fastest);
            }
        }
    }
}

void print_summary(const TimingCollector& timings, unsigned cores) {
    const double goal = 0.85 * cores;
    std::printf("\nmedian of %d runs, interleaved; fastest runs in brackets\n", kRepetitions);
    std::printf("%-8s %12s %12s %9s %20s  %s\n", "command", "--jobs 1", "--jobs N", "speed-up",
                "(fastest)", "goal");
    for (const char* command : {"unpack", "pack", "sheet"}) {
        const double one = timings.median_real_ns(jobs_name(command, 1));
        const double all = timings.median_real_ns(jobs_name(command, cores));
        const double fastest_one = timings.fastest_real_ns(jobs_name(command, 1));
        const double fastest_all = timings.fastest_real_ns(jobs_name(command, cores));
        if (one == 0 || all == 0) {
            continue;
        }
        std::printf(
            "%-8s %9.0f ms %9.0f ms %8.2fx  (%3.0f / %3.0f: %.2fx)  >= %.2fx with N = %u %s\n",
            command, one / 1e6, all / 1e6, one / all, fastest_one / 1e6, fastest_all / 1e6,
            fastest_one / fastest_all, goal, cores, one / all >= goal ? "met" : "MISSED");
    }
    std::printf("\n%-40s %10s %8s\n", "one screen as a PNG", "time", "bytes");
    for (const bool drawn : {true, false}) {
        for (const bool palette : {true, false}) {
            for (const int level : kLevels) {
                const std::string name = encode_name(drawn, palette, level);
                const double ns = timings.fastest_ns(name);
                if (ns == 0) {
                    continue;
                }
                std::printf("%-40s %7.0f us %8.0f%s\n", name.c_str(), ns / 1e3,
                            timings.counter(name, "bytes"),
                            level == kPngCompression ? "  (chosen)" : "");
            }
        }
    }
}

}  // namespace
}  // namespace tvk::bench

int main(int argc, char** argv) {
    // The repetitions of every benchmark are run interleaved in random order, so that --jobs 1 and
    // --jobs N meet the same moments of the machine's load. A flag given later overrides this.
    std::vector<char*> arguments(argv, argv + argc);
    char interleaved[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleaved);
    argc = static_cast<int>(arguments.size());
    argv = arguments.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const unsigned cores = tvk::default_jobs();
    tvk::bench::register_benchmarks(cores);
    tvk::bench::TimingCollector timings;
    benchmark::RunSpecifiedBenchmarks(&timings);
    benchmark::Shutdown();
    tvk::bench::print_summary(timings, cores);
    std::filesystem::remove_all(tvk::bench::work_folder());
    // Speed depends on the machine and its load, so a missed goal is reported, not failed.
    return timings.any_error() ? 1 : 0;
}
