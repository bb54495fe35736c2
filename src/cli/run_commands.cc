// Placeholder until the authoring commands are built: each says so and fails.
#include <ostream>

#include "cli/commands.h"

namespace scenario {
namespace {

int not_yet(std::string_view name, std::ostream& err) {
  err << "scenario_gen: error: the '" << name << "' command is not available in this build\n";
  return k_status_failed;
}

}  // namespace

int run_command(arguments, std::ostream&, std::ostream& err) {
  return not_yet("run", err);
}
int export_command(arguments, std::ostream&, std::ostream& err) {
  return not_yet("export", err);
}
int compile_command(arguments, std::ostream&, std::ostream& err) {
  return not_yet("compile", err);
}

}  // namespace scenario
