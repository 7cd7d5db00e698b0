// Arbitrary bytes as an archive file: the load must succeed or fail cleanly, give entries past the
// end of the input no buffers of their own, every loaded block must decode, and what loaded must
// save and load back unchanged.
#include <cstdlib>
#include <sstream>
#include <string>

#include "archive_io.h"
#include "reference_codec.h"
#include "screen_codec.h"

namespace {

using namespace tvk;

// Blocks also checked against the plain decoder, which is slow.
constexpr std::size_t kReferenceDecodes = 4;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::string saved(EntryStore& store) {
    std::ostringstream stream;
    save_archive(store, stream);
    return std::move(stream).str();
}

bool same_entries(const EntryStore& first, const EntryStore& second) {
    if (first.count() != second.count()) {
        return false;
    }
    for (std::size_t i = 0; i < first.count(); ++i) {
        if (!std::equal(first.name_buffer(i).begin(), first.name_buffer(i).begin() + kRecordLength,
                        second.name_buffer(i).begin()) ||
            first.screen_block(i) != second.screen_block(i)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    EntryStore store;
    const int result = load_archive(store, stream);
    if (result != kLoaded) {
        check(store.count() == 0);
        check(result == kLoadTooShort || result == kLoadBadChecksum ||
              result == kLoadTooManyEntries);
        return 0;
    }
    check(store.count() <= max_loaded_entries(size));
    // Only records that start inside the input get buffers: the work below is bounded by the
    // input's size, whatever count its header announces.
    std::size_t own_blocks = 0;
    std::size_t own_names = 0;
    PixelGrid grid{};
    PixelGrid expected{};
    for (std::size_t i = 0; i < store.count(); ++i) {
        if (store.block_is_blank(i)) {
            continue;
        }
        decode_screen(store.screen_block(i), grid);
        if (own_blocks < kReferenceDecodes) {
            reference::decode_screen(store.screen_block(i), expected);
            check(grid == expected);
        }
        ++own_blocks;
    }
    for (std::size_t i = 0; i < store.count(); ++i) {
        if (!store.name_is_blank(i)) {
            store.display_name(i);
            ++own_names;
        }
    }
    check(own_blocks <= size / kBlockSize + 1);
    check(own_names <= size / kRecordLength + 1);
    // Beyond kMaxEntries the entries cannot be saved. Saving blank entries writes zeros: only
    // stores about the size of the input make the round trip, so a short input announcing many
    // entries costs no more than its own bytes.
    if (store.count() <= kMaxEntries && archive_size(store.count()) <= 2 * size + 2 * kBlockSize) {
        const std::string file = saved(store);
        std::istringstream again(file);
        EntryStore reloaded;
        check(load_archive(reloaded, again) == kLoaded);
        check(same_entries(reloaded, store));
        check(saved(reloaded) == file);
    }
    return 0;
}
