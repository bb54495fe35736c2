// dump and draw: the binary files of a scenario read back, as text or as a
// picture.
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/picture_stretch.h"
#include "common/diagnostic.h"
#include "common/text.h"
#include "draw/route_picture.h"
#include "inspect/inspect.h"
#include "inspect/route_facts.h"
#include "inspect/scenario_set.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/path_names.h"

namespace scenario {
namespace {

// Why draw does not write a picture named path (it writes SVG only), or an
// empty text. A name without an extension (a device, a pipe) is taken.
std::string refused_picture_name(const std::string& path) {
  const std::string extension = lower_1252(utf8_of(path_from_utf8(path).extension()));
  if (path == "-" || extension.empty() || extension == ".svg") return {};
  return "draw writes SVG only, not '" + extension +
         "': name the picture FILE.svg, or - for "
         "standard output";
}

}  // namespace

std::string refused_drawing_options(const command_options& o) {
  if (std::string why = refused_picture_name(*o.output); !why.empty()) return why;
  picture_options stretch;
  return read_stretch(o, stretch);
}

int dump_command(const command_options& o, command_start& /*start*/, std::ostream& out,
                 std::ostream& /*err*/) {
  const loaded_file file = load_file(o.operands[0]);
  if (o.json)
    dump_json(out, file);
  else
    dump_text(out, file);
  return k_status_ok;
}

int draw_command(const command_options& o, command_start& /*start*/, std::ostream& out,
                 std::ostream& err) {
  const command_info* self = find_command("draw");
  // Found good before the command started (refused_drawing_options).
  picture_options stretch;
  read_stretch(o, stretch);
  // The outline of the plan is gathered in the walk that checks it.
  plan_outline outline;
  const loaded_scenario s = load_scenario(o.operands, &outline);
  if (const std::string why =
          stretch_outside(o, stretch, picture_end(s.grid.grid, s.stations.stations));
      !why.empty())
    return usage_error(err, why, self);
  if (*o.output != "-")
    for (const loaded_file* input : {&s.grid, &s.stations, &s.plan})
      if (same_file(*o.output, input->path))
        return report_failure(
            err, program_diagnostic("the output '" + *o.output + "' is the input '" + input->path +
                                    "'; choose another name"));
  const std::shared_ptr<const plan_source> plan = s.plan_points();
  const route_picture picture =
      outline.complete() && outline.metres() == plan->metres()
          ? draw_route(s.grid.grid, s.stations.stations, *plan, outline, stretch)
          : draw_route(s.grid.grid, s.stations.stations, *plan, stretch);
  if (*o.output == "-")
    out << picture.svg;
  else
    replace_file(*o.output, picture.svg);
  if (picture.overlaps > 0)
    err << format_diagnostic(program_diagnostic(
        std::to_string(picture.overlaps) + " labels had no free place and overlap others",
        severity::warning));
  if (picture.omitted > 0)
    err << format_diagnostic(
        program_diagnostic(std::to_string(picture.omitted) +
                               " labels were left out for want of room (dump shows every value)",
                           severity::warning));
  return k_status_ok;
}

}  // namespace scenario
