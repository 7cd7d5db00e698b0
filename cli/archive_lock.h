#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "file_ops.h"

namespace tvk {

// For a command that changes an archive, the lock it holds from reading the archive to replacing
// it, so that commands run at once change it one after the other and none loses another's change;
// null for a command that only reads.
std::unique_ptr<FolderLock> lock_changed_archive(std::string_view command,
                                                 const std::vector<std::string>& operands);

}  // namespace tvk
