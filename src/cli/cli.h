// The command line of scenario_gen.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace scenario {

// Runs the program with args (without the program name) and returns the
// process exit status: 0 when no fault is pending, 1 when a compile fault is
// pending (the binary files are still written), 2 when no binary file was
// written.
int cli_main(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace scenario
