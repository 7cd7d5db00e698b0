#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "archive_file.h"
#include "sample_screens.h"

// Writes the sample archive to the path given as the only argument.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: tvk_make_sample OUTPUT\n", stderr);
        return EXIT_FAILURE;
    }
    tvk::EntryStore store;
    if (const std::string error = tvk::build_sample_archive(store); !error.empty()) {
        std::fprintf(stderr, "tvk_make_sample: %s\n", error.c_str());
        return EXIT_FAILURE;
    }
    const std::filesystem::path output = argv[1];
    std::error_code ignored;
    std::filesystem::create_directories(output.parent_path(), ignored);
    if (tvk::save_archive_file(store, output)) {
        std::fprintf(stderr, "tvk_make_sample: cannot write %s\n", argv[1]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
