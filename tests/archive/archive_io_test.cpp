#include "archive_io.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "archive_bytes.h"
#include "record.h"

namespace tvk {
namespace {

using test::Bytes;

Bytes repeated_pair(std::uint8_t even, std::uint8_t odd, std::size_t pairs) {
    Bytes bytes;
    for (std::size_t i = 0; i < pairs; ++i) {
        bytes.push_back(even);
        bytes.push_back(odd);
    }
    return bytes;
}

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t length) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + length));
}

// Entries compare equal when their name records and screen blocks hold the same bytes.
void expect_same_entries(const EntryStore& actual, const EntryStore& expected) {
    ASSERT_EQ(actual.count(), expected.count());
    for (std::size_t i = 0; i < actual.count(); ++i) {
        EXPECT_TRUE(std::equal(actual.name_buffer(i).begin(),
                               actual.name_buffer(i).begin() + kRecordLength,
                               expected.name_buffer(i).begin()))
            << "name record " << i;
        EXPECT_EQ(actual.screen_block(i), expected.screen_block(i)) << "screen block " << i;
    }
}

TEST(SaveArchive, WritesAnEmptyStoreAs320Bytes) {
    EntryStore store;
    const Bytes file = test::save_to_bytes(store);
    ASSERT_EQ(file.size(), 320u);
    EXPECT_EQ(slice(file, 0, 4), (Bytes{0x78, 0x9C, 0x53, 0x7B}));
    EXPECT_EQ(slice(file, 64, 192), repeated_pair(0x78, 0x9C, 96));
    EXPECT_EQ(slice(file, 256, 64), Bytes(64, 0));
    Bytes plain = slice(file, 0, 64);
    scramble(plain.data(), kRecordLength);
    EXPECT_EQ(read_u32(plain.data() + kEntryCountField), 0u);
    EXPECT_EQ(read_u32(plain.data() + kNameAreaOffsetField), 256u);
    EXPECT_EQ(read_u32(plain.data() + kBlockAreaOffsetField), 320u);

    EntryStore loaded;
    EXPECT_EQ(test::load_from_bytes(loaded, file), kLoaded);
    EXPECT_EQ(loaded.count(), 0u);
}

TEST(SaveArchive, WritesTheOneEntryHeaderAndTailByteForByte) {
    EntryStore store = test::store_of(1);
    const Bytes file = test::save_to_bytes(store);
    ASSERT_EQ(file.size(), 16768u);
    const Bytes header = {0xF8, 0x9C, 0x55, 0x7B, 0x52, 0x53, 0x46, 0xC9, 0xAD, 0x77, 0x04, 0x36,
                          0xBB, 0xCF, 0xA2, 0xC3, 0xAA, 0xD7, 0xC8, 0xAE, 0xAE, 0xAD, 0xC8, 0xAC,
                          0xF8, 0x9D, 0xF8, 0x9C, 0x80, 0x9C, 0x88, 0x9C, 0xF8, 0xDC, 0xF8, 0x9C,
                          0xF9, 0x9C, 0xF8, 0x9C, 0x78, 0x9D, 0xF8, 0x9C, 0xF8, 0x9C, 0xF8, 0x9C};
    EXPECT_EQ(slice(file, 0, 48), header);
    EXPECT_EQ(slice(file, 48, 208), repeated_pair(0xF8, 0x9C, 104));
    EXPECT_EQ(slice(file, 320, 64), Bytes(64, 0));
}

TEST(SaveArchive, StoresEachRecordChecksummedAndScrambledAtItsOffset) {
    EntryStore store = test::store_of(2);
    const EntryStore original = test::store_of(2);
    const Bytes file = test::save_to_bytes(store);
    ASSERT_EQ(file.size(), 33216u);
    for (std::size_t i = 0; i < 2; ++i) {
        Bytes name = slice(file, 256 + 64 * i, 64);
        scramble(name.data(), kRecordLength);
        EXPECT_EQ(read_u32(name.data()), store.name_hash(i));
        EXPECT_TRUE(std::equal(name.begin() + 4, name.end(), original.name_buffer(i).begin() + 4));
        Bytes block = slice(file, 448 + kBlockSize * i, kBlockSize);
        scramble(block.data(), kBlockSize);
        EXPECT_EQ(read_u32(block.data()), record_checksum(block.data(), kBlockSize));
        EXPECT_TRUE(
            std::equal(block.begin() + 4, block.end(), original.screen_block(i).begin() + 4));
    }
}

TEST(SaveArchive, LeavesTheStorePlainWithFreshChecksums) {
    EntryStore store = test::store_of(3);
    const EntryStore original = test::store_of(3);
    test::save_to_bytes(store);
    for (std::size_t i = 0; i < store.count(); ++i) {
        EXPECT_EQ(read_u32(store.name_buffer(i).data()), store.name_hash(i));
        EXPECT_EQ(read_u32(store.screen_block(i).data()),
                  record_checksum(store.screen_block(i).data(), kBlockSize));
        EXPECT_TRUE(std::equal(store.name_buffer(i).begin() + 4, store.name_buffer(i).end(),
                               original.name_buffer(i).begin() + 4));
        EXPECT_TRUE(std::equal(store.screen_block(i).begin() + 4, store.screen_block(i).end(),
                               original.screen_block(i).begin() + 4));
    }
}

TEST(LoadArchive, LoadsWhatWasSavedAndSavesItAgainByteIdentical) {
    EntryStore store = test::store_of(5);
    write_u16(store.name_buffer(2).data() + kDataSizeOffset, 1234);  // kept as read
    store.name_buffer(2)[62] = 0xAB;
    const Bytes file = test::save_to_bytes(store);
    EntryStore loaded;
    ASSERT_EQ(test::load_from_bytes(loaded, file), kLoaded);
    expect_same_entries(loaded, store);
    EXPECT_EQ(test::save_to_bytes(loaded), file);
}

TEST(LoadArchive, RefusesFilesShorterThanAHeader) {
    EntryStore source = test::store_of(1);
    const Bytes file = test::save_to_bytes(source);
    for (const std::size_t length : {0, 1, 32, 63}) {
        EntryStore store;
        EXPECT_EQ(test::load_from_bytes(store, slice(file, 0, length)), kLoadTooShort);
        EXPECT_EQ(store.count(), 0u);
    }
}

TEST(LoadArchive, NeedsNothingAfterAHeaderOfNoEntries) {
    EntryStore empty;
    const Bytes file = test::save_to_bytes(empty);
    EntryStore store;
    EXPECT_EQ(test::load_from_bytes(store, slice(file, 0, 64)), kLoaded);
    EXPECT_EQ(store.count(), 0u);
}

TEST(LoadArchive, RefusesAHeaderWithAnyChangedCheckedByte) {
    EntryStore source = test::store_of(1);
    const Bytes file = test::save_to_bytes(source);
    for (std::size_t offset = 2; offset < kRecordChecksumEnd; ++offset) {
        for (const std::uint8_t change : {0x01, 0x80, 0xFF}) {
            Bytes damaged = file;
            damaged[offset] ^= change;
            EntryStore store;
            ASSERT_EQ(test::load_from_bytes(store, damaged), kLoadBadChecksum)
                << "offset " << offset;
            EXPECT_EQ(store.count(), 0u);
        }
    }
}

TEST(LoadArchive, IgnoresBytesItDoesNotRead) {
    EntryStore source = test::store_of(2);
    const Bytes file = test::save_to_bytes(source);
    const std::size_t closing = 256 + 2 * 64;
    const std::vector<std::size_t> unread = {60, 61, 62, 63, 64, 127, 255, closing, closing + 63};
    for (const std::size_t offset : unread) {
        Bytes changed = file;
        changed[offset] ^= 0x5A;
        EntryStore store;
        ASSERT_EQ(test::load_from_bytes(store, changed), kLoaded) << "offset " << offset;
        expect_same_entries(store, source);
    }
    Bytes longer = file;
    longer.insert(longer.end(), 1000, 0xEE);
    EntryStore store;
    ASSERT_EQ(test::load_from_bytes(store, longer), kLoaded);
    expect_same_entries(store, source);
}

TEST(LoadArchive, ChecksOnlyTheHeaderChecksumNotItsOtherFields) {
    EntryStore source = test::store_of(1);
    Bytes file = test::save_to_bytes(source);
    Bytes header = test::plain_header(1);
    std::memcpy(header.data() + kSignatureOffset, "SOMETHINGELS", kSignatureLength);
    write_u32(header.data() + kFirstMagicOffset, 1);
    write_u32(header.data() + kSecondMagicOffset, 2);
    write_u16(header.data() + kScreenWidthField, 7);
    write_u16(header.data() + kScreenHeightField, 8);
    write_u32(header.data() + kBlockSizeField, 9);
    // Up to 1018 entries the upper halves of the 32-bit offsets are not read either.
    header[kNameAreaOffsetField + 3] = 0x80;
    header[kBlockAreaOffsetField + 2] = 0x7F;
    const Bytes stored = test::stored_record(header);
    std::copy(stored.begin(), stored.end(), file.begin());
    EntryStore store;
    ASSERT_EQ(test::load_from_bytes(store, file), kLoaded);
    expect_same_entries(store, source);
}

TEST(LoadArchive, FollowsTheAreaOffsetsOfTheHeader) {
    EntryStore source = test::store_of(2);
    const Bytes file = test::save_to_bytes(source);
    // The same records with the name area moved to 1000 and the block area to 2000.
    Bytes moved(2000 + 2 * kBlockSize, 0);
    std::copy_n(file.begin() + 256, 2 * 64, moved.begin() + 1000);
    std::copy_n(file.begin() + 448, 2 * kBlockSize, moved.begin() + 2000);
    Bytes header = test::plain_header(2);
    write_u32(header.data() + kNameAreaOffsetField, 1000);
    write_u32(header.data() + kBlockAreaOffsetField, 2000);
    const Bytes stored = test::stored_record(header);
    std::copy(stored.begin(), stored.end(), moved.begin());
    EntryStore store;
    ASSERT_EQ(test::load_from_bytes(store, moved), kLoaded);
    expect_same_entries(store, source);
}

TEST(LoadArchive, KeepsWrongRecordChecksumsUntilTheNextSave) {
    EntryStore source = test::store_of(1);
    Bytes file = test::save_to_bytes(source);
    file[256 + 2] ^= 0x11;  // stored name record checksum, outside the scrambled bytes
    file[384 + 3] ^= 0x22;  // stored screen block checksum
    EntryStore store;
    ASSERT_EQ(test::load_from_bytes(store, file), kLoaded);
    EXPECT_EQ(read_u32(store.name_buffer(0).data()), store.name_hash(0) ^ 0x00110000u);
    EXPECT_EQ(read_u32(store.screen_block(0).data()),
              record_checksum(store.screen_block(0).data(), kBlockSize) ^ 0x22000000u);
    test::save_to_bytes(store);
    EXPECT_EQ(read_u32(store.name_buffer(0).data()), store.name_hash(0));
}

// A short file reads as if it went on with zero bytes: the same entries as the file padded with
// zeros, whatever record the end falls in.
TEST(LoadArchive, ReadsBytesAShortFileDoesNotSupplyAsZero) {
    EntryStore source = test::store_of(3);
    const Bytes file = test::save_to_bytes(source);
    for (const std::size_t length :
         {64, 256, 300, 448, 512, 513, 516, 10000, 16901, 33000, 49000}) {
        Bytes padded = slice(file, 0, length);
        padded.resize(file.size(), 0);
        EntryStore expected;
        ASSERT_EQ(test::load_from_bytes(expected, padded), kLoaded);
        EntryStore store;
        ASSERT_EQ(test::load_from_bytes(store, slice(file, 0, length)), kLoaded)
            << "length " << length;
        expect_same_entries(store, expected);
    }
}

TEST(LoadArchive, YieldsEveryAnnouncedEntryOfAFileThatEndsEarly) {
    const Bytes file = test::stored_record(test::plain_header(40));
    EntryStore store;
    ASSERT_EQ(test::load_from_bytes(store, file), kLoaded);
    ASSERT_EQ(store.count(), 40u);
    for (std::size_t i = 0; i < store.count(); ++i) {
        const NameBuffer& name = store.name_buffer(i);
        const ScreenBlock& block = store.screen_block(i);
        EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](std::uint8_t b) { return b == 0; }));
        EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0; }));
    }
}

// Entries past the end of the file share one stand-in, so a few header bytes cannot ask for
// gigabytes; a count beyond what any file of that size stands for is refused with an empty store.
TEST(LoadArchive, TakesEntriesPastTheEndOfTheFileUpToABound) {
    struct Case {
        std::uint32_t count;
        std::size_t file_size;
        int result;
    };
    const std::uint64_t past_the_end = max_loaded_entries(0);
    EXPECT_EQ(past_the_end, 65535u);
    for (const Case& c : {
             Case{65535, 64, kLoaded},
             Case{65536, 64, kLoadTooManyEntries},
             Case{0xFFFFFFFF, 64, kLoadTooManyEntries},
             Case{65535 + 2, 2 * kBlockSize, kLoaded},
             Case{65535 + 3, 2 * kBlockSize, kLoadTooManyEntries},
         }) {
        Bytes file = test::stored_record(test::plain_header(c.count));
        file.resize(c.file_size, 0);
        EntryStore store;
        EXPECT_EQ(test::load_from_bytes(store, file), c.result) << c.count << " " << c.file_size;
        EXPECT_EQ(store.count(), c.result == kLoaded ? c.count : 0u);
        if (c.result == kLoaded) {
            const std::size_t last = store.count() - 1;
            EXPECT_TRUE(store.block_is_blank(last) && store.name_is_blank(last));
            EXPECT_EQ(store.screen_block(last), ScreenBlock{});
        }
    }
}

// A file read through a buffer that seeks only from the start or the current place, as the file
// layer's does: the load finds where the file ends from its reads.
class NoSeekFromEnd : public std::stringbuf {
  public:
    explicit NoSeekFromEnd(const Bytes& bytes)
        : std::stringbuf(std::string(bytes.begin(), bytes.end())) {}

  protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override {
        if (direction == std::ios_base::end) {
            return pos_type(off_type(-1));
        }
        return std::stringbuf::seekoff(offset, direction, which);
    }
};

TEST(LoadArchive, NeedsNoSeekFromTheEndToFindWhereTheFileEnds) {
    EntryStore source = test::store_of(3);
    const Bytes file = test::save_to_bytes(source);
    for (const std::size_t length : {file.size(), std::size_t{600}, file.size() - 100}) {
        const Bytes cut = slice(file, 0, length);
        EntryStore expected;
        ASSERT_EQ(test::load_from_bytes(expected, cut), kLoaded);
        NoSeekFromEnd buffer(cut);
        std::istream stream(&buffer);
        EntryStore store;
        ASSERT_EQ(load_archive(store, stream), kLoaded);
        expect_same_entries(store, expected);
        EXPECT_EQ(store.block_is_blank(2), length < block_area_offset(3) + 2 * kBlockSize);
    }
    // The bound on entries past the end holds as well.
    Bytes header = test::stored_record(test::plain_header(65536));
    NoSeekFromEnd buffer(header);
    std::istream stream(&buffer);
    EntryStore store;
    EXPECT_EQ(load_archive(store, stream), kLoadTooManyEntries);
}

// A blank entry saves as zero bytes without being given buffers, and loads back blank.
TEST(SaveArchive, WritesBlankEntriesAsZerosAndKeepsThemShared) {
    EntryStore store;
    store.append_new_entry();
    test::append_entry(store, "named", 7);
    store.append_new_entry();
    const Bytes file = test::save_to_bytes(store);
    EXPECT_TRUE(store.block_is_blank(0) && store.name_is_blank(2));
    EXPECT_EQ(slice(file, 256, 64), Bytes(64, 0));
    EXPECT_EQ(slice(file, block_area_offset(3) + 2 * kBlockSize, kBlockSize), Bytes(kBlockSize, 0));
    EntryStore loaded;
    ASSERT_EQ(test::load_from_bytes(loaded, file), kLoaded);
    expect_same_entries(loaded, store);
    EXPECT_EQ(test::save_to_bytes(loaded), file);
}

TEST(LoadArchive, StartsReadingAtOffsetZeroWhereverTheStreamStands) {
    EntryStore source = test::store_of(1);
    const Bytes file = test::save_to_bytes(source);
    std::istringstream stream(std::string(file.begin(), file.end()));
    stream.seekg(100);
    stream.setstate(std::ios::eofbit);
    EntryStore store;
    ASSERT_EQ(load_archive(store, stream), kLoaded);
    expect_same_entries(store, source);
}

}  // namespace
}  // namespace tvk
