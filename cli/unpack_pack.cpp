// unpack and pack: an archive as a folder of pictures with a manifest, and back.
#include <algorithm>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <system_error>
#include <thread>

#include "archive_file.h"
#include "atomic_file.h"
#include "block_dump.h"
#include "cli_support.h"
#include "commands.h"
#include "entry_editing.h"
#include "file_error.h"
#include "manifest.h"
#include "messages.h"
#include "parallel_jobs.h"
#include "picture_input.h"
#include "screen_codec.h"
#include "screen_image.h"
#include "whole_file.h"

namespace tvk {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMinFileNumberDigits = 4;

// File names by index, so they sort in archive order and suit every file system whatever the
// entries are called: 0000, 0001, ...; wider only when the archive holds more than 10000 entries.
std::string file_stem(std::size_t index, std::size_t count) {
    const std::size_t digits = std::max(kMinFileNumberDigits, std::to_string(count).size());
    const std::string number = std::to_string(index);
    return std::string(digits - number.size(), '0') + number;
}

// True when encoding the decoded screen gives back the block itself (the checksum aside), so the
// picture alone is enough to rebuild it.
bool picture_rebuilds_block(const ScreenBlock& block, const PixelGrid& grid) {
    auto encoded = std::make_unique<ScreenBlock>();
    return encode_screen(grid, *encoded) == kEncoded &&
           std::equal(block.begin() + kChecksumLength, block.end(),
                      encoded->begin() + kChecksumLength);
}

// True when the picture shows exactly the grid's screen, whatever its alpha.
bool picture_shows_grid(const Picture& picture, const PixelGrid& grid) {
    if (picture.width != kScreenWidth || picture.height != kScreenHeight ||
        picture.argb.size() < kPixelCount) {
        return false;
    }
    for (int x = 0; x < kScreenWidth; ++x) {
        for (int y = 0; y < kScreenHeight; ++y) {
            if (colour_from_argb(picture.pixel(x, y)) != grid[grid_index(x, y)]) {
                return false;
            }
        }
    }
    return true;
}

// The folder unpack writes to: made when missing; an existing one must be empty unless forced,
// so that no edited picture is overwritten by mistake.
bool prepare_folder(CliContext& context, const std::string& text, bool force) {
    const fs::path folder = path_from_utf8(text);
    std::error_code error;
    if (!fs::exists(folder, error)) {
        if (!fs::create_directories(folder, error)) {
            report_file_error(context, text, "Can't create the folder");
            return false;
        }
        return true;
    }
    if (!fs::is_directory(folder, error)) {
        report_file_error(context, text, "Not a folder");
        return false;
    }
    if (!force && !fs::is_empty(folder, error)) {
        report_file_error(context, text, "The folder is not empty; give --force to write into it");
        return false;
    }
    return true;
}

// "FILE: MESSAGE (REASON)", as tvk reports a problem with one file.
std::string file_problem(const fs::path& path, std::string_view message,
                         const std::error_code& reason) {
    return utf8_from_path(path) + ": " + std::string(message) + " (" + reason_text(reason) + ")";
}

// Writes a file atomically; the error tvk reports, empty when written.
std::string write_output_file(const CliContext& context, const fs::path& path,
                              std::string_view bytes) {
    if (const std::error_code error = write_file_bytes(context, path, bytes)) {
        return file_problem(path, kCantSave, error);
    }
    return {};
}

// Writes one of unpack's numbered files in place: unpack writes many, and a temporary and a rename
// for each would double the work of the folder, which the file system does one at a time. The
// error tvk reports, empty when written.
std::string write_unpacked_file(const CliContext& context, const fs::path& path,
                                std::string_view bytes) {
    if (const std::error_code error = save_file_in_place(path, bytes, context.file_ops)) {
        return file_problem(path, kCantSave, error);
    }
    return {};
}

// Unpacks entry i: its picture and, when the picture cannot rebuild it, its block as stored. The
// error tvk reports, empty when done.
std::string unpack_entry(const CliContext& context, const fs::path& folder, const EntryStore& store,
                         std::size_t i, PngForm form, ManifestEntry& entry) {
    const std::string stem = file_stem(i, store.count());
    std::copy_n(store.name_buffer(i).begin(), kRecordLength, entry.record.bytes.begin());
    entry.picture = stem + ".png";
    const fs::path picture = folder / entry.picture;
    const std::optional<std::string> png =
        encode_screen_png(context.images, store.screen_block(i), form);
    if (!png) {
        return file_problem(picture, kCantSave, make_error_code(FileError::not_encoded));
    }
    if (std::string error = write_unpacked_file(context, picture, *png); !error.empty()) {
        return error;
    }
    auto grid = std::make_unique<PixelGrid>();
    decode_screen(store.screen_block(i), *grid);
    if (picture_rebuilds_block(store.screen_block(i), *grid)) {
        return {};
    }
    entry.block = stem + ".block";
    return write_unpacked_file(context, folder / entry.block,
                               format_block_dump(store.screen_block(i)));
}

// True for the names unpack gives its files: four or more digits, then ".png" or ".block".
bool is_unpacked_file_name(const std::string& name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos || dot < kMinFileNumberDigits) {
        return false;
    }
    const std::string extension = name.substr(dot);
    return (extension == ".png" || extension == ".block") &&
           std::all_of(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(dot),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Removes the files of an earlier unpack into the same folder that this one did not write, so that
// no picture beside the manifest belongs to another archive.
bool remove_stale_files(CliContext& context, const fs::path& folder,
                        const std::vector<ManifestEntry>& entries) {
    std::set<std::string> written;
    for (const ManifestEntry& entry : entries) {
        written.insert(entry.picture);
        written.insert(entry.block);
    }
    std::error_code error;
    std::vector<fs::path> stale;
    for (const fs::directory_entry& file : fs::directory_iterator(folder, error)) {
        const std::string name = utf8_from_path(file.path().filename());
        if (is_unpacked_file_name(name) && !written.contains(name) && file.is_regular_file(error)) {
            stale.push_back(file.path());
        }
    }
    for (const fs::path& file : stale) {
        if (!fs::remove(file, error) && error) {
            report_file_error(context, utf8_from_path(file), "Can't remove", error);
            return false;
        }
    }
    return true;
}

// Rebuilds one screen block: the stored block while the picture still shows it, otherwise the
// picture under the import's rules. The error tvk reports, empty when done.
std::string pack_screen(const CliContext& context, const fs::path& folder,
                        const ManifestEntry& entry, ScreenBlock& block) {
    const fs::path picture_path = folder / path_from_utf8(entry.picture);
    const PictureFile picture = read_screen_picture(context.images, picture_path);
    if (!entry.block.empty()) {
        const fs::path block_path = folder / path_from_utf8(entry.block);
        std::error_code error;
        const std::optional<std::string> text = read_file_bytes(block_path, &error);
        if (!text) {
            return file_problem(block_path, kCantOpen, error);
        }
        auto stored = std::make_unique<ScreenBlock>();
        if (const std::string error = parse_block_dump(*text, *stored); !error.empty()) {
            return utf8_from_path(block_path) + ": " + error;
        }
        auto grid = std::make_unique<PixelGrid>();
        decode_screen(*stored, *grid);
        if (picture.error.empty() && picture_shows_grid(picture.picture, *grid)) {
            block = *stored;
            return {};
        }
    }
    if (const std::string refused = screen_from_picture_file(picture, block); !refused.empty()) {
        return utf8_from_path(picture_path) + ": " + refused;
    }
    return {};
}

struct Refusal {
    int line;  // the manifest's line of the entry refused
    EditResult reason;
};

// Adds the manifest's entries to the store, blank, under the editing rules, except that a name hash
// may be held by as many entries as held it in the unpacked archive: the archive then packs back
// as it was, and only a new or renamed entry can make a hash shared once more.
std::optional<Refusal> add_manifest_entries(const ParsedManifest& manifest, EntryStore& store) {
    std::map<std::uint32_t, std::size_t> holders;
    for (const ManifestEntry& entry : manifest.entries) {
        if (store.count() >= kMaxEntries) {
            return Refusal{entry.line, EditResult::too_many_entries};
        }
        const auto shared = manifest.shared_hashes.find(entry.record.hash);
        const std::size_t allowed =
            shared == manifest.shared_hashes.end() ? 1 : std::max<std::size_t>(1, shared->second);
        if (++holders[entry.record.hash] > allowed) {
            return Refusal{entry.line, EditResult::hash_collision};
        }
        store.append_new_entry();
        std::copy(entry.record.bytes.begin(), entry.record.bytes.end(),
                  store.name_buffer(store.count() - 1).begin());
    }
    return std::nullopt;
}

// Thrown into a save whose blocks will not all be made.
struct BlocksNotMade {};

// Makes every entry's screen block from the folder and saves the store as `archive`; the exit
// status, with what failed reported. Each worker fills the blocks of the entries it is given,
// allocated by itself, while the store's lists of entries stay as they are. On more than one
// thread the archive is written while the blocks are made, each block as soon as it is whole.
// A block that could not be made is reported before any failure of the save, as it is on one
// thread, where the save stops at once.
int make_and_save_blocks(CliContext& context, const fs::path& folder,
                         const ParsedManifest& manifest, EntryStore& store,
                         std::string_view archive, unsigned jobs) {
    JobsDone made(store.count());
    std::optional<std::string> failure;
    std::exception_ptr thrown;
    const auto make_blocks = [&] {
        try {
            failure = run_jobs(store.count(), jobs, [&](std::size_t i) {
                std::string error =
                    pack_screen(context, folder, manifest.entries[i], store.screen_block(i));
                if (error.empty()) {
                    made.mark(i);
                }
                return error;
            });
        } catch (...) {
            thrown = std::current_exception();
        }
        made.finish();
    };
    std::jthread making;
    if (jobs > 1) {
        making = std::jthread(make_blocks);
    } else {
        make_blocks();
    }
    std::error_code saved;
    try {
        saved = save_archive_file(store, path_from_utf8(archive), context.file_ops,
                                  [&made](std::size_t i) {
                                      if (!made.wait(i)) {
                                          throw BlocksNotMade{};
                                      }
                                  });
    } catch (const BlocksNotMade&) {
        // The failure is the block's, reported below.
    }
    if (making.joinable()) {
        making.join();
    }
    if (thrown) {
        std::rethrow_exception(thrown);
    }
    if (failure) {
        return report_error(context, *failure);
    }
    return report_archive_save(context, archive, saved);
}

}  // namespace

int command_unpack(const Invocation& call, CliContext& context) {
    EntryStore store;
    if (!load_archive_argument(context, call.operands[0], store)) {
        return kExitError;
    }
    const std::string& folder_text = call.operands[1];
    if (!prepare_folder(context, folder_text, call.force)) {
        return kExitError;
    }
    const fs::path folder = path_from_utf8(folder_text);
    // Many new files: none is flushed to disk on its own; the folder is, once, at the end.
    FileOps unflushed = context.file_ops;
    unflushed.durable = false;
    CliContext writing{context.out, context.err, context.images, unflushed};
    std::vector<ManifestEntry> entries(store.count());
    const std::optional<std::string> failure =
        run_jobs(store.count(), jobs_of(call), [&](std::size_t i) {
            return unpack_entry(writing, folder, store, i, png_form(call), entries[i]);
        });
    if (failure) {
        return report_error(context, *failure);
    }
    // Written last: a folder without its manifest cannot be packed by mistake.
    if (const std::string error = write_output_file(
            writing, folder / std::string(kManifestFileName), format_manifest(entries));
        !error.empty()) {
        return report_error(context, error);
    }
    if (!remove_stale_files(context, folder, entries)) {
        return kExitError;
    }
    if (const std::error_code error = flush_folder(folder)) {
        return report_file_error(context, folder_text, kCantSave, error);
    }
    return kExitOk;
}

int command_pack(const Invocation& call, CliContext& context) {
    const fs::path folder = path_from_utf8(call.operands[0]);
    const fs::path manifest_path = folder / std::string(kManifestFileName);
    const std::string manifest_name = utf8_from_path(manifest_path);
    std::error_code error;
    const std::optional<std::string> text = read_file_bytes(manifest_path, &error);
    if (!text) {
        return report_file_error(context, manifest_name, kCantOpen, error);
    }
    const ParsedManifest manifest = parse_manifest(*text);
    const auto where = [&manifest_name](int line) {
        return manifest_name + ":" + std::to_string(line);
    };
    if (!manifest.error.empty()) {
        return report_file_error(context, where(manifest.error_line), manifest.error);
    }
    EntryStore store;
    if (const std::optional<Refusal> refusal = add_manifest_entries(manifest, store)) {
        return report_file_error(context, where(refusal->line), message_for(refusal->reason));
    }
    return make_and_save_blocks(context, folder, manifest, store, call.operands[1], jobs_of(call));
}

}  // namespace tvk
