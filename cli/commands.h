#pragma once

#include <string>
#include <vector>

#include "cli_context.h"
#include "parallel_jobs.h"
#include "screen_image.h"

// The commands of tvk. Each gets its operands in the order of its usage line (their number and the
// form of every index already checked) and returns the exit status.
namespace tvk {

struct Invocation {
    std::vector<std::string> operands;
    bool force = false;  // --force
    bool rgb = false;    // --rgb: 24-bit RGB pictures instead of palette ones
    unsigned jobs = 0;   // --jobs N; 0 when not given
};

// The form of the pictures that export, unpack and sheet write.
inline PngForm png_form(const Invocation& call) {
    return call.rgb ? PngForm::rgb : PngForm::palette;
}
// The number of threads a command uses.
inline unsigned jobs_of(const Invocation& call) {
    return call.jobs != 0 ? call.jobs : default_jobs();
}

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
