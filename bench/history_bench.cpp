// The cost of the editor's undo history: time per edit and the memory that 1000 edits keep, with
// the screen blocks they replaced counted apart.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <functional>
#include <string>

#include "editor_controller.h"

namespace tvk::bench {
namespace {

constexpr int kEdits = 1000;
constexpr int kEntries = 10;

// A window that keeps only what the editor reads back: the rows, the selection and the name box.
class BareView final : public EditorView {
  public:
    int row_count() const override { return static_cast<int>(rows.size()); }
    std::u16string row_text(int row) const override { return rows[static_cast<std::size_t>(row)]; }
    void add_row(const std::u16string& text) override { rows.push_back(text); }
    void insert_row(int row, const std::u16string& text) override {
        rows.insert(rows.begin() + row, text);
    }
    void delete_row(int row) override { rows.erase(rows.begin() + row); }
    int selected_row() const override { return selection; }
    void select_row(int row) override { selection = row; }
    std::u16string name_text() const override { return name; }
    void set_name_text(const std::u16string& text) override { name = text; }
    void enable_selection_buttons(bool) override {}
    void show_preview(const PixelGrid&) override {}
    void warn(std::string_view) override {}
    std::optional<std::filesystem::path> choose_file(FileChoice) override { return "picture"; }

    std::vector<std::u16string> rows;
    int selection = -1;
    std::u16string name;
};

// Every picture read is a 120 x 112 one of two colours, a different pair each time.
class MadeUpPictures final : public ImageFiles {
  public:
    PictureFile read_picture(const std::filesystem::path&, std::optional<PictureSize>) override {
        PictureFile read;
        Picture& picture = read.picture;
        picture = {kScreenWidth, kScreenHeight, {}};
        picture.argb.assign(static_cast<std::size_t>(kScreenWidth) * kScreenHeight,
                            0xFF000000u | m_count);
        picture.argb[0] = 0xFFFFFFFFu;
        ++m_count;
        return read;
    }
    std::optional<std::string> encode_png(const Picture&) override { return std::nullopt; }
    std::optional<std::string> encode_palette_png(const PalettePicture&) override {
        return std::nullopt;
    }

  private:
    std::uint32_t m_count = 0;
};

std::size_t heap_in_use() {
    return mallinfo2().uordblks;
}

// Runs `kEdits` edits of one kind on an editor of kEntries entries and reports the heap that the
// history keeps per edit, beyond the screen blocks the edits replaced.
void measure(benchmark::State& state,
             const std::function<void(EditorController&, BareView&, int)>& edit,
             std::size_t replaced_per_edit) {
    double kept_per_edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        BareView view;
        MadeUpPictures pictures;
        EditorController editor(view, pictures);
        for (int i = 0; i < kEntries; ++i) {
            view.name = u"entry " + std::u16string(1, static_cast<char16_t>(u'0' + i));
            editor.add();
        }
        view.select_row(4);
        const std::size_t before = heap_in_use();
        state.ResumeTiming();
        for (int i = 0; i < kEdits; ++i) {
            edit(editor, view, i);
        }
        state.PauseTiming();
        const auto kept = static_cast<double>(heap_in_use() - before);
        kept_per_edit = kept / kEdits - static_cast<double>(replaced_per_edit);
        benchmark::DoNotOptimize(editor.history().size());
        state.ResumeTiming();
    }
    state.counters["edits"] = kEdits;
    state.counters["kept_bytes_per_edit_beyond_blocks"] = kept_per_edit;
    state.counters["kept_kib_per_1000_edits_beyond_blocks"] = kept_per_edit * kEdits / 1024;
}

void BM_Rename1000(benchmark::State& state) {
    measure(
        state,
        [](EditorController& editor, BareView& view, int i) {
            view.name = u"a name long enough to leave the short-string buffer " +
                        std::u16string(1, static_cast<char16_t>(u'a' + i % 2));
            editor.rename();
        },
        0);
}

void BM_MoveDown1000(benchmark::State& state) {
    measure(
        state,
        [](EditorController& editor, BareView&, int i) {
            if (i % 2 == 0) {
                editor.move_down();
            } else {
                editor.move_up();
            }
        },
        0);
}

void BM_SetScreen1000(benchmark::State& state) {
    measure(
        state, [](EditorController& editor, BareView&, int) { editor.set_screen(); },
        sizeof(ScreenBlock));
}

void BM_Undo1000Renames(benchmark::State& state) {
    BareView view;
    MadeUpPictures pictures;
    EditorController editor(view, pictures);
    view.name = u"only";
    editor.add();
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kEdits; ++i) {
            view.name = i % 2 == 0 ? u"even" : u"odd";
            editor.rename();
        }
        state.ResumeTiming();
        for (int i = 0; i < kEdits; ++i) {
            editor.undo();
        }
    }
    state.counters["edits"] = kEdits;
}

BENCHMARK(BM_Rename1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveDown1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetScreen1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Undo1000Renames)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tvk::bench

BENCHMARK_MAIN();
