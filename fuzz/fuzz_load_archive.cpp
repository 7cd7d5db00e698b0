// Arbitrary bytes as an archive file: the load must succeed or fail cleanly, every loaded block
// must decode, and what loaded must save and load back unchanged.
#include <cstdlib>
#include <sstream>
#include <string>

#include "archive_io.h"
#include "reference_codec.h"
#include "screen_codec.h"

namespace {

using namespace tvk;

// A header with a valid checksum can announce 65535 entries, a gigabyte of buffers. The store is
// capped just above the most entries that read back, so such inputs take the out-of-memory path
// of the load at a small cost instead of exhausting the fuzzer's memory.
constexpr std::size_t kFuzzEntryLimit = kMaxEntries + 2;
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
    EntryStore store(kFuzzEntryLimit);
    const int result = load_archive(store, stream);
    if (result != kLoaded) {
        check(store.count() == 0);
        check(result == kLoadTooShort || result == kLoadBadChecksum || result == kLoadOutOfMemory);
        return 0;
    }
    PixelGrid grid{};
    PixelGrid expected{};
    for (std::size_t i = 0; i < store.count(); ++i) {
        store.display_name(i);
        decode_screen(store.screen_block(i), grid);
        if (i < kReferenceDecodes) {
            reference::decode_screen(store.screen_block(i), expected);
            check(grid == expected);
        }
    }
    // Beyond kMaxEntries the block area offset does not fit the reader, so only smaller stores
    // can come back.
    if (store.count() <= kMaxEntries) {
        const std::string file = saved(store);
        std::istringstream again(file);
        EntryStore reloaded;
        check(load_archive(reloaded, again) == kLoaded);
        check(same_entries(reloaded, store));
        check(saved(reloaded) == file);
    }
    return 0;
}
