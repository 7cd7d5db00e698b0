#include "cli_fixture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QString>
#include <fstream>
#include <iterator>
#include <sstream>

#include "archive_io.h"
#include "platform_image_files.h"
#include "record.h"
#include "screen_codec.h"

extern char** environ;

namespace tvk::test {

namespace fs = std::filesystem;

CliTest::CliTest() : m_images(make_platform_image_files()) {
    std::string pattern = (fs::temp_directory_path() / "tvk-cli-XXXXXX").string();
    m_root = mkdtemp(pattern.data());
    m_folder = m_root / "work";
    fs::create_directory(m_folder);
}

CliTest::~CliTest() {
    fs::remove_all(m_root);
}

std::string CliTest::at(const std::string& name) const {
    return path(name).string();
}

fs::path CliTest::path(const std::string& name) const {
    return m_folder / name;
}

RunResult CliTest::tvk(const std::vector<std::string>& arguments) const {
    const std::string out = (m_root / "stdout").string();
    const std::string err = (m_root / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> words = {TVK_BINARY};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    RunResult result;
    pid_t child = 0;
    if (posix_spawn(&child, TVK_BINARY, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    std::ifstream out_stream(out, std::ios::binary);
    result.out.assign(std::istreambuf_iterator<char>(out_stream), {});
    std::ifstream err_stream(err, std::ios::binary);
    result.err.assign(std::istreambuf_iterator<char>(err_stream), {});
    return result;
}

std::string CliTest::read(const std::string& name) const {
    std::ifstream stream(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

void CliTest::write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
}

void CliTest::write_picture(const std::string& name, int width, int height,
                            const PixelSource& argb) const {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, argb(x, y));
        }
    }
    ASSERT_TRUE(image.save(QString::fromStdString(at(name)), "PNG"));
}

Picture CliTest::read_picture(const std::string& name) const {
    return m_images->read_picture(path(name), std::nullopt).picture;
}

PixelGrid grid_with_colours(int colours, ColourValue base) {
    PixelGrid grid{};
    for (std::size_t x = 0; x < kScreenWidth; ++x) {
        for (std::size_t y = 0; y < kScreenHeight; ++y) {
            const auto number =
                static_cast<ColourValue>((x + y) % static_cast<std::size_t>(colours));
            grid[grid_index(x, y)] = base + number * 0x00030507u;
        }
    }
    return grid;
}

ScreenBlock block_of(const PixelGrid& grid) {
    ScreenBlock block{};
    EXPECT_EQ(encode_screen(grid, block), kEncoded);
    return block;
}

PixelGrid screen_of(const ScreenBlock& block) {
    PixelGrid grid{};
    decode_screen(block, grid);
    return grid;
}

PixelSource source_of(const PixelGrid& grid, std::uint32_t alpha) {
    return [grid, alpha](int x, int y) {
        const ColourValue value =
            grid[grid_index(static_cast<std::size_t>(x), static_cast<std::size_t>(y))];
        return alpha | (value & 0xFFu) << 16 | (value & 0xFF00u) | (value >> 16 & 0xFFu);
    };
}

void add_entry(EntryStore& store, const std::string& latin1, const ScreenBlock& block) {
    const std::size_t i = store.count();
    store.append_new_entry();
    NameBuffer& name = store.name_buffer(i);
    name.fill(0);
    std::copy(latin1.begin(), latin1.end(), name.begin() + kNameOffset);
    write_u16(name.data() + kDataSizeOffset, static_cast<std::uint16_t>(kUsedBlockSize));
    store.screen_block(i) = block;
}

std::string archive_bytes(EntryStore& store) {
    std::ostringstream stream(std::ios::binary);
    save_archive(store, stream);
    return stream.str();
}

EntryStore load(const std::string& bytes) {
    EntryStore store;
    std::istringstream stream(bytes, std::ios::binary);
    EXPECT_EQ(load_archive(store, stream), kLoaded);
    return store;
}

std::string resaved(const std::string& bytes) {
    EntryStore store = load(bytes);
    return archive_bytes(store);
}

void set_stored_checksum(std::string& file, std::size_t offset, std::size_t length,
                         std::uint32_t checksum) {
    auto* record = reinterpret_cast<std::uint8_t*>(file.data() + offset);
    scramble(record, length);
    write_u32(record, checksum);
    scramble(record, length);
}

}  // namespace tvk::test
