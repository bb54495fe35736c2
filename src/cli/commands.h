// The handlers of scenario_gen's commands, one file each. Each takes its
// parsed words and returns the process exit status; the command table joins
// them to their names and help.
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

int run_command(const command_options& o, command_start& start, std::ostream& out,
                std::ostream& err);
int export_command(const command_options& o, command_start& start, std::ostream& out,
                   std::ostream& err);
int compile_command(const command_options& o, command_start& start, std::ostream& out,
                    std::ostream& err);
int check_command(const command_options& o, command_start& start, std::ostream& out,
                  std::ostream& err);
int dump_command(const command_options& o, command_start& start, std::ostream& out,
                 std::ostream& err);
int draw_command(const command_options& o, command_start& start, std::ostream& out,
                 std::ostream& err);
int decompile_command(const command_options& o, command_start& start, std::ostream& out,
                      std::ostream& err);
int help_command(const command_options& o, command_start& start, std::ostream& out,
                 std::ostream& err);
int watch_command(const command_options& o, command_start& start, std::ostream& out,
                  std::ostream& err);
int lsp_command(const command_options& o, command_start& start, std::ostream& out,
                std::ostream& err);

}  // namespace scenario
