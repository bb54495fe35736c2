#include "cli/cli.h"

#include <exception>
#include <ostream>
#include <string>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "common/diagnostic.h"

namespace scenario {
namespace {

int dispatch(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return default_command(out, err);
  const std::string_view word = args[0];
  if (word == "--help" || word == "-h") {
    print_help(out);
    return k_status_ok;
  }
  if (word == "--version") {
    print_version(out);
    return k_status_ok;
  }
  const command_info* c = find_command(word);
  if (c == nullptr)
    return usage_error(err,
                       (word.starts_with("-") ? "unknown option '" : "unknown command '") +
                           std::string(word) + "'",
                       nullptr);
  const parsed_options parsed = parse_options(args.subspan(1), c->options);
  if (!parsed.error.empty()) return usage_error(err, parsed.error, c);
  if (parsed.options.help) {
    print_command_help(out, *c);
    return k_status_ok;
  }
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
