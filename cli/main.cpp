#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli_context.h"
#include "platform_args.h"
#include "platform_image_files.h"
#include "tvk_command.h"

int main(int argc, char** argv) {
    tvk::prepare_standard_streams();
    const std::vector<std::string> arguments = tvk::utf8_arguments(argc, argv);
    int status = tvk::trouble_status(arguments);
    try {
        const std::unique_ptr<tvk::ImageFiles> images = tvk::make_platform_image_files();
        tvk::CliContext context{std::cout, std::cerr, *images};
        status = tvk::run_tvk(arguments, context);
    } catch (const std::exception& error) {
        // Only running out of memory or a path the system cannot take gets here: say so and
        // leave every file as it is (every save replaces its target only once complete).
        std::cerr << "tvk: " << error.what() << '\n';
        return tvk::trouble_status(arguments);
    }
    // Output that could not be written (a full disk, a closed pipe) must not pass for success.
    if (!std::cout.flush()) {
        std::cerr << "tvk: Can't write the output\n";
        return tvk::trouble_status(arguments);
    }
    return status;
}
