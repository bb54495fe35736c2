// run and export: the shipped scenario built, or its text files handed to an
// author, in a folder of the user's choosing.
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/folders.h"
#include "cli/options.h"
#include "cli/usage.h"
#include "common/file_names.h"
#include "platform/files.h"
#include "run/diagnostics.h"
#include "run/run_sequence.h"

namespace scenario {
namespace {

// The options of a command that takes no operands, or a usage error's
// status in status.
std::optional<command_options> options_of(std::string_view command, arguments args,
                                          std::ostream& out, std::ostream& err, int& status) {
  const parsed_options parsed = parse_options(args, k_accept_out | k_accept_force);
  if (!parsed.error.empty()) {
    status = usage_error(err, parsed.error, command);
    return std::nullopt;
  }
  if (parsed.options.help) {
    print_command_help(out, command);
    status = k_status_ok;
    return std::nullopt;
  }
  if (!parsed.options.operands.empty()) {
    status = usage_error(err, "unexpected argument '" + parsed.options.operands[0] + "'", command);
    return std::nullopt;
  }
  return parsed.options;
}

}  // namespace

int run_command(arguments args, std::ostream& out, std::ostream& err) {
  int status = k_status_ok;
  const std::optional<command_options> o = options_of("run", args, out, err, status);
  if (!o) return status;
  const std::string folder = o->out_folder ? *o->out_folder : executable_folder();
  if (const std::string why = make_folder(folder); !why.empty()) return program_error(err, why);
  const source_names names{line_source_name(k_shipped_line),
                           train_source_name(k_shipped_line, k_shipped_train)};
  // The run writes its two descriptions and deletes them once compiled: an
  // author's edited copy under those names would be lost.
  if (!o->force)
    for (const std::string& name : {names.line_file, names.train_file})
      if (const std::string path = join_path(folder, name); something_at(path))
        return program_error(err, "'" + path +
                                      "' exists and the run would replace and then delete it; move "
                                      "it away or give --force");
  return shipped_run(folder, err);
}

int export_command(arguments args, std::ostream& out, std::ostream& err) {
  int status = k_status_ok;
  const std::optional<command_options> o = options_of("export", args, out, err, status);
  if (!o) return status;
  const std::string folder = o->out_folder.value_or(".");
  if (const std::string why = make_folder(folder); !why.empty()) return program_error(err, why);
  const std::string names[] = {
      line_source_name(k_shipped_line),
      train_source_name(k_shipped_line, k_shipped_train),
      document_name(k_shipped_line, k_shipped_train, "note.txt"),
      document_name(k_shipped_line, k_shipped_train, "rallentamenti.txt"),
      document_name(k_shipped_line, k_shipped_train, "scheda_treno.txt"),
  };
  // Nothing is written unless every file can be: an author's edits are not
  // replaced without --force.
  if (!o->force)
    for (const std::string& name : names)
      if (const std::string path = join_path(folder, name); something_at(path))
        return program_error(err, "'" + path + "' exists; give --force to replace it");
  write_shipped_texts(folder, k_shipped_line, k_shipped_train);
  return k_status_ok;
}

}  // namespace scenario
