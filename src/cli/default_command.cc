#include <ostream>
#include <string>

#include "cli/commands.h"
#include "common/diagnostic.h"
#include "platform/display.h"
#include "platform/files.h"
#include "run/diagnostics.h"
#include "run/run_sequence.h"

namespace scenario {

int shipped_run(const std::string& folder, std::ostream& err) {
  const auto ui = make_display(err);
  compile_result result;
  // The run prints its faults, never its warnings: the shipped descriptions
  // are the format's own.
  auto print_faults = [&] {
    for (const diagnostic& d : compile_diagnostics(result, /*with_warnings=*/false))
      err << format_diagnostic(d);
  };
  try {
    form_load(result, folder, *ui);
  } catch (...) {
    print_faults();
    throw;
  }
  print_faults();
  return result.st.codice_errore != 0 ? k_status_fault_pending : k_status_ok;
}

int default_command(std::ostream& /*out*/, std::ostream& err) {
  return shipped_run(executable_folder(), err);
}

}  // namespace scenario
