// The commands of scenario_gen, one file each. Every command takes its own
// arguments (after the command word) and returns the process exit status.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

using arguments = std::span<const std::string_view>;

// Exit statuses shared by every command.
inline constexpr int k_status_ok = 0;
inline constexpr int k_status_fault_pending = 1;  // binary files written, a compile fault pending
inline constexpr int k_status_failed = 2;         // no binary file written, or a usage error

// No arguments: the shipped scenario in the executable's folder.
int default_command(std::ostream& out, std::ostream& err);

// The shipped scenario's run in folder, its faults printed on err in order,
// also when the run ends without writing the binary files (the failure then
// goes on to the caller). Returns the exit status of a run that ended.
int shipped_run(const std::string& folder, std::ostream& err);

// run [-o DIR] | export [-o DIR] | compile LINE TRAIN [options]
int run_command(arguments args, std::ostream& out, std::ostream& err);
int export_command(arguments args, std::ostream& out, std::ostream& err);
int compile_command(arguments args, std::ostream& out, std::ostream& err);

// dump FILE [--json] | draw DIR -o FILE.svg
int dump_command(arguments args, std::ostream& out, std::ostream& err);
int draw_command(arguments args, std::ostream& out, std::ostream& err);

}  // namespace scenario
