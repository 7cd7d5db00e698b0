#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tvk {

// Everything that keeps an archive file from being whole: a short or damaged header, records that
// the file does not hold in full, name records and screen blocks whose stored checksum is wrong.
// One line per problem, in file order; empty when the archive is whole.
std::vector<std::string> archive_problems(std::string_view file);

}  // namespace tvk
