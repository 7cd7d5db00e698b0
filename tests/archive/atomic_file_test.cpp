#include "atomic_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <streambuf>

#include "temp_folder.h"

namespace tvk {
namespace {

using test::read_file;
using test::write_file;

const std::string kOld = "the old contents";
const std::string kNew(5000, 'n');

void write_new(std::ostream& stream) {
    stream << kNew;
}

// Passes bytes on to a real file stream until `limit` bytes have been written, then fails like a
// full disk.
class FailingAfter : public std::streambuf {
  public:
    FailingAfter(std::unique_ptr<std::ostream> file, std::size_t limit)
        : m_file(std::move(file)), m_limit(limit) {}

  protected:
    int_type overflow(int_type ch) override {
        if (traits_type::eq_int_type(ch, traits_type::eof()) || m_written == m_limit) {
            return traits_type::eof();
        }
        ++m_written;
        return m_file->rdbuf()->sputc(traits_type::to_char_type(ch));
    }
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        const auto room = static_cast<std::streamsize>(m_limit - m_written);
        const std::streamsize written = m_file->rdbuf()->sputn(bytes, std::min(count, room));
        m_written += static_cast<std::size_t>(written);
        return written;
    }
    int sync() override { return m_file->rdbuf()->pubsync(); }

  private:
    std::unique_ptr<std::ostream> m_file;
    std::size_t m_limit;
    std::size_t m_written = 0;
};

class FailingStream : public std::ostream {
  public:
    FailingStream(std::unique_ptr<std::ostream> file, std::size_t limit)
        : std::ostream(nullptr), m_buffer(std::move(file), limit) {
        rdbuf(&m_buffer);
    }

  private:
    FailingAfter m_buffer;
};

class AtomicFile : public ::testing::Test {
  protected:
    void SetUp() override { write_file(target(), kOld); }
    std::filesystem::path target() const { return folder.path() / "TVK.DAT"; }
    // The old file is there, whole, and nothing else is left in the folder.
    void expect_old_file_untouched() const {
        EXPECT_EQ(read_file(target()), kOld);
        EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
    }
    test::TempFolder folder;
};

TEST_F(AtomicFile, ReplacesTheTargetThroughATemporaryBesideIt) {
    FileOps ops = real_file_ops();
    std::filesystem::path temporary;
    ops.open_output = [&](const std::filesystem::path& path) {
        temporary = path;
        return real_file_ops().open_output(path);
    };
    ops.replace = [&](const std::filesystem::path& from, const std::filesystem::path& to) {
        EXPECT_EQ(from, temporary);
        EXPECT_EQ(to, target());
        EXPECT_EQ(read_file(from), kNew);  // complete before it replaces anything
        EXPECT_EQ(read_file(to), kOld);
        return real_file_ops().replace(from, to);
    };
    EXPECT_TRUE(save_file_atomically(target(), write_new, ops));
    EXPECT_EQ(temporary.parent_path(), target().parent_path());
    EXPECT_NE(temporary, target());
    EXPECT_EQ(read_file(target()), kNew);
    EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
}

TEST_F(AtomicFile, CreatesATargetThatDoesNotExist) {
    const auto fresh = folder.path() / "fresh.dat";
    EXPECT_TRUE(save_file_atomically(fresh, write_new));
    EXPECT_EQ(read_file(fresh), kNew);
}

TEST_F(AtomicFile, ReportsATemporaryThatCannotBeCreated) {
    FileOps ops = real_file_ops();
    ops.open_output = [](const std::filesystem::path&) { return std::unique_ptr<std::ostream>(); };
    EXPECT_FALSE(save_file_atomically(target(), write_new, ops));
    expect_old_file_untouched();
}

TEST_F(AtomicFile, ReportsAFolderThatDoesNotExist) {
    EXPECT_FALSE(save_file_atomically(folder.path() / "missing" / "TVK.DAT", write_new));
    expect_old_file_untouched();
}

TEST_F(AtomicFile, ReportsAFailedWriteAndRemovesTheTemporary) {
    for (const std::size_t limit : {std::size_t{0}, std::size_t{1}, kNew.size() - 1}) {
        FileOps ops = real_file_ops();
        ops.open_output =
            [limit](const std::filesystem::path& path) -> std::unique_ptr<std::ostream> {
            return std::make_unique<FailingStream>(real_file_ops().open_output(path), limit);
        };
        EXPECT_FALSE(save_file_atomically(target(), write_new, ops)) << "limit " << limit;
        expect_old_file_untouched();
    }
}

TEST_F(AtomicFile, ReportsAFailedFlushOrCloseAndRemovesTheTemporary) {
    FileOps ops = real_file_ops();
    ops.finish_output = [](std::ostream& stream) {
        real_file_ops().finish_output(stream);
        return false;
    };
    EXPECT_FALSE(save_file_atomically(target(), write_new, ops));
    expect_old_file_untouched();
}

TEST_F(AtomicFile, ReportsAFailedReplaceAndRemovesTheTemporary) {
    FileOps ops = real_file_ops();
    ops.replace = [](const std::filesystem::path&, const std::filesystem::path&) { return false; };
    EXPECT_FALSE(save_file_atomically(target(), write_new, ops));
    expect_old_file_untouched();
}

TEST_F(AtomicFile, RealFinishReportsAStreamThatFailed) {
    auto stream = real_file_ops().open_output(folder.path() / "other");
    ASSERT_TRUE(stream && stream->good());
    EXPECT_TRUE(real_file_ops().finish_output(*stream));
    auto failed = real_file_ops().open_output(folder.path() / "failed");
    failed->setstate(std::ios::badbit);
    EXPECT_FALSE(real_file_ops().finish_output(*failed));
}

}  // namespace
}  // namespace tvk
