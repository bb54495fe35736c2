// A run's work between reading the two descriptions and writing the binary
// files, held in memory: what the benchmarks time and bench_make_max checks.
#pragma once

#include <string>
#include <string_view>

#include "run/run_state.h"

namespace scenario {

// A run state as memorizza_percorso starts it with plan flag 1: the
// scenario's names set and copied into records 85 and 86.
run_state named_state(std::string_view nome_linea, std::string_view numero_treno);

// Compiles the line text and, when that finished, the train text into st, as
// memorizza_dati does with the files, then runs the code-point pass and
// stamps the scenario. Returns the stamp conflict, or an empty view.
std::string_view compile_in_memory(run_state& st, std::string_view line_text,
                                   std::string_view train_text);

// The bytes of the three binary files of a compiled state.
struct binary_bytes {
  std::string plan;
  std::string stations;
  std::string grid;
};
binary_bytes serialise_all(const run_state& st);

}  // namespace scenario
