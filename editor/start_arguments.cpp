#include "start_arguments.h"

#include <algorithm>

namespace tvk {

StartArguments read_start_arguments(const std::vector<std::string>& arguments) {
    const auto options_end = std::find(arguments.begin(), arguments.end(), "--");
    for (auto it = arguments.begin(); it != options_end; ++it) {
        if (*it == "--help" || *it == "-h") {
            return {StartArguments::Action::print_help, std::nullopt, {}};
        }
        if (*it == "--version") {
            return {StartArguments::Action::print_version, std::nullopt, {}};
        }
    }
    StartArguments result;
    for (auto it = arguments.begin(); it != arguments.end(); ++it) {
        if (it == options_end) {
            continue;
        }
        const bool option = it < options_end && it->size() > 1 && it->front() == '-';
        if (option) {
            return {StartArguments::Action::refuse, std::nullopt, "unknown option '" + *it + "'"};
        }
        if (result.archive) {
            return {StartArguments::Action::refuse, std::nullopt, "one archive at most"};
        }
        result.archive = *it;
    }
    return result;
}

}  // namespace tvk
