#include <ostream>
#include <string>

#include "cli/commands.h"
#include "common/file_names.h"
#include "platform/display.h"
#include "platform/files.h"
#include "run/diagnostics.h"
#include "run/run_sequence.h"

namespace scenario {

int shipped_run(const std::string& folder, std::ostream& err) {
  const auto ui = make_display(err);
  run_state st;
  const source_names names{line_source_name(k_shipped_line),
                           train_source_name(k_shipped_line, k_shipped_train)};
  auto print_faults = [&] {
    for (const fault& f : st.faults) err << format_fault(f, names) << '\n';
  };
  try {
    form_load(st, folder, *ui);
  } catch (...) {
    print_faults();
    throw;
  }
  print_faults();
  return st.codice_errore != 0 ? k_status_fault_pending : k_status_ok;
}

int default_command(std::ostream& /*out*/, std::ostream& err) {
  return shipped_run(executable_folder(), err);
}

}  // namespace scenario
