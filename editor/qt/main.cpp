#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "desktop_dialogs.h"
#include "main_window.h"
#include "platform_image_files.h"

namespace {

// Without a display Qt would abort with a core dump; say what is missing instead.
bool display_known() {
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           std::getenv("QT_QPA_PLATFORM") != nullptr;
}

}  // namespace

// The command line is not used; Qt takes its own options from it.
int main(int argc, char** argv) {
    if (!display_known()) {
        std::fputs(
            "tvk-edit: no display: neither DISPLAY nor WAYLAND_DISPLAY is set. Start it from a "
            "desktop session (or set QT_QPA_PLATFORM).\n",
            stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("tvk-edit"));
    const auto images = tvk::make_platform_image_files();
    const auto dialogs = tvk::make_desktop_dialogs();
    tvk::MainWindow window(*images, *dialogs);
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    QApplication::exec();
    return EXIT_SUCCESS;
}
