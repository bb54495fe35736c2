// bench_make_max DIR: writes the largest scenario's two descriptions into DIR
// as Max_linea.txt and Max_1-.txt, compiles them in memory and fails, listing
// the faults, when the compile records any: the bench script times only a
// scenario that compiles cleanly.
#include <exception>
#include <iostream>
#include <string>

#include "common/file_names.h"
#include "in_memory_run.h"
#include "max_scenario.h"
#include "platform/files.h"
#include "run/diagnostics.h"

int main(int argc, char** argv) {
  using namespace scenario;
  if (argc != 2) {
    std::cerr << "usage: bench_make_max DIR\n";
    return 2;
  }
  try {
    const std::string folder = argv[1];
    const std::string line_text = max_line_text();
    const std::string train_text = max_train_text();
    const source_names names{line_source_name(k_max_line_name),
                             train_source_name(k_max_line_name, k_max_train_number)};
    replace_file(join_path(folder, names.line_file), line_text);
    replace_file(join_path(folder, names.train_file), train_text);

    run_state st = named_state(k_max_line_name, k_max_train_number);
    const std::string_view conflict = compile_in_memory(st, line_text, train_text);
    for (const fault& f : st.faults) std::cerr << format_fault(f, names) << '\n';
    if (!conflict.empty())
      std::cerr << "bench_make_max: error: stamp conflict " << conflict << '\n';
    if (!st.faults.empty() || st.codice_errore != 0 || !conflict.empty() || st.percorso.empty()) {
      std::cerr << "bench_make_max: error: the largest scenario does not compile cleanly\n";
      return 1;
    }
    std::cout << "wrote " << names.line_file << " (" << line_text.size() << " bytes) and "
              << names.train_file << " (" << train_text.size() << " bytes): " << st.percorso.size()
              << " cells, a plan of " << st.profilo.metres() << " metres\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "bench_make_max: error: " << e.what() << '\n';
    return 2;
  }
}
