#include "editor_fixture.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace tvk::test {
namespace {

std::string colour_letter(const PixelGrid& grid) {
    const std::map<ColourValue, std::string> letters = {
        {kRed, "R"}, {kGreen, "G"}, {kBlue, "B"}, {0xFFFFFF, "W"}, {0, "K"}};
    const bool solid = std::all_of(grid.begin(), grid.end(), [&](auto c) { return c == grid[0]; });
    return solid && letters.count(grid[0]) ? letters.at(grid[0]) : "?";
}

// The row texts as the Latin-1 bytes that they stand for, ? for any character above U+00FF.
std::string latin1(const std::u16string& text) {
    std::string out(text.size(), '?');
    std::transform(text.begin(), text.end(), out.begin(),
                   [](char16_t c) { return c > 0xFF ? '?' : static_cast<char>(c); });
    return out;
}

}  // namespace

void EditorTest::SetUp() {
    write_archive(
        folder / "abc",
        {{"zero", solid_grid(kRed)}, {"one", solid_grid(kGreen)}, {"two", solid_grid(kBlue)}});
    write_file(folder / "text", "just some text\n");
    std::filesystem::create_directory(folder / "dir");
    for (const auto& [name, picture] : std::map<std::string, Picture>{
             {"white", solid_picture(kScreenWidth, kScreenHeight, 0xFFFFFFFF)},
             {"wide", solid_picture(121, 113, 0xFF000000)},
             {"tall", solid_picture(120, 113, 0xFF000000)},
             {"short", {kScreenWidth, kScreenHeight, std::vector<std::uint32_t>(10)}},
             {"63c", picture_of(grid_with_colours(63))},
             {"64c", picture_of(grid_with_colours(64))}}) {
        write_file(folder / name, *images.encode_png(picture));
    }
    restart();
}

void EditorTest::restart() {
    view = std::make_unique<RecordingView>();
    images.fail_encoding = images.throw_on_read = false;
    editor = std::make_unique<EditorController>(*view, images);
    editor->initialise();
    EXPECT_FALSE(view->buttons_enabled);
    run("open:abc");
}

void EditorTest::run(std::string_view script) {
    // The words of the commands in the order of Command, of the choosers in that of FileChoice,
    // and of the list's keys in that of ListKey.
    const std::vector<std::string> verbs = {"open", "save", "ren", "add",    "ins",  "del",
                                            "up",   "down", "set", "export", "undo", "redo"};
    const std::vector<std::string> choosers = {"open", "save", "set", "export"};
    const std::string_view keys = "udix";
    std::istringstream words{std::string(script)};
    for (std::string word; words >> word;) {
        const std::size_t colon = word.find(':');
        const std::string verb = word.substr(0, colon);
        const std::filesystem::path file = folder / word.substr(colon + 1);
        if (word[0] == '@') {
            view->selection = word == "@-" ? -1 : std::stoi(word.substr(1));
            editor->selection_changed();
        } else if (word[0] == '=') {
            view->name.clear();
            for (const char c : word.substr(1)) {
                view->name += c == '^' ? u'\u0100' : static_cast<unsigned char>(c);
            }
        } else if (word[0] == 'k') {
            const auto key = std::min<std::size_t>(keys.find(std::tolower(word[1])), 4);
            const KeyAnswer answer =
                editor->list_key(static_cast<ListKey>(key), std::isupper(word[1]) != 0);
            view->log += answer == KeyAnswer::handled ? "[h]" : "[l]";
        } else if (verb == "drop") {
            editor->drop_file(file);
        } else if (word == "fail0" || word == "fail1") {
            view->inserts_before_failure = word[4] - '0';
        } else if (word == "throw" || word == "nopng") {
            (word == "throw" ? images.throw_on_read : images.fail_encoding) = true;
        } else {
            const auto command = std::find(verbs.begin(), verbs.end(), verb) - verbs.begin();
            if (colon != std::string::npos) {
                const auto choice = std::find(choosers.begin(), choosers.end(), verb);
                view->answers[static_cast<FileChoice>(choice - choosers.begin())] = file;
            }
            editor->run(static_cast<Command>(command));
            view->answers.clear();
        }
    }
}

std::string EditorTest::state() const {
    const EntryStore& store = editor->store();
    std::string out;
    for (std::size_t i = 0; i < std::max(store.count(), view->rows.size()); ++i) {
        const std::string row = i < view->rows.size() ? latin1(view->rows[i]) : "";
        const std::string stored = i < store.count() ? stored_name(store, i) : "(none)";
        out += (static_cast<int>(i) == view->selection ? "*" : "") + row +
               (row == stored ? "" : "!=" + stored) + ":" +
               (i < store.count() ? colour_letter(screen_of(store, i)) : "") + " ";
    }
    return out + "|" + latin1(view->name) + "|" + (view->buttons_enabled ? "on" : "off") + "|" +
           (view->preview ? colour_letter(*view->preview) : "-") + "|" + view->log;
}

}  // namespace tvk::test
