#include "window_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <sstream>

#include "archive_file.h"
#include "dialog_layout.h"
#include "sample_screens.h"
#include "screen_codec.h"
#include "screen_image.h"

namespace tvk::test {

std::optional<std::filesystem::path> ScriptedDialogs::choose_file(QWidget* owner,
                                                                  FileChoice choice) {
    asked.push_back(choice);
    owners.push_back(owner);
    if (answers.empty()) {
        ADD_FAILURE() << "a file chooser opened that the test did not expect";
        return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedDialogs::warn(QWidget* owner, const QString& message) {
    warnings.push_back(message);
    owners.push_back(owner);
}

WindowTest::WindowTest() {
    m_window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
}

QListWidget& WindowTest::list() const {
    return *static_cast<QListWidget*>(m_window.control(kListId));
}

QLineEdit& WindowTest::name() const {
    return *static_cast<QLineEdit*>(m_window.control(kNameId));
}

QPushButton& WindowTest::button(int id) const {
    return *static_cast<QPushButton*>(m_window.control(id));
}

std::vector<QString> WindowTest::rows() const {
    std::vector<QString> texts;
    for (int i = 0; i < list().count(); ++i) {
        texts.push_back(list().item(i)->text());
    }
    return texts;
}

int WindowTest::selected_row() const {
    const auto selected = list().selectedItems();
    return selected.isEmpty() ? -1 : list().row(selected.front());
}

void WindowTest::click(int id) {
    QTest::mouseClick(&button(id), Qt::LeftButton);
}

void WindowTest::click_row(int row) {
    const QRect place = list().visualItemRect(list().item(row));
    QTest::mouseClick(list().viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

void WindowTest::type_name(const QString& text) {
    name().setFocus();
    name().selectAll();
    QTest::keyClick(&name(), Qt::Key_Delete);
    // Key events carrying the text itself: QTest's own typing knows ASCII only.
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&name(), &press);
        QApplication::sendEvent(&name(), &release);
    }
}

void WindowTest::key(int qt_key, Qt::KeyboardModifiers modifiers) {
    list().setFocus();
    QTest::keyClick(&list(), static_cast<Qt::Key>(qt_key), modifiers);
}

void WindowTest::open(const std::filesystem::path& file) {
    m_dialogs.answers.push_back(file);
    click(kOpenId);
}

void WindowTest::write_sample(const std::filesystem::path& file) {
    EntryStore store;
    ASSERT_EQ(build_sample_archive(store), "");
    ASSERT_EQ(save_archive_file(store, file), std::error_code());
}

void WindowTest::open_sample() {
    const auto file = temp_path("TVK.DAT");
    write_sample(file);
    open(file);
    ASSERT_EQ(list().count(), static_cast<int>(sample_screens().size()));
}

std::filesystem::path WindowTest::temp_path(const char* name) const {
    return std::filesystem::path(m_dir.path().toStdString()) / name;
}

PixelGrid WindowTest::screen_of(int entry) const {
    PixelGrid grid{};
    decode_screen(m_window.controller().store().screen_block(static_cast<std::size_t>(entry)),
                  grid);
    return grid;
}

std::string compare_with_grid(const QImage& image, const PixelGrid& grid) {
    for (int x = 0; x < kScreenWidth; ++x) {
        for (int y = 0; y < kScreenHeight; ++y) {
            const QRgb expected = argb_from_colour(grid[grid_index(x, y)]) & 0xFFFFFFu;
            const QRgb actual = image.pixel(x, y) & 0xFFFFFFu;
            if (actual != expected) {
                std::ostringstream out;
                out << std::hex << "pixel (" << std::dec << x << ", " << y << ") is " << std::hex
                    << actual << ", the screen has " << expected;
                return out.str();
            }
        }
    }
    return {};
}

}  // namespace tvk::test
