// The handlers of scenario_gen's commands, one file each. Each takes its
// parsed words and what its opening steps gathered (command_handler), and
// returns the process exit status; the command table joins them to their
// names, help, operands and opening steps.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/command_table.h"
#include "cli/options.h"
#include "run/run_sequence.h"

namespace scenario {

// Exit statuses shared by every command.
inline constexpr int k_status_ok = 0;
inline constexpr int k_status_fault_pending = 1;  // binary files written, a compile fault pending
inline constexpr int k_status_failed = 2;         // no binary file written, or a usage error

// No command: the shipped scenario in the executable's folder (o holds
// only -q), after moving aside an author's file under a description's name.
// When that folder cannot be written, the failure says to use run -o DIR.
int default_command(const command_options& o, std::ostream& out, std::ostream& err);

// The shipped scenario's run in folder, its faults printed on err in order,
// also when the run ends without writing the binary files (the failure then
// goes on to the caller). Returns the exit status of a run that ended.
int shipped_run(const std::string& folder, bool quiet, std::ostream& err,
                const run_options& options);

// Why draw cannot take its options: a picture that is not SVG, a stretch
// that is not a stretch; empty when it can.
std::string refused_drawing_options(const command_options& o);

command_handler run_command;
command_handler export_command;
command_handler compile_command;
command_handler check_command;
command_handler dump_command;
command_handler draw_command;
command_handler decompile_command;
command_handler help_command;
command_handler watch_command;
command_handler lsp_command;

}  // namespace scenario
