#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "desktop_dialogs.h"
#include "main_window.h"
#include "platform_image_files.h"
#include "start_arguments.h"
#include "tvk_version.h"

namespace {

constexpr int kExitUsage = 2;

// Without a display Qt would abort with a core dump; say what is missing instead.
bool display_known() {
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           std::getenv("QT_QPA_PLATFORM") != nullptr;
}

// The arguments after the program's name, as the bytes given.
std::vector<std::string> arguments_of(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

}  // namespace

// tvk-edit [ARCHIVE]: Qt takes its own options (-platform and the like) from the line first.
int main(int argc, char** argv) {
    using Action = tvk::StartArguments::Action;
    // Help and version need no display: answer them before Qt starts.
    const tvk::StartArguments early = tvk::read_start_arguments(arguments_of(argc, argv));
    if (early.action == Action::print_help) {
        std::fwrite(tvk::kEditorUsage.data(), 1, tvk::kEditorUsage.size(), stdout);
        return EXIT_SUCCESS;
    }
    if (early.action == Action::print_version) {
        std::printf("tvk-edit %s\n", std::string(tvk::kVersion).c_str());
        return EXIT_SUCCESS;
    }
    if (!display_known()) {
        std::fputs(
            "tvk-edit: no display: neither DISPLAY nor WAYLAND_DISPLAY is set. Start it from a "
            "desktop session (or set QT_QPA_PLATFORM).\n",
            stderr);
        return EXIT_FAILURE;
    }
    // QApplication removes the options it takes from argc and argv.
    QApplication app(argc, argv);
    const tvk::StartArguments start = tvk::read_start_arguments(arguments_of(argc, argv));
    if (start.action == Action::refuse) {
        std::fprintf(stderr, "tvk-edit: %s\n%s", start.problem.c_str(),
                     std::string(tvk::kEditorUsage).c_str());
        return kExitUsage;
    }
    QGuiApplication::setDesktopFileName(QStringLiteral("tvk-edit"));
    const auto images = tvk::make_platform_image_files();
    const auto dialogs = tvk::make_desktop_dialogs();
    tvk::MainWindow window(*images, *dialogs);
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    if (start.archive) {
        window.open_at_start(std::filesystem::path(*start.archive));
    }
    QApplication::exec();
    return EXIT_SUCCESS;
}
