// bench_compile LINE TRAIN OUT_DIR LINE_NAME TRAIN_NUMBER: compiles an
// author's two descriptions into the three binary files in OUT_DIR, leaving
// the descriptions in place, through the same library call as a run. The
// bench script times it where scenario_gen has no compile command yet.
#include <exception>
#include <iostream>
#include <string>

#include "platform/display.h"
#include "run/diagnostics.h"
#include "run/memorizza.h"

int main(int argc, char** argv) {
  using namespace scenario;
  if (argc != 6) {
    std::cerr << "usage: bench_compile LINE TRAIN OUT_DIR LINE_NAME TRAIN_NUMBER\n";
    return 2;
  }
  try {
    run_state st;
    st.nome_linea = argv[4];
    st.numero_treno = argv[5];
    const scenario_sources sources{argv[1], argv[2], /*delete_after_reading=*/false};
    const auto ui = make_silent_display();
    memorizza_percorso(st, 1, sources, argv[3], *ui);
    const source_names names{argv[1], argv[2]};
    for (const fault& f : st.faults) std::cerr << format_fault(f, names) << '\n';
    return st.codice_errore != 0 ? 1 : 0;
  } catch (const std::exception& e) {
    std::cerr << "bench_compile: error: " << e.what() << '\n';
    return 2;
  }
}
