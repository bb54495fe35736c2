// The compile step of a run and the finishing step around it: the one place
// that opens, reads and deletes the two description files.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/display.h"
#include "run/run_state.h"

namespace scenario {

// Where a compile finds its two descriptions, and whether they are deleted
// once read (the default run's sources are intermediate files; an author's
// files are never touched).
struct scenario_sources {
  std::string line_path;
  std::string train_path;
  bool delete_after_reading = true;
};

// A run that cannot go on: nothing the compile produced can be written.
class run_failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Copies nome_linea and numero_treno into the name of records 85 and 86, the
// first step of every compile: the check codes are computed from them there.
void name_station_table(run_state& st);

// memorizza_dati: copies the scenario's names into records 85 and 86, then
// compiles the line description and, unless that stopped the compile, the
// train description. Each file read is deleted when its compiler is done
// with it (when sources ask for it): after a hard stop of the line compiler
// the train description stays; after a run-time failure both are deleted.
void memorizza_dati(run_state& st, const scenario_sources& sources);

// memorizza_percorso: stores j as the plan flag, clears the pending fault and
// the station table, compiles, runs the code-point pass, stamps the scenario
// and writes the binary files into out_folder: the line plan (when j is not
// 0), the station file and the route grid. Throws run_failure when the
// compile left no grid, and ends the run through errore on a stamp conflict;
// in both cases no binary file is written.
void memorizza_percorso(run_state& st, std::int32_t j, const scenario_sources& sources,
                        const std::string& out_folder, display& ui);

}  // namespace scenario
