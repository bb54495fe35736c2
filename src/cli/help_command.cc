// help: the general help, or one command's.
#include <ostream>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/documentation.h"

namespace scenario {

int help_command(const command_options& o, command_start& /*start*/, std::ostream& out,
                 std::ostream& err) {
  if (o.operands.empty()) {
    print_help(out, documentation_folder());
    return k_status_ok;
  }
  const command_info* c = find_command(o.operands[0]);
  if (c == nullptr) return usage_error(err, unknown_command(o.operands[0]), nullptr);
  print_command_help(out, *c);
  return k_status_ok;
}

}  // namespace scenario
