// Start-up, Open, Save and the selection change of the editor, seen through its view.
#include <gtest/gtest.h>

#include <algorithm>

#include "archive_file.h"
#include "editor_fixture.h"
#include "messages.h"

namespace tvk::test {
namespace {

using ArchiveCommands = EditorTest;

TEST_F(ArchiveCommands, StartsWithAnEmptyListAndTheSelectionButtonsDisabled) {
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.selection, -1);
    EXPECT_FALSE(view.buttons_enabled);
    EXPECT_TRUE(view.name.empty());
    EXPECT_EQ(view.previews_drawn, 0);
    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(editor.pixel_grid(), solid_grid(0));
}

TEST_F(ArchiveCommands, OpenListsTheEntriesInFileOrderWithNothingSelected) {
    open_entries({{"first", kRed}, {"second", kGreen}, {"third", kBlue}});

    EXPECT_EQ(view.choices, std::vector{FileChoice::open_archive});
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"first", u"second", u"third"}));
    EXPECT_EQ(view.selection, -1);
    EXPECT_FALSE(view.buttons_enabled);
    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(view.previews_drawn, 0);
}

TEST_F(ArchiveCommands, RowsShowNameBytesAsTheCharactersOfTheSameValue) {
    const std::string longest(kNameLength, 'x');
    open_entries({{"caf\xE9", kRed}, {longest, kGreen}, {"", kBlue}});

    EXPECT_EQ(view.rows[0], u"caf\u00E9");
    // A 56-byte name has no terminator in its record: the data size behind it must not show.
    EXPECT_EQ(view.rows[1], std::u16string(kNameLength, u'x'));
    EXPECT_EQ(view.rows[2], u"");
    click_row(0);
    EXPECT_EQ(view.name, u"caf\u00E9");
}

TEST_F(ArchiveCommands, SelectingARowShowsItsScreenAndNameAndEnablesTheButtons) {
    open_entries({{"first", kRed}, {"second", kGreen}});

    click_row(1);
    ASSERT_NE(view.preview, nullptr);
    EXPECT_EQ(*view.preview, solid_grid(kGreen));
    EXPECT_EQ(editor.pixel_grid(), solid_grid(kGreen));
    EXPECT_EQ(view.name, u"second");
    EXPECT_TRUE(view.buttons_enabled);
    EXPECT_EQ(view.selection, 1);

    click_row(0);
    EXPECT_EQ(*view.preview, solid_grid(kRed));
    EXPECT_EQ(view.name, u"first");
}

TEST_F(ArchiveCommands, ASelectionChangeToNoRowOnlyDisablesTheButtons) {
    open_entries({{"first", kRed}, {"second", kGreen}});
    click_row(1);

    click_row(-1);

    EXPECT_FALSE(view.buttons_enabled);
    EXPECT_EQ(*view.preview, solid_grid(kGreen));
    EXPECT_EQ(view.name, u"second");
}

TEST_F(ArchiveCommands, CancelledOpenChangesNothing) {
    open_entries({{"first", kRed}, {"second", kGreen}});
    click_row(1);
    view.name = u"typed";
    const WindowState before = window_state();

    editor.open_archive();

    EXPECT_EQ(view.choices.size(), 2u);
    EXPECT_EQ(window_state(), before);
    EXPECT_TRUE(view.warnings.empty());
}

TEST_F(ArchiveCommands, OpenKeepsShowingTheEntryShownBefore) {
    open_entries({{"first", kRed}, {"second", kGreen}});
    click_row(1);
    const int drawn = view.previews_drawn;

    const std::filesystem::path other = folder / "other.dat";
    write_archive(other, {{"only", kBlue}});
    open(other);

    EXPECT_EQ(view.rows, std::vector<std::u16string>{u"only"});
    EXPECT_EQ(view.selection, -1);
    EXPECT_FALSE(view.buttons_enabled);
    EXPECT_EQ(view.previews_drawn, drawn);
    EXPECT_EQ(*view.preview, solid_grid(kGreen));
    EXPECT_EQ(editor.pixel_grid(), solid_grid(kGreen));
    EXPECT_EQ(view.name, u"second");
}

TEST_F(ArchiveCommands, OpenOfAMissingFileSaysCantOpenAndDropsTheOpenArchive) {
    open_entries({{"first", kRed}, {"second", kGreen}});
    click_row(0);

    open(folder / "missing.dat");

    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kCantOpen)});
    EXPECT_EQ(editor.store().count(), 0u);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.selection, -1);
    EXPECT_FALSE(view.buttons_enabled);
    EXPECT_EQ(*view.preview, solid_grid(kRed));
    EXPECT_EQ(view.name, u"first");
}

TEST_F(ArchiveCommands, OpenOfAFileThatIsNoArchiveSaysSoAndDropsTheOpenArchive) {
    const std::filesystem::path good = folder / "good.dat";
    write_archive(good, {{"first", kRed}});
    std::string damaged = read_file(good);
    damaged[20] = static_cast<char>(damaged[20] ^ 1);  // breaks the header's checksum
    const std::vector<std::string> not_archives = {"just some text\n", std::string(63, '\0'),
                                                   damaged, ""};

    for (const std::string& contents : not_archives) {
        open(good);
        click_row(0);
        ASSERT_TRUE(view.buttons_enabled);
        const std::filesystem::path bad = folder / "bad.dat";
        write_file(bad, contents);
        view.warnings.clear();

        open(bad);

        EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kNotAnArchive)})
            << contents.size() << " bytes";
        EXPECT_EQ(editor.store().count(), 0u);
        EXPECT_TRUE(view.rows.empty());
        EXPECT_EQ(view.selection, -1);
        EXPECT_FALSE(view.buttons_enabled);
    }
}

TEST_F(ArchiveCommands, SaveWritesAnArchiveThatReadsBackTheSame) {
    open_entries({{"first", kRed}, {"caf\xE9", kGreen}});
    click_row(1);
    const WindowState before = window_state();
    const std::filesystem::path copy = folder / "copy.dat";
    view.answer_file(copy);

    editor.save_archive();

    EXPECT_EQ(view.choices.back(), FileChoice::save_archive);
    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(read_file(copy), read_file(folder / "TVK.DAT"));
    EXPECT_EQ(folder.file_names(), (std::vector<std::string>{"TVK.DAT", "copy.dat"}));
    EXPECT_EQ(window_state(), before);
}

TEST_F(ArchiveCommands, SaveReplacesAnExistingFileWithoutAQuestion) {
    open_entries({{"first", kRed}});
    const std::filesystem::path target = folder / "target.dat";
    write_file(target, "old contents");
    view.answer_file(target);

    editor.save_archive();

    EXPECT_EQ(view.choices.size(), 2u);  // the one for Open, the one for Save: nothing else asked
    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(read_file(target), read_file(folder / "TVK.DAT"));
}

TEST_F(ArchiveCommands, CancelledSaveWritesNothing) {
    open_entries({{"first", kRed}});

    editor.save_archive();

    EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
    EXPECT_TRUE(view.warnings.empty());
}

TEST_F(ArchiveCommands, FailedSaveSaysCantSaveAndLeavesTheTargetAlone) {
    open_entries({{"first", kRed}});
    const std::filesystem::path folder_as_target = folder / "a folder";
    std::filesystem::create_directory(folder_as_target);
    write_file(folder_as_target / "inside", "kept");
    click_row(0);
    const WindowState before = window_state();
    view.answer_file(folder_as_target);

    editor.save_archive();

    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kCantSave)});
    EXPECT_EQ(window_state(), before);
    EXPECT_TRUE(std::filesystem::is_directory(folder_as_target));
    EXPECT_EQ(read_file(folder_as_target / "inside"), "kept");
    EXPECT_EQ(folder.file_names(), (std::vector<std::string>{"TVK.DAT", "a folder"}));
}

TEST_F(ArchiveCommands, AnArchiveAnnouncingMoreThan1018EntriesOpensButIsNotSaved) {
    const std::filesystem::path damaged = folder / "damaged.dat";
    write_file(damaged, header_only_archive(kMaxEntries + 1));
    open(damaged);
    ASSERT_TRUE(view.warnings.empty());
    ASSERT_EQ(view.rows.size(), kMaxEntries + 1);
    // Entries past the end of the file show as black and stay without buffers of their own.
    click_row(kMaxEntries);
    ASSERT_TRUE(view.preview);
    EXPECT_EQ(*view.preview, PixelGrid{});
    EXPECT_TRUE(editor.store().block_is_blank(kMaxEntries));
    const std::filesystem::path target = folder / "target.dat";
    write_file(target, "old contents");
    view.answer_file(target);

    editor.save_archive();

    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kTooManyEntries)});
    EXPECT_EQ(read_file(target), "old contents");
}

TEST_F(ArchiveCommands, ReleaseDropsTheArchive) {
    open_entries({{"first", kRed}, {"second", kGreen}});

    editor.release();

    EXPECT_EQ(editor.store().count(), 0u);
}

}  // namespace
}  // namespace tvk::test
