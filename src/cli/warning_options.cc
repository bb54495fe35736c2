#include "cli/warning_options.h"

#include <algorithm>
#include <map>

namespace scenario {

namespace {

// Whether the last -W option naming a group made its warnings errors, or
// undid that (nothing: no option said).
std::map<warning_group, bool> groups_made_errors(const command_options& o) {
  std::map<warning_group, bool> error;
  for (const warning_setting& s : o.warnings)
    if (s.action == group_action::error || s.action == group_action::no_error)
      error[s.group] = s.action == group_action::error;
  return error;
}

}  // namespace

std::vector<diagnostic> apply_warning_options(std::vector<diagnostic> found,
                                              const command_options& o) {
  std::map<warning_group, bool> off;
  const std::map<warning_group, bool> error = groups_made_errors(o);
  // Making a group's warnings errors shows them, as GCC does.
  for (const warning_setting& s : o.warnings)
    if (s.action != group_action::no_error) off[s.group] = s.action == group_action::off;
  std::erase_if(found, [&](const diagnostic& d) {
    return d.level == severity::warning && (o.no_warnings || off[d.group]);
  });
  for (diagnostic& d : found) {
    const auto said = error.find(d.group);
    const bool made_error = said != error.end() ? said->second : o.werror;
    if (d.level == severity::warning && made_error) {
      d.level = severity::error;
      d.from_warning = true;
    }
  }
  return found;
}

std::string werror_options(const std::vector<diagnostic>& found, const command_options& o) {
  const std::map<warning_group, bool> error = groups_made_errors(o);
  std::vector<std::string> given;
  for (const diagnostic& d : found) {
    if (!d.from_warning) continue;
    const auto said = error.find(d.group);
    const std::string option = said != error.end() && said->second
                                   ? "-Werror=" + std::string(warning_group_name(d.group))
                                   : "--werror";
    if (std::find(given.begin(), given.end(), option) == given.end()) given.push_back(option);
  }
  std::string out;
  for (const std::string& option : given) out += (out.empty() ? "" : ", ") + option;
  return out;
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
