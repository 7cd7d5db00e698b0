#include <cstring>

#include "cli_fixture.h"
#include "record.h"

namespace tvk::test {
namespace {

class CheckCommands : public CliTest {
  protected:
    // Two entries, "a" and "b", as the core writes them.
    std::string two_entries() {
        EntryStore store;
        add_entry(store, "a", block_of(grid_with_colours(3)));
        add_entry(store, "b", block_of(grid_with_colours(5)));
        return archive_bytes(store);
    }
    static std::uint32_t correct_checksum(const std::string& file, std::size_t offset,
                                          std::size_t length, std::size_t end) {
        std::string record = file.substr(offset, length);
        auto* bytes = reinterpret_cast<std::uint8_t*>(record.data());
        scramble(bytes, length);
        return record_checksum(bytes, end);
    }
    RunResult verify(const std::string& bytes) {
        write("tvk.dat", bytes);
        return tvk({"verify", at("tvk.dat")});
    }
};

constexpr std::size_t kSecondName = 256 + 64;
constexpr std::size_t kFirstBlock = 64 * (2 + 5);

TEST_F(CheckCommands, AWholeArchivePassesSilently) {
    const RunResult run = verify(two_entries());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST_F(CheckCommands, WrongRecordChecksumsAreFoundThoughTheArchiveLoads) {
    std::string file = two_entries();
    set_stored_checksum(file, kSecondName, 64, 0xDEADBEEF);
    set_stored_checksum(file, kFirstBlock, kBlockSize, 0);
    ASSERT_EQ(load(file).count(), 2u);
    const RunResult run = verify(file);
    EXPECT_EQ(run.status, 1);
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "name record 1: stored checksum deadbeef, correct 00000062\n"
                  "screen block 0: stored checksum 00000000, correct %08x\n",
                  correct_checksum(file, kFirstBlock, kBlockSize, kBlockSize));
    EXPECT_EQ(run.out, expected);
}

TEST_F(CheckCommands, RecordsTheFileDoesNotHoldInFull) {
    const std::string file = two_entries();
    EXPECT_EQ(verify(file.substr(0, kFirstBlock + kBlockSize + 100)).out,
              "screen block 1: cut short, only 100 of 16384 bytes are in the file\n");
    const RunResult run = verify(file.substr(0, 300));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "name record 0: cut short, only 44 of 64 bytes are in the file\n"
              "name record 1: missing, the file ends at byte 300\n"
              "screen block 0: missing, the file ends at byte 300\n"
              "screen block 1: missing, the file ends at byte 300\n");
}

TEST_F(CheckCommands, AHeaderThatIsShortOrDamagedEndsTheCheck) {
    EXPECT_EQ(verify(std::string(10, 'x')).out,
              "header: the file is 10 bytes long, shorter than the 64-byte header\n");
    std::string file = two_entries();
    file[30] = static_cast<char>(file[30] ^ 1);
    const RunResult run = verify(file);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.substr(0, 24), "header: stored checksum ");
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1);
    const RunResult missing = tvk({"verify", at("missing.dat")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "tvk: " + at("missing.dat") + ": Can't open (No such file or directory)\n");
}

TEST_F(CheckCommands, InfoComparesTheFileSizeWithTheHeader) {
    write("tvk.dat", two_entries().substr(0, 256));
    const RunResult run = tvk({"info", at("tvk.dat")});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("signature:         CSZ_RK02V100\n"), std::string::npos);
    EXPECT_NE(run.out.find("entry count:       2\n"), std::string::npos);
    EXPECT_NE(run.out.find("block area offset: 448\n"), std::string::npos);
    EXPECT_NE(run.out.find("file size:         256 bytes, the header implies 33216\n"),
              std::string::npos);
    write("text.dat", std::string(100, 't'));
    EXPECT_EQ(tvk({"info", at("text.dat")}).err, "tvk: " + at("text.dat") + ": It's not TVK.DAT\n");
}

// An archive beyond 1018 entries loads, but other readers of the format misplace its blocks: both
// commands say so, and verify fails. A count no file of that size stands for ends the check.
TEST_F(CheckCommands, ArchivesBeyond1018EntriesAreNamedAsSuch) {
    const std::string note =
        "the archive holds 1019 entries, more than 1018; readers of the format read only 1018 "
        "entries correctly\n";
    EntryStore store;
    for (int i = 0; i < 1019; ++i) {
        store.append_new_entry();
    }
    const RunResult run = verify(archive_bytes(store));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "header: " + note);
    const RunResult info = tvk({"info", at("tvk.dat")});
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("entries read:      1019\n"), std::string::npos);
    EXPECT_NE(info.out.find("note:              " + note), std::string::npos);

    store.remove_at(0);
    EXPECT_EQ(verify(archive_bytes(store)).status, 0);
    write("tvk.dat", archive_bytes(store));
    EXPECT_EQ(tvk({"info", at("tvk.dat")}).out.find("note:"), std::string::npos);

    const std::string header = archive_bytes(store).substr(0, 64);

    std::uint8_t plain[64];
    std::memcpy(plain, header.data(), 64);
    scramble(plain, 64);
    write_u32(plain + 36, 70000);
    write_u32(plain, record_checksum(plain, 60));
    scramble(plain, 64);
    const RunResult refused = verify(std::string(reinterpret_cast<const char*>(plain), 64));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out,
              "header: announces 70000 entries, more than a file of 64 bytes can stand for\n");
}

// The edit that once destroyed such an archive: one delete brings it to 1018 entries, and every
// remaining entry keeps its own screen.
TEST_F(CheckCommands, DeletingFromAnArchiveBeyond1018EntriesKeepsEveryOtherScreen) {
    EntryStore store;
    for (int i = 0; i < 1019; ++i) {
        ScreenBlock block{};
        write_u32(block.data() + 100, static_cast<std::uint32_t>(i) * 2654435761u);
        add_entry(store, "e" + std::to_string(i), block);
    }
    write("tvk.dat", archive_bytes(store));
    const RunResult run = tvk({"delete", at("tvk.dat"), "500"});
    ASSERT_EQ(run.status, 0) << run.err;
    const EntryStore saved = load(read("tvk.dat"));
    ASSERT_EQ(saved.count(), 1018u);
    for (std::size_t i = 0; i < saved.count(); ++i) {
        const std::size_t was = i < 500 ? i : i + 1;
        ASSERT_EQ(saved.screen_block(i), store.screen_block(was)) << i;
    }
    EXPECT_EQ(tvk({"verify", at("tvk.dat")}).status, 0);
}

}  // namespace
}  // namespace tvk::test
