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

// Latin-1 bytes, or text up to U+07FF, as UTF-8.
template <typename Text>
std::string utf8(const Text& text) {
    std::string out;
    for (const auto c : text) {
        const unsigned code = sizeof(c) == 1 ? static_cast<unsigned char>(c) : c;
        out += code < 0x80 ? std::string{static_cast<char>(code)}
                           : std::string{static_cast<char>(0xC0 | code >> 6),
                                         static_cast<char>(0x80 | (code & 0x3F))};
    }
    return out;
}

}  // namespace

void EditorTest::SetUp() {
    write_archive(
        folder / "abc",
        {{"zero", solid_grid(kRed)}, {"one", solid_grid(kGreen)}, {"two", solid_grid(kBlue)}});
    write_file(folder / "text", "just some text\n");
    std::filesystem::create_directory(folder / "dir");
    write_file(folder / "dir" / "inside", "kept");
    for (const auto& [name, picture] : std::map<std::string, Picture>{
             {"white", solid_picture(kScreenWidth, kScreenHeight, 0xFFFFFFFF)},
             {"wide", solid_picture(121, 113, 0xFF000000)},
             {"tall", solid_picture(120, 113, 0xFF000000)},
             {"short", {kScreenWidth, kScreenHeight, std::vector<std::uint32_t>(10)}},
             {"63c", picture_with_colours(63)},
             {"64c", picture_with_colours(64)}}) {
        write_file(folder / name, *images.encode_png(picture));
    }
    restart();
}

void EditorTest::restart() {
    editor.reset();
    view = std::make_unique<RecordingView>();
    images.fail_encoding = images.throw_on_read = false;
    editor = std::make_unique<EditorController>(*view, images);
    editor->initialise();
    EXPECT_FALSE(view->buttons_enabled);
    run("open:abc");
}

void EditorTest::run(std::string_view script) {
    // The words of the commands, in the order of Command; those that open a chooser.
    const std::vector<std::string> verbs = {"open", "save", "ren", "add",    "ins",  "del",
                                            "up",   "down", "set", "export", "undo", "redo"};
    const std::map<std::string, FileChoice> choosers = {{"open", FileChoice::open_archive},
                                                        {"save", FileChoice::save_archive},
                                                        {"set", FileChoice::open_image},
                                                        {"export", FileChoice::save_png}};
    const std::map<char, ListKey> keys = {
        {'u', ListKey::up}, {'d', ListKey::down}, {'i', ListKey::insert}, {'x', ListKey::del}};
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
                view->name += c == '_'   ? u' '
                              : c == '^' ? u'\u0100'
                                         : static_cast<unsigned char>(c);
            }
        } else if (word[0] == 'k') {
            const auto key = keys.find(static_cast<char>(std::tolower(word[1])));
            const bool shift = std::isupper(word[1]) != 0;
            const KeyAnswer answer =
                editor->list_key(key == keys.end() ? ListKey::other : key->second, shift);
            view->log += answer == KeyAnswer::handled ? "[h]" : "[l]";
        } else if (verb == "drop" || verb == "start") {
            verb == "drop" ? editor->drop_file(file) : editor->open_file(file);
        } else if (word == "fail0" || word == "fail1") {
            view->inserts_before_failure = word[4] - '0';
        } else if (word == "throw" || word == "nopng") {
            (word == "throw" ? images.throw_on_read : images.fail_encoding) = true;
        } else {
            const auto command = std::find(verbs.begin(), verbs.end(), verb) - verbs.begin();
            if (colon != std::string::npos) {
                view->answers[choosers.at(verb)] = file;
            }
            ASSERT_LT(command, 12) << word;
            editor->run(static_cast<Command>(command));
            view->answers.clear();
        }
    }
}

std::string EditorTest::state() const {
    const EntryStore& store = editor->store();
    std::string out;
    for (std::size_t i = 0; i < std::max(store.count(), view->rows.size()); ++i) {
        const std::string row = i < view->rows.size() ? utf8(view->rows[i]) : "";
        const std::string stored = i < store.count() ? utf8(stored_name(store, i)) : "(none)";
        out += (static_cast<int>(i) == view->selection ? "*" : "") + row +
               (row == stored ? "" : "!=" + stored) + ":" +
               (i < store.count() ? colour_letter(screen_of(store, i)) : "") + " ";
    }
    return out + "|" + utf8(view->name) + "|" + (view->buttons_enabled ? "on" : "off") + "|" +
           (view->preview ? colour_letter(*view->preview) : "-") + "|" + view->log;
}

}  // namespace tvk::test
