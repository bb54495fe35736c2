#include "cli/warning_options.h"

#include <algorithm>
#include <map>

namespace scenario {

std::vector<diagnostic> apply_warning_options(std::vector<diagnostic> found,
                                              const command_options& o) {
  std::map<warning_group, bool> off, error;
  for (const warning_setting& s : o.warnings) switch (s.action) {
      case group_action::off:
        off[s.group] = true;
        break;
      case group_action::on:
        off[s.group] = false;
        break;
      // Making a group's warnings errors shows them, as GCC does.
      case group_action::error:
        error[s.group] = true;
        off[s.group] = false;
        break;
      case group_action::no_error:
        error[s.group] = false;
        break;
    }
  std::erase_if(found, [&](const diagnostic& d) {
    return d.level == severity::warning && (o.no_warnings || off[d.group]);
  });
  for (diagnostic& d : found)
    if (d.level == severity::warning && d.group != warning_group::none && error[d.group])
      d.level = severity::error;
  return found;
}

std::string count_line(const std::vector<diagnostic>& found) {
  const auto errors = std::count_if(found.begin(), found.end(),
                                    [](const diagnostic& d) { return d.level == severity::error; });
  const auto warnings = std::count_if(
      found.begin(), found.end(), [](const diagnostic& d) { return d.level == severity::warning; });
  return std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") +
         std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings");
}

}  // namespace scenario
