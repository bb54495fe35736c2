// bench_make_max DIR: writes the largest scenario's two descriptions into DIR
// as Max_linea.txt and Max_1-.txt, compiles them in memory and fails, listing
// the faults, when the compile records any: the bench script times only a
// scenario that compiles cleanly.
#include <exception>
#include <iostream>
#include <string>

#include "max_scenario.h"
#include "model/file_names.h"
#include "platform/files.h"
#include "run/compile.h"
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

    const compile_result r = compile({std::string(k_max_line_name),
                                      std::string(k_max_train_number),
                                      true,
                                      {names.line_file, line_text},
                                      {names.train_file, train_text}});
    const run_state& st = r.st;
    const std::string_view conflict = r.stamp_conflict;
    for (const diagnostic& d : compile_diagnostics(r, false)) std::cerr << format_diagnostic(d);
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
