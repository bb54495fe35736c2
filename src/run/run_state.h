// The state of one run: the scenario's identity, the three tables the
// compilers fill, the pending fault and the compilers' shared counters.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "route/percorso.h"
#include "route/profilo.h"
#include "service/stazioni.h"

namespace scenario {

// How a compiler ended its reading. A soft stop (code 15) ends as finished.
enum class compile_end {
  finished,         // the whole text was read, or reading stopped softly
  hard_stop,        // a fault stopped the compile; its file is done with
  runtime_failure,  // code 25: both description files are done with
};

// Where a recorded fault comes from.
enum class fault_origin { line_file, train_file, pass, run };

// One recorded compile fault, kept in order for diagnostics.
struct fault {
  std::int32_t code = 0;
  std::optional<std::int32_t> position;  // metres, for the faults that record one
  fault_origin origin = fault_origin::run;
  int line = 0;        // source line of the record, 0 when there is none
  std::string detail;  // extra words, for run-time failures
};

struct run_state {
  std::string nome_linea;
  std::string numero_treno;

  // Nonzero: build the plan while compiling and write its file.
  std::int32_t scrivi_linea = 0;

  // The pending fault code (0 = none) and the position that goes with it.
  std::int32_t codice_errore = 0;
  std::int32_t posizione_errore = 0;
  std::vector<fault> faults;  // every fault recorded, in order

  percorso_t percorso;
  stazioni_t stazioni;
  profilo_t profilo;

  // The station-table slot the next text board takes; afterwards the limit
  // below which stations must stay.
  std::int32_t indice_cartelli = 80;

  // Scenery sections recorded so far, entries 1 to 80.
  std::int32_t numero_montagne = 0;
  std::array<std::int32_t, 81> inizi_montagne{};
  std::array<std::int32_t, 81> fini_montagne{};
};

// Records a fault: the code becomes pending and, where the fault has one, its
// position replaces posizione_errore.
void record_fault(run_state& st, fault f);

}  // namespace scenario
