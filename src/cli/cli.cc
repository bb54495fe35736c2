#include "cli/cli.h"

#include <exception>
#include <ostream>
#include <string>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/settled_inputs.h"
#include "common/diagnostic.h"
#include "platform/file_set.h"
#include "platform/files.h"
#include "sources/description_encoding.h"
#include "sources/scenario_names.h"

namespace scenario {
namespace {

// The usage error of o's operands and options as c declares them, or empty.
std::string refused_words(const command_info& c, const command_options& o) {
  if (!c.needs_output.empty() && !o.output) return std::string(c.needs_output);
  if (std::string why = operand_fault(c, o.operands); !why.empty()) return why;
  // Only compile takes both.
  if (o.werror && o.no_warnings) return "--werror and --no-warnings cannot go together";
  return c.refused_options != nullptr ? c.refused_options(o) : std::string();
}

// The two descriptions read, and refused when the encoding cannot read them
// and c says so; the failure's status, or nothing.
std::optional<int> read_descriptions(const command_info& c, const command_options& o,
                                     command_start& start, std::ostream& err) {
  const std::string& line_path = o.operands[0];
  const std::string& train_path = o.operands[1];
  try {
    start.line_text = read_description_text(line_path);
    start.train_text = read_description_text(train_path);
  } catch (const io_error& e) {
    return report_failure(err, e.what_failed());
  }
  if ((c.opening & k_open_refuse_undecodable) == 0) return std::nullopt;
  // The option parser takes no other name.
  const description_encoding encoding = *encoding_named(o.encoding);
  for (const auto& [path, text] :
       {std::pair{&line_path, &start.line_text}, {&train_path, &start.train_text}})
    if (std::optional<diagnostic> refused = decode_description(*path, *text, encoding))
      return report_failure(err, *refused);
  return std::nullopt;
}

}  // namespace

int open_and_run(const command_info& c, const command_options& o, std::ostream& out,
                 std::ostream& err) {
  if (const std::string why = refused_words(c, o); !why.empty()) return usage_error(err, why, &c);
  command_start start;
  if ((c.opening & k_open_read_descriptions) != 0)
    if (const std::optional<int> status = read_descriptions(c, o, start, err)) return *status;
  if ((c.opening & k_open_choose_names) != 0) {
    start.names = choose_scenario_names(o.operands[0], o.operands[1], o.line_name, o.train_number);
    if (!start.names.error.empty()) return usage_error(err, start.names.error, &c);
  }
  if ((c.opening & k_open_settle_inputs) != 0) settle_input_folders(o.operands, err);
  return c.run(o, start, out, err);
}

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
    return open_and_run(*find_command("help"), for_help, out, err);
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
  return open_and_run(*c, parsed.options, out, err);
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
