#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "desktop_dialogs.h"
#include "main_window.h"
#include "platform_image_files.h"
#include "screen_format.h"

namespace tvk::test {

// Answers the window's file choosers from a queue and records every question and warning.
class ScriptedDialogs final : public DesktopDialogs {
  public:
    std::optional<std::filesystem::path> choose_file(QWidget* owner, FileChoice choice) override;
    void warn(QWidget* owner, const QString& message) override;

    std::deque<std::optional<std::filesystem::path>> answers;
    std::vector<FileChoice> asked;
    std::vector<QString> warnings;
    std::vector<QWidget*> owners;
};

// A shown main window over the real QImage files, its dialogs answered by the test.
class WindowTest : public ::testing::Test {
  protected:
    WindowTest();

    QListWidget& list() const;
    QLineEdit& name() const;
    QPushButton& button(int id) const;
    std::vector<QString> rows() const;
    int selected_row() const;

    void click(int id);
    void click_row(int row);
    void type_name(const QString& text);
    void key(int qt_key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Opens `file` through the Open button.
    void open(const std::filesystem::path& file);
    // Writes the sample archive into the temporary folder and opens it.
    void open_sample();
    static void write_sample(const std::filesystem::path& file);
    std::filesystem::path temp_path(const char* name) const;

    // The decoded screen of entry i of the archive the window holds.
    PixelGrid screen_of(int entry) const;

    QTemporaryDir m_dir;
    std::unique_ptr<ImageFiles> m_images = make_platform_image_files();
    ScriptedDialogs m_dialogs;
    MainWindow m_window{*m_images, m_dialogs};
};

// Each pixel of the image (top-left 120 x 112) against the grid, as 0xRRGGBB; empty when equal,
// otherwise the first difference.
std::string compare_with_grid(const QImage& image, const PixelGrid& grid);

}  // namespace tvk::test
