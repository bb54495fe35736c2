// compile: an author's line and train descriptions into the simulator's
// binary files, with the default run's compile and its diagnostics.
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/settled_inputs.h"
#include "cli/warning_options.h"
#include "common/diagnostic.h"
#include "common/utf8_text.h"
#include "model/file_names.h"
#include "model/scenario_constants.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "platform/folders.h"
#include "platform/terminal.h"
#include "run/diagnostics.h"
#include "run/memorizza.h"
#include "sources/scenario_names.h"

namespace scenario {
namespace {

// The diagnostics, and on a terminal the count of them.
int print_diagnostics(const std::vector<diagnostic>& found, std::ostream& err, int status) {
  for (const diagnostic& d : found) err << format_diagnostic(d);
  if (stderr_is_terminal()) err << count_line(found) << '\n';
  return status;
}

// Why the binary files named for names in folder cannot be written: the
// plan would take the grid's name, or an output is one of the inputs.
// Empty when they can.
std::string refused_outputs(const std::string& folder, const scenario_names& names,
                            const command_options& o) {
  const std::string plan = join_path(folder, plan_file_name(names.nome_linea));
  const std::string grid = join_path(folder, grid_file_name(names.nome_linea, names.numero_treno));
  std::vector<std::string> outputs{
      join_path(folder, station_file_name(names.nome_linea, names.numero_treno)), grid};
  if (!o.no_plan) {
    if (plan == grid)
      return "train number '" + utf8_from_1252(names.numero_treno) +
             "' would give the route grid the name of the line plan '" + plan + "'";
    outputs.push_back(plan);
  }
  for (const std::string& output : outputs)
    for (const std::string& input : {o.operands[0], o.operands[1]})
      if (same_file(output, input)) {
        std::string why = "the output '" + output;
        why += "' is the input '" + input;
        why += "'; choose another folder with -o or other names";
        return why;
      }
  return {};
}

compile_result compile_traced_when_needed(const compile_input& input) {
  compile_result result = compile(input);
  if (result.notes_need_sources()) {
    // The notes that name the record holding a taken cell need the sources
    // traced, which costs a look at the cells each record writes: only a
    // compile whose notes name such a record pays for it, once more.
    compile_input traced = input;
    traced.trace_sources = true;
    result = compile(traced);
  }
  return result;
}

// Writes the binary files of result into folder and prints found with the
// failure, if any; returns the exit status.
int write_binary_files(const compile_result& result, const scenario_names& names,
                       const command_options& o, const std::string& folder,
                       std::vector<diagnostic> found, std::ostream& err) {
  scenario_files files;
  files.nome_linea = names.nome_linea;
  files.numero_treno = names.numero_treno;
  files.line_path = o.operands[0];
  files.train_path = o.operands[1];
  files.delete_after_reading = false;
  files.out_folder = folder;
  // A terminal line rather than a window: compile is run from shells,
  // editors and scripts, where nobody is there to answer a message box.
  const auto ui = make_terminal_display(err);
  try {
    const folder_lock lock(folder, err);
    apply_compile(result, files, *ui);
  } catch (const failure& f) {
    found.push_back(f.what_failed());
    return print_diagnostics(found, err, f.status());
  }
  return print_diagnostics(found, err,
                           result.st.codice_errore != 0 ? k_status_fault_pending : k_status_ok);
}

}  // namespace

int compile_command(const command_options& o, command_start& start, std::ostream& /*out*/,
                    std::ostream& err) {
  const scenario_names& names = start.names;
  const std::string folder = o.output.value_or(".");
  if (const std::string why = make_folder(folder); !why.empty())
    return report_failure(err, program_diagnostic(why));
  // Finished before the compile, which may yet fail without writing.
  settle_input_folders({folder}, err);
  if (const std::string why = refused_outputs(folder, names, o); !why.empty())
    return report_failure(err, program_diagnostic(why));

  const compile_result result = compile_traced_when_needed({names.nome_linea,
                                                            names.numero_treno,
                                                            !o.no_plan,
                                                            {o.operands[0], start.line_text},
                                                            {o.operands[1], start.train_text}});
  std::vector<diagnostic> found =
      apply_warning_options(compile_diagnostics(result, /*with_warnings=*/true), o);
  if (const std::string given = werror_options(found, o); !given.empty()) {
    // A warning is an error: nothing is written, the older files stay.
    found.push_back(
        program_diagnostic("warnings are errors with " + given + "; no binary file was written"));
    return print_diagnostics(found, err, k_status_fault_pending);
  }
  return write_binary_files(result, names, o, folder, std::move(found), err);
}

}  // namespace scenario
