// Placeholder until the decoder and the drawing are built: each says so and fails.
#include <ostream>

#include "cli/commands.h"

namespace scenario {
namespace {

int not_yet(std::string_view name, std::ostream& err) {
  err << "scenario_gen: error: the '" << name << "' command is not available in this build\n";
  return k_status_failed;
}

}  // namespace

int dump_command(arguments, std::ostream&, std::ostream& err) {
  return not_yet("dump", err);
}
int draw_command(arguments, std::ostream&, std::ostream& err) {
  return not_yet("draw", err);
}

}  // namespace scenario
