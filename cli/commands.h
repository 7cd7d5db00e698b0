#pragma once

#include <string>
#include <vector>

#include "cli_context.h"

// The commands of tvk. Each gets its operands in the order of its usage line (their number and the
// form of every index already checked) and returns the exit status.
namespace tvk {

struct Invocation {
    std::vector<std::string> operands;
    bool force = false;  // --force
};

int command_list(const Invocation& call, CliContext& context);
int command_info(const Invocation& call, CliContext& context);
int command_verify(const Invocation& call, CliContext& context);
int command_diff(const Invocation& call, CliContext& context);
int command_new(const Invocation& call, CliContext& context);
int command_add(const Invocation& call, CliContext& context);
int command_insert(const Invocation& call, CliContext& context);
int command_rename(const Invocation& call, CliContext& context);
int command_delete(const Invocation& call, CliContext& context);
int command_move(const Invocation& call, CliContext& context);
int command_export(const Invocation& call, CliContext& context);
int command_import(const Invocation& call, CliContext& context);
int command_unpack(const Invocation& call, CliContext& context);
int command_pack(const Invocation& call, CliContext& context);
int command_sheet(const Invocation& call, CliContext& context);

}  // namespace tvk
