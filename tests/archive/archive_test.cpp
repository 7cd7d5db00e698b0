#include <gtest/gtest.h>

#include <sstream>

#include "archive_file.h"
#include "archive_io.h"
#include "builders.h"
#include "record.h"
#include "reference_record.h"
#include "temp_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "unprivileged.h"
#endif

namespace tvk::test {
namespace {

namespace fs = std::filesystem;

std::uint8_t* bytes_of(std::string& text) {
    return reinterpret_cast<std::uint8_t*>(text.data());
}

// A record as a file stores it, checksummed and scrambled by the plain reference code.
std::string stored(std::string plain, std::size_t checksum_end) {
    write_u32(bytes_of(plain), reference::record_checksum(bytes_of(plain), checksum_end));
    reference::scramble(bytes_of(plain), plain.size());
    return plain;
}

// The archive of the store's entries laid out by the format's rules, with the header's full 32-bit
// fields and the name area where asked, the closing zero record and the block area after it.
std::string reference_archive(const EntryStore& store, std::uint32_t name_area = kNameAreaOffset) {
    const auto n = static_cast<std::uint32_t>(store.count());
    const std::uint32_t block_area = name_area + kRecordLength * (n + 1);
    std::string header = plain_header(n);
    write_u32(bytes_of(header) + kNameAreaOffsetField, name_area);
    write_u32(bytes_of(header) + kBlockAreaOffsetField, block_area);
    std::string file = stored(header, kRecordChecksumEnd);
    for (std::size_t k = 0; k < kHeaderTailCopies; ++k) {
        file += file.substr(kHeaderTailSource, kRecordLength - kHeaderTailSource);
    }
    file.resize(block_area + std::size_t{kBlockSize} * n, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        const NameBuffer& name = store.name_buffer(i);
        const ScreenBlock& block = store.screen_block(i);
        file.replace(name_area + kRecordLength * i, kRecordLength,
                     stored({name.begin(), name.begin() + kRecordLength}, kRecordChecksumEnd));
        file.replace(block_area + kBlockSize * i, kBlockSize,
                     stored({block.begin(), block.end()}, kBlockSize));
    }
    return file;
}

// Bytes of every value: the archive of two entries, whose screen blocks are random.
const std::string kRandom = [] {
    EntryStore two = numbered_store(2);
    return archive_bytes(two);
}();

// Every short length, and lengths beyond the fast sum's segment of 102800 bytes, where a run of
// the largest bytes would overflow its 16-bit lanes.
TEST(RecordChecksum, EqualsThePlainSum) {
    for (std::string bytes : {kRandom, std::string(8 * kBlockSize, '\xFF')}) {
        for (std::size_t end = 0; end <= bytes.size(); end += end < 1700 ? 1 : kBlockSize - 3) {
            ASSERT_EQ(record_checksum(bytes_of(bytes), end),
                      reference::record_checksum(bytes_of(bytes), end))
                << end;
        }
    }
}

// Every start address within a cache line, since the fast version takes the bytes before its
// first aligned chunk apart; every short length and the lengths around a block.
TEST(Scramble, EqualsThePlainLoopForEveryLengthAndAlignment) {
    for (std::size_t offset = 0; offset < 64; ++offset) {
        for (std::size_t length = 0; length < kBlockSize + 64; length += length < 300 ? 1 : 16383) {
            std::string fast = kRandom;
            std::string plain = kRandom;
            scramble(bytes_of(fast) + offset, length);
            reference::scramble(bytes_of(plain) + offset, length);
            ASSERT_EQ(fast, plain) << "offset " << offset << " length " << length;
        }
    }
}

// The worked examples: the record "abc" with 68 28 in bytes 60-61, the headers of the archives
// of no entry and of one entry.
TEST(Archive, WritesTheWorkedExamplesByteForByte) {
    std::string record(kRecordLength, '\0');
    record.replace(kNameOffset, 3, "abc");
    record.replace(kDataSizeOffset, 2, "\x68\x28");
    write_u32(bytes_of(record), record_checksum(bytes_of(record), kRecordChecksumEnd));
    scramble(bytes_of(record), kRecordLength);
    EntryStore none;
    EntryStore one = numbered_store(1);
    EXPECT_EQ(record.substr(0, 8) + record.substr(kDataSizeOffset - 2) +
                  archive_bytes(none).substr(0, 4) + archive_bytes(one).substr(0, 48),
              std::string("\xB1\x02\x00\x00\xD0\x60\xD2\x02\xB1\x02\xD9\x2A\xB1\x02\x78\x9C\x53\x7B"
                          "\xF8\x9C\x55\x7B\x52\x53\x46\xC9\xAD\x77\x04\x36\xBB\xCF\xA2\xC3\xAA\xD7"
                          "\xC8\xAE\xAE\xAD\xC8\xAC\xF8\x9D\xF8\x9C\x80\x9C\x88\x9C\xF8\xDC\xF8\x9C"
                          "\xF9\x9C\xF8\x9C\x78\x9D\xF8\x9C\xF8\x9C\xF8\x9C",
                          66));
}

// The store holds the announced entries when loaded and none otherwise. A header alone stands for
// its entries, blank, up to as many past the end of the file as a 16-bit count announces.
TEST(LoadArchive, RefusesShortFilesDamagedHeadersAndCountsNoFileStandsFor) {
    const auto header = [](std::uint32_t count, std::size_t size) {
        return stored_record(plain_header(count)) + std::string(size - 64, '\0');
    };
    std::vector<std::tuple<std::string, int, std::uint32_t>> cases = {
        {"", kLoadTooShort, 0},
        {kRandom.substr(0, 63), kLoadTooShort, 0},
        {header(0, 64), kLoaded, 0},
        {header(65535, 64), kLoaded, 65535},
        {header(65536, 64), kLoadTooManyEntries, 0},
        {header(65537, 2 * kBlockSize), kLoaded, 65537},
        {header(65538, 2 * kBlockSize), kLoadTooManyEntries, 0}};
    for (std::size_t offset = 2; offset < kRecordChecksumEnd; ++offset) {
        cases.emplace_back(kRandom, kLoadBadChecksum, 0);
        std::get<0>(cases.back())[offset] ^= static_cast<char>(offset % 2 ? 0x80 : 0x01);
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [bytes, result, count] = cases[i];
        EntryStore store;
        EXPECT_EQ(load_status(store, bytes), result) << "case " << i;
        ASSERT_EQ(store.count(), count) << "case " << i;
        EXPECT_TRUE(count == 0 ||
                    (store.name_is_blank(count - 1) && store.block_is_blank(count - 1)));
    }
    EXPECT_EQ(max_loaded_entries(2 * kBlockSize), 65537u);
    std::istringstream elsewhere(kRandom);  // a stream is read from its start wherever it stands
    elsewhere.seekg(100);
    EntryStore two;
    EXPECT_EQ(load_archive(two, elsewhere), kLoaded);
}

// Bytes a short file does not supply read as zero, wherever it ends; entries wholly past its end
// keep the shared stand-ins. Read through the file layer, whose buffer five entries overrun.
TEST(ArchiveFile, ReadsWhatAShortFileDoesNotSupplyAsZero) {
    EntryStore source = numbered_store(5);
    const std::string file = archive_bytes(source);
    const TempFolder folder;
    for (const std::size_t length : {64, 300, 640, 641, 644, 40000, 66176, 66177, 70000}) {
        std::string cut = file.substr(0, length);
        write_file(folder / "cut.dat", cut);
        EntryStore store;
        ASSERT_EQ(open_archive_file(store, folder / "cut.dat"), std::error_code()) << length;
        cut.resize(file.size(), '\0');
        EXPECT_TRUE(reference_archive(store) == reference_archive(load(cut))) << length;
        EXPECT_EQ(store.block_is_blank(4), length <= 66176) << length;
    }
}

// Archives laid out by the rules load from files and save back. Through 16-bit fields 1018
// entries read back and no more, wherever the areas lie; a file of more is read through its full
// 32-bit count and offsets, and not saved until deleting from the front, the middle and the end
// brings it back to 1018. The last entry has a name but no screen. Under a long name beyond ASCII.
TEST(ArchiveFile, ReadsAndWritesTheLayoutAndSavesAtMost1018Entries) {
    const TempFolder folder;
    FileOps ops = real_file_ops();
    ops.durable = false;  // flushing 16 MB files to disk is slow, and tested below
    const fs::path path =
        folder.path() / (fs::path(u8"Bildschirme \u00E4\u00F6") += std::string(226, 'n'));
    for (const auto& [count, name_area] : std::vector<std::pair<std::size_t, std::uint32_t>>{
             {3, 1000}, {kMaxEntries + 1, kNameAreaOffset}, {kMaxEntries + 3, 70000}}) {
        EntryStore model = numbered_store(count - 1);
        model.append_new_entry();
        model.name_buffer(count - 1)[kNameOffset] = 'n';
        const std::string file = reference_archive(model, name_area);
        if (count < kMaxEntries) {  // the writer in memory, with a blank buffer
            EXPECT_TRUE(archive_bytes(model) == reference_archive(model));
        }
        write_file(path, file);
        EntryStore store;
        ASSERT_EQ(open_archive_file(store, path), std::error_code()) << count;
        EXPECT_TRUE(reference_archive(store, name_area) == file) << count;
        if (count > kMaxEntries) {
            EXPECT_EQ(save_archive_file(store, path, ops), ArchiveError::too_many_entries);
        }
        for (std::size_t n = store.count(); n > kMaxEntries; --n) {
            const std::size_t at = std::vector<std::size_t>{0, n / 2, n - 1}[n % 3];
            store.remove_at(at);
            model.remove_at(at);
        }
        ASSERT_EQ(save_archive_file(store, path, ops), std::error_code());
        EXPECT_TRUE(read_file(path) == reference_archive(model)) << count;
    }
}

// The entries by the one-digit names they were given, each checked to have kept its own screen
// block: reordering moves blocks and never copies them.
std::string order(EntryStore& store, const std::vector<const ScreenBlock*>& blocks) {
    std::string digits;
    for (std::size_t i = 0; i < store.count(); ++i) {
        digits += store.display_name(i);
        EXPECT_EQ(&store.screen_block(i), blocks[static_cast<std::size_t>(digits.back() - '0')]);
    }
    return digits;
}

TEST(EntryStore, ReordersRemovesAndClearsEntriesWhole) {
    EntryStore store;
    std::vector<const ScreenBlock*> blocks;
    for (const char digit : std::string("012345")) {
        add_entry(store, {digit}, ScreenBlock{});
        blocks.push_back(&store.screen_block(store.count() - 1));
    }
    store.swap_neighbours(0);
    store.swap_neighbours(2);
    EXPECT_EQ(order(store, blocks), "103245");
    store.move_last_to(0);
    EXPECT_EQ(order(store, blocks), "510324");
    store.move_last_to(2);
    EXPECT_EQ(order(store, blocks), "514032");
    store.remove_at(5);
    store.remove_at(0);
    store.remove_at(1);
    EXPECT_EQ(order(store, blocks), "103");
    store.clear();
    EXPECT_EQ(store.count(), 0u);
}

// A 56-byte name shows whole, but nothing of bytes 60-63 or of an old display copy; a name shows
// without a screen block of its own. The hash is the checksum of the name bytes, never the stored
// one ("b" and " !" weigh alike), and the entry given is skipped.
TEST(EntryStore, ShowsAndHashesNames) {
    EntryStore store;
    for (const std::string& name :
         {std::string(kNameLength, 'N'), std::string("b"), std::string(" !")}) {
        add_entry(store, name, ScreenBlock{});
    }
    std::fill(store.name_buffer(0).begin() + kDataSizeOffset, store.name_buffer(0).end(), 'Z');
    write_u32(store.name_buffer(1).data(), 0xDEADBEEF);
    EXPECT_EQ(store.display_name(0), std::string(kNameLength, 'N'));
    EXPECT_EQ(store.name_hash(1), 98u);
    EXPECT_FALSE(store.name_hash_in_use(store.name_hash(0), 0));
    EXPECT_TRUE(store.name_hash_in_use(store.name_hash(0), -1));
    EXPECT_TRUE(store.name_hash_in_use(98, 1));
    store.append_new_entry();  // a name of its own beside the stand-in screen block
    store.name_buffer(3)[kNameOffset] = 'x';
    EXPECT_STREQ(store.display_name(3), "x");
}

const std::string kOld = "the old contents";
const std::string kNew(200000, 'n');  // more than one write buffer
const auto write_new = [](std::ostream& stream) { stream << kNew; };
const std::error_code kFull = std::make_error_code(std::errc::no_space_on_device);

// The real steps of a save, each noted in `steps` as it runs (a repeat once), but step number
// `failing` fails: 0 check, 1 create, 2 the first write, 3 a later write, 4 close, 5 replace.
FileOps noted(std::string& steps, int failing) {
    const FileOps& real = real_file_ops();
    FileOps ops = real;
    const auto note = [&steps, failing](int step, const std::string& name, bool flush = false) {
        const std::string text = name + (flush ? " flushed " : " ");
        steps += steps.ends_with(text) ? "" : text;
        return step == failing;
    };
    ops.check_replaceable = [=](auto& file) {
        return note(0, "check") ? kFull : real.check_replaceable(file);
    };
    ops.create_temporary = [=](auto& file, auto& made) {
        return note(1, "create") ? kFull : real.create_temporary(file, made);
    };
    ops.write = [=](auto& file, std::uint64_t at, auto bytes) {
        return note(at == 0 ? 2 : 3, "write") ? kFull : real.write(file, at, bytes);
    };
    ops.close = [=](auto& file, bool flush) {
        const std::error_code closed = real.close(file, flush);
        return note(4, "close", flush) ? kFull : closed;
    };
    ops.replace = [=](auto& from, auto& to, bool flush) {
        EXPECT_EQ(from.parent_path(), to.parent_path());
        EXPECT_EQ(read_file(from), kNew);
        return note(5, "replace", flush) ? kFull : real.replace(from, to, flush);
    };
    return ops;
}

struct AtomicFile : ::testing::Test {
    void SetUp() override { write_file(target(), kOld); }
    fs::path target() const { return folder / "TVK.DAT"; }
    TempFolder folder;
};

// A whole temporary beside the target takes its place, both flushed to disk unless told not to.
// A step that fails is reported and leaves the old file whole and no temporary behind.
TEST_F(AtomicFile, ReplacesTheTargetOnlyWhenEveryStepSucceeded) {
    const std::string all = "check create write close flushed replace flushed ";
    const std::vector<std::tuple<int, bool, std::string>> cases = {
        {-1, true, all},
        {-1, false, "check create write close replace "},
        {0, true, "check "},
        {1, true, "check create "},
        {2, true, "check create write close "},
        {3, true, "check create write close "},
        {4, true, "check create write close flushed "},
        {5, true, all}};
    for (const auto& [failing, durable, expected] : cases) {
        std::string steps;
        FileOps ops = noted(steps, failing);
        ops.durable = durable;
        EXPECT_EQ(save_file_atomically(target(), write_new, ops),
                  failing < 0 ? std::error_code() : kFull);
        EXPECT_EQ(steps, expected);
        EXPECT_EQ(read_file(target()), failing < 0 ? kNew : kOld) << failing;
        EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
        write_file(target(), kOld);
    }
    EXPECT_THROW(save_file_atomically(target(), [](std::ostream&) { throw std::bad_alloc(); }),
                 std::bad_alloc);
    EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
}

// Written in place, a file is whole, with nothing of a longer one before it, or gone.
TEST_F(AtomicFile, WritesInPlaceWholeOrNotAtAll) {
    std::string steps;
    EXPECT_EQ(save_file_in_place(target(), kNew), std::error_code());
    EXPECT_EQ(read_file(target()), kNew);
    EXPECT_EQ(save_file_in_place(target(), kOld), std::error_code());
    EXPECT_EQ(read_file(target()), kOld);
    EXPECT_EQ(save_file_in_place(folder / "cut.dat", kNew, noted(steps, 2)), kFull);
    EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
}

// What is not an archive file opens as an empty store with the reason, and what is no file is not
// saved over.
TEST_F(AtomicFile, OpensAndSavesOnlyArchiveFiles) {
    write_file(folder / "short.dat", "short");
    write_file(folder / "text.dat", std::string(400, 'x'));
    const auto missing = std::make_error_code(std::errc::no_such_file_or_directory);
    const auto directory = std::make_error_code(std::errc::is_a_directory);
    std::vector<std::tuple<fs::path, std::error_code, std::error_code>> cases = {
        {folder / "missing" / "TVK.DAT", missing, missing},
        {folder.path(), directory, directory},
        {folder / "short.dat", ArchiveError::not_an_archive, {}},
        {folder / "text.dat", ArchiveError::not_an_archive, {}}};
#ifndef _WIN32
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0644), 0);
    cases.emplace_back(folder / "fifo", FileError::not_a_regular_file,
                       FileError::not_a_regular_file);
#endif
    for (const auto& [path, opened, saved] : cases) {
        EntryStore store = numbered_store(2);
        EXPECT_EQ(open_archive_file(store, path), opened) << path;
        EXPECT_EQ(store.count(), 0u);
        if (saved) {
            EXPECT_EQ(save_archive_file(store, path), saved) << path;
        }
    }
    // Nothing was written: the folder holds the files made here alone.
    EXPECT_EQ(folder.file_names().size(), cases.size() - 1);
}

// What tvk prints after a failed open or save reads the same on every platform.
TEST(FileReasons, ReadTheSameOnEveryPlatform) {
    using std::errc;
    for (const auto& [error, text] : std::vector<std::pair<std::error_code, std::string>>{
             {make_error_code(errc::permission_denied), "Permission denied"},
             {make_error_code(errc::no_such_file_or_directory), "No such file or directory"},
             {make_error_code(errc::is_a_directory), "Is a directory"},
             {make_error_code(errc::no_space_on_device), "No space left on device"},
             {make_error_code(FileError::not_a_regular_file), "Not a regular file"}}) {
        EXPECT_EQ(reason_text(error), text);
    }
}

#ifdef _WIN32
// A read-only file is refused though a rename could replace it.
TEST_F(AtomicFile, RefusesAReadOnlyFile) {
    fs::permissions(target(), fs::perms::all, fs::perm_options::remove);
    EXPECT_EQ(save_file_atomically(target(), write_new), std::errc::permission_denied);
    EXPECT_EQ(read_file(target()), kOld);
    fs::permissions(target(), fs::perms::owner_write, fs::perm_options::add);
}
#else
// A link stays a link, and what it leads to is replaced: through relative and absolute links, and
// to a file that does not exist yet. An archive opens through a link.
TEST_F(AtomicFile, SavesThroughSymbolicLinksAndKeepsThem) {
    const TempFolder elsewhere;
    write_file(elsewhere / "real.dat", kOld);
    fs::create_symlink("real.dat", elsewhere / "near.dat");
    fs::create_symlink(elsewhere / "near.dat", folder / "link.dat");
    fs::create_symlink("made.dat", folder / "dangling.dat");
    EXPECT_EQ(save_file_atomically(folder / "link.dat", write_new), std::error_code());
    EXPECT_EQ(save_file_atomically(folder / "dangling.dat", write_new), std::error_code());
    EXPECT_EQ(read_file(elsewhere / "real.dat") + read_file(folder / "made.dat"), kNew + kNew);
    EXPECT_TRUE(fs::is_symlink(folder / "link.dat") && fs::is_symlink(elsewhere / "near.dat") &&
                fs::is_symlink(folder / "dangling.dat"));
    EXPECT_EQ(folder.file_names().size() + elsewhere.file_names().size(), 6u);
    EntryStore store;
    EXPECT_EQ(open_archive_file(store, folder / "link.dat"), ArchiveError::not_an_archive);
}

// Permission bits, owner and group carry over. A file the user may not write is refused, even where
// the folder would let a rename replace it.
TEST_F(AtomicFile, KeepsPermissionsAndHonoursThem) {
    ASSERT_EQ(chmod(target().c_str(), 02755), 0);
    EXPECT_EQ(save_file_atomically(target(), write_new), std::error_code());
    EXPECT_EQ(fs::status(target()).permissions(), fs::perms(02755));
    ASSERT_EQ(chmod(folder.path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(target().c_str(), 0444), 0);
    // A group other than the user's number, so that owner and group cannot stand in for each other.
    const std::pair owner{unprivileged_user(), unprivileged_user() + 1};
    ASSERT_EQ(chown(target().c_str(), owner.first, owner.second), 0);
    const auto save = [this] { return save_file_atomically(target(), write_new).value(); };
    EXPECT_EQ(run_unprivileged(save), EACCES);
    EXPECT_EQ(read_file(target()), kNew);
    if (geteuid() == 0) {  // root may replace it, and it stays the other user's
        EXPECT_EQ(save(), 0);
        struct stat status {};
        stat(target().c_str(), &status);
        EXPECT_EQ(std::pair(status.st_uid, status.st_gid), owner);
    }
    EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
}
#endif

}  // namespace
}  // namespace tvk::test
