#pragma once

#include <string>
#include <vector>

#include "cli_context.h"

namespace tvk {

// Runs one tvk command line (the arguments after the program name, as UTF-8) and returns the exit
// status: kExitOk, kExitError with "tvk: MESSAGE" on the error stream, or kExitUsage with the
// usage.
int run_tvk(const std::vector<std::string>& arguments, CliContext& context);

// The exit status for trouble found outside the command itself (out of memory, output that could
// not be written): 2 for `diff`, whose 1 means "the archives differ", 1 for every other command.
int trouble_status(const std::vector<std::string>& arguments);

}  // namespace tvk
