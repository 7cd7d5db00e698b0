#pragma once

#include <string>
#include <vector>

namespace tvk {

// The command line's arguments after the program name, as UTF-8 on every platform.
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Standard output and error carry UTF-8 bytes with LF line ends on every platform.
void prepare_standard_streams();

}  // namespace tvk
