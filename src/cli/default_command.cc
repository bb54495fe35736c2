#include <ostream>
#include <string>

#include "cli/commands.h"
#include "common/diagnostic.h"
#include "model/file_names.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "platform/folders.h"
#include "platform/terminal.h"
#include "run/diagnostics.h"
#include "run/run_sequence.h"

namespace scenario {

int shipped_run(const std::string& folder, bool quiet, std::ostream& err,
                const run_options& options) {
  const auto ui = make_display(err, quiet ? progress_shown::never : progress_shown::where_seen);
  compile_result result;
  // The run prints its faults, never its warnings: the shipped descriptions
  // are the format's own.
  auto print_faults = [&] {
    for (const diagnostic& d : compile_diagnostics(result, /*with_warnings=*/false))
      err << format_diagnostic(d);
  };
  try {
    form_load(result, folder, *ui, options);
  } catch (...) {
    print_faults();
    throw;
  }
  print_faults();
  // A person at a terminal is told what the run left; a pipe or a log, and
  // -q, get nothing.
  if (!quiet && stderr_is_terminal()) {
    const std::string line = k_shipped_line, train = k_shipped_train;
    for (const std::string& name :
         {document_name(line, train, "note.txt"), document_name(line, train, "rallentamenti.txt"),
          document_name(line, train, "scheda_treno.txt"), plan_file_name(line),
          station_file_name(line, train), grid_file_name(line, train)})
      err << "wrote " << join_path(folder, name) << '\n';
  }
  return result.st.codice_errore != 0 ? k_status_fault_pending : k_status_ok;
}

namespace {

int default_run(const command_options& o, std::ostream& err) {
  const std::string folder = executable_folder();
  try {
    const folder_lock lock(folder, err);
    for (const moved_file& m : set_aside_descriptions(folder))
      err << format_diagnostic(program_diagnostic(
          "moved '" + m.from + "' to '" + m.to +
              "': it is not the description the run writes under that name and then deletes",
          severity::warning));
    return shipped_run(folder, o.quiet, err, {});
  } catch (const io_error& e) {
    // An installed program's folder (/usr/bin) is not the user's to write.
    if (!folder_is_writable(folder)) {
      diagnostic d = e.what_failed();
      d.notes.push_back(program_diagnostic("the program's folder '" + folder +
                                               "' cannot be written; use 'scenario_gen run -o "
                                               "DIR' to build the scenario in a folder of yours",
                                           severity::note));
      throw failure(d, e.status());
    }
    throw;
  }
}

}  // namespace

int default_command(const command_options& o, std::ostream& /*out*/, std::ostream& err) {
  try {
    return default_run(o, err);
  } catch (const failure& f) {
    // Started by a double-click, nobody reads the standard error: the
    // error's first line is shown in a box, and the exit status stays.
    const std::string said = format_diagnostic(f.what_failed());
    show_failure_where_unseen(said.substr(0, said.find('\n')));
    throw;
  }
}

}  // namespace scenario
