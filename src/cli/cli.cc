#include "cli/cli.h"

#include <exception>
#include <ostream>
#include <string>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "common/diagnostic.h"
#include "platform/file_set.h"

namespace scenario {
namespace {

// The words before any command: the plain run's options, --help (perhaps
// with a command) and --version.
int program_options(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  const parsed_options parsed = parse_options(args, k_program_options);
  if (!parsed.error.empty()) return usage_error(err, parsed.error, nullptr);
  const command_options& o = parsed.options;
  if (o.help) {
    command_options for_help;
    for_help.operands = o.operands;
    return help_command(for_help, out, err);
  }
  if (!o.operands.empty()) {
    const std::string& word = o.operands[0];
    if (find_command(word) != nullptr)
      return usage_error(err, "options go after the command: scenario_gen " + word + " ...",
                         nullptr);
    return usage_error(err, unknown_command(word), nullptr);
  }
  if (o.version) {
    print_version(out);
    return k_status_ok;
  }
  return default_command(o, out, err);
}

int dispatch(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0].starts_with("-")) return program_options(args, out, err);
  const command_info* c = find_command(args[0]);
  if (c == nullptr) return usage_error(err, unknown_command(args[0]), nullptr);
  const parsed_options parsed = parse_options(args.subspan(1), c->options);
  if (!parsed.error.empty()) return usage_error(err, parsed.error, c);
  if (parsed.options.help) {
    print_command_help(out, *c);
    return k_status_ok;
  }
  set_sync_writes(parsed.options.sync);
  return c->run(parsed.options, out, err);
}

}  // namespace

int cli_main(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  try {
    return dispatch(args, out, err);
  } catch (const failure& f) {
    return report_failure(err, f.what_failed(), f.status());
  } catch (const std::exception& e) {
    return report_failure(err, program_diagnostic(e.what()));
  }
}

}  // namespace scenario
