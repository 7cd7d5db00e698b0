#pragma once

#include <string>
#include <vector>

#include "cli_context.h"

namespace tvk {

// Runs one tvk command line (the arguments after the program name, as UTF-8) and returns the exit
// status: kExitOk, kExitError with "tvk: MESSAGE" on the error stream, or kExitUsage with the
// usage.
int run_tvk(const std::vector<std::string>& arguments, CliContext& context);

}  // namespace tvk
