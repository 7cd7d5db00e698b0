#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "builders.h"
#include "cli_context.h"
#include "picture_bytes.h"
#include "platform_image_files.h"
#include "temp_folder.h"
#include "tvk_command.h"

namespace tvk::test {

// A command line and what tvk gives for it (or gave), after `file` (when named) is written with
// `bytes`.
struct Row {
    std::vector<std::string> args = {};
    int status = 0;
    std::string out = {};  // a trailing '*' stands for any rest
    std::string err = {};
    std::string file = {};
    std::string bytes = {};
};

// The words of a command line, split at spaces.
inline std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> result;
    std::istringstream stream(line);
    for (std::string word; std::getline(stream, word, ' ');) {
        result.push_back(word);
    }
    return result;
}
inline Row ok(const std::string& line, const std::string& out = "") {
    return {words(line), 0, out};
}
// tvk reports "tvk: MESSAGE" and exits with `status`.
inline Row fails(const std::string& line, const std::string& message, int status = 1) {
    return {words(line), status, "", "tvk: " + message + "\n"};
}
inline Row on(const std::string& file, const std::string& bytes, const Row& row) {
    return {row.args, row.status, row.out, row.err, file, bytes};
}

// The archive file of the entries "NAME[COLOURS] ...": a screen of grid_with_colours(COLOURS)
// each, blank for 0 ("a2 b0").
inline std::string archive_with(const std::string& entries) {
    EntryStore store;
    for (const std::string& entry : words(entries)) {
        const std::size_t digits = entry.find_last_not_of("0123456789") + 1;
        const int colours = std::stoi(entry.substr(digits));
        add_entry(store, entry.substr(0, digits),
                  colours == 0 ? ScreenBlock{} : block_of(grid_with_colours(colours)));
    }
    return archive_bytes(store);
}
// The archive file that loading `bytes` and saving the store again gives.
inline std::string resaved(const std::string& bytes) {
    EntryStore store = load(bytes);
    return archive_bytes(store);
}

// Each test runs in a folder of its own, made its current folder, and runs tvk in-process there,
// so paths and messages are short: "tvk: a.dat: It's not TVK.DAT".
class CliTest : public ::testing::Test {
  protected:
    CliTest() { std::filesystem::current_path(m_folder.path()); }
    ~CliTest() override { std::filesystem::current_path(m_previous); }

    Row tvk(const std::vector<std::string>& args, const FileOps& ops = real_file_ops()) {
        std::ostringstream out;
        std::ostringstream err;
        CliContext context{out, err, *m_images, ops};
        const int status = run_tvk(args, context);
        return {args, status, out.str(), err.str()};
    }
    // Runs the rows in order; each sees the files the rows before it left.
    void check(const std::vector<Row>& rows, const FileOps& ops = real_file_ops()) {
        for (const Row& row : rows) {
            SCOPED_TRACE(::testing::PrintToString(row.args));
            if (!row.file.empty()) {
                write_file(row.file, row.bytes);
            }
            const Row run = tvk(row.args, ops);
            EXPECT_EQ(run.status, row.status);
            const std::size_t shown = row.out.ends_with('*') ? row.out.size() - 1 : row.out.npos;
            EXPECT_EQ(run.out.substr(0, shown), row.out.substr(0, shown));
            EXPECT_EQ(run.err, row.err);
        }
    }
    Picture picture(const std::string& file) { return m_images->read_picture(file, {}).picture; }

    TempFolder m_folder;
    std::filesystem::path m_previous = std::filesystem::current_path();
    std::unique_ptr<ImageFiles> m_images = make_platform_image_files();
};

}  // namespace tvk::test
