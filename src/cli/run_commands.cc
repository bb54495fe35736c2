// run and export: the shipped scenario built, or its text files handed to an
// author, in a folder of the user's choosing.
#include <ostream>
#include <string>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "model/file_names.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "platform/folders.h"
#include "run/diagnostics.h"
#include "run/run_sequence.h"

namespace scenario {
int run_command(const command_options& o, command_start& /*start*/, std::ostream& /*out*/,
                std::ostream& err) {
  const std::string folder = o.output ? *o.output : executable_folder();
  if (const std::string why = make_folder(folder); !why.empty())
    return report_failure(err, program_diagnostic(why));
  // Held from the test to the last file: a second run into the folder waits
  // rather than take this one's descriptions for an author's.
  const folder_lock lock(folder, err);
  // The run writes its two descriptions and deletes them once compiled: an
  // author's edited copy under those names would be lost. A copy of the
  // run's own bytes (left by a run that was stopped) is no one's work.
  if (!o.force)
    for (const run_description& d : run_descriptions(folder))
      if (something_at(d.path) && !holds_exactly(d.path, d.bytes))
        return report_failure(
            err, program_diagnostic("'" + d.path +
                                    "' exists and the run would replace and then delete it; move "
                                    "it away or give --force"));
  return shipped_run(folder, o.quiet, err, {.remove_descriptions_on_failure = true});
}

int export_command(const command_options& o, command_start& /*start*/, std::ostream& /*out*/,
                   std::ostream& err) {
  const std::string folder = o.output.value_or(".");
  if (const std::string why = make_folder(folder); !why.empty())
    return report_failure(err, program_diagnostic(why));
  const folder_lock lock(folder, err);
  const std::string names[] = {
      line_source_name(k_shipped_line),
      train_source_name(k_shipped_line, k_shipped_train),
      document_name(k_shipped_line, k_shipped_train, "note.txt"),
      document_name(k_shipped_line, k_shipped_train, "rallentamenti.txt"),
      document_name(k_shipped_line, k_shipped_train, "scheda_treno.txt"),
  };
  // Nothing is written unless every file can be: an author's edits are not
  // replaced without --force.
  if (!o.force)
    for (const std::string& name : names)
      if (const std::string path = join_path(folder, name); something_at(path))
        return report_failure(
            err, program_diagnostic("'" + path + "' exists; give --force to replace it"));
  write_shipped_texts(folder, k_shipped_line, k_shipped_train);
  return k_status_ok;
}

}  // namespace scenario
