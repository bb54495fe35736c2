// The one compile: the two description texts in, the scenario's tables and
// everything found on the way out. It never touches a file; the default run,
// compile, the benchmarks, the fuzz harnesses and the tests all go through it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/run_state.h"
#include "model/source_map.h"

namespace scenario {

// One description as the compile gets it: its text, or why there is none.
struct description {
  description() = default;
  // A description read whole.
  description(std::string shown_name, std::string_view whole)
      : name(std::move(shown_name)), text(whole) {}

  std::string name;                      // as diagnostics show it
  std::optional<std::string_view> text;  // nothing when it could not be read
  bool exists = true;                    // false: no file by that name (the line's code 101)
  std::string unreadable;                // why it could not be read, for code 25
};

struct compile_input {
  std::string nome_linea;
  std::string numero_treno;
  bool with_plan = true;  // scrivi_linea: build the plan (and so read the curves)
  description line;
  description train;
  // Also note which record made each object (for a picture's tooltips);
  // costs a look at the cells each record writes.
  bool trace_sources = false;
  // Go on after every fault, and compile the train description against the
  // grid the line description makes, whatever its faults: for a check that
  // reports every problem. The tables are then not fit to be written.
  bool keep_going = false;
};

// Everything a compile found, in the order it was found.
struct finding {
  bool is_fault = false;
  fault fault_found;       // when is_fault
  source_warning warning;  // otherwise
  // For a fault on a taken cell, when sources are traced: the record that
  // placed what holds it.
  source_ref holder;
  // What the holder's mark in that cell is, and why that record takes the
  // cell; empty when the mark needs no words.
  std::string holder_mark;
  // A fault on a taken cell, traced or not.
  bool on_taken_cell = false;
};

struct compile_result {
  // The tables, the pending fault (codice_errore, posizione_errore) and every
  // fault recorded.
  run_state st;
  std::vector<finding> findings;  // faults and warnings interleaved as found
  std::string line_name;          // the descriptions' names, for diagnostics
  std::string train_name;
  std::string line_text;  // the texts compiled, for the diagnostics' source lines
  std::string train_text;

  bool line_missing = false;  // no line description by its name: code 101
  // How each compiler ended; no train ending when it did not run.
  std::optional<compile_end> line_end;  // nothing when the line was not compiled
  std::optional<compile_end> train_end;
  // "1250" or "1251" when a stamp place was already taken; empty otherwise.
  std::string_view stamp_conflict;
  // Which record made each object, when the input asked for it.
  source_map sources;
  // With sources: the record whose object held the stamp's grid cell before
  // the pass and the stamps.
  source_ref stamp_cell_holder;

  // Whether the compile made a route grid: without one nothing can be written.
  bool has_grid() const { return !st.percorso.empty(); }
  // The warnings among the findings, in order.
  std::vector<source_warning> warnings() const;
  // True when a compile of the same input with sources traced would have
  // more to say: a fault on a taken cell names the record holding it, a
  // stamp conflict the record in the stamp's cell.
  bool notes_need_sources() const;
};

// memorizza_percorso's work without its files: stores the plan flag, clears
// the pending fault and the station table, names records 85 and 86, compiles
// the line description and, unless that stopped the compile, the train
// description; then, when there is a grid, runs the code-point pass and
// stamps the scenario (no stamp when a place is taken).
compile_result compile(const compile_input& input);

}  // namespace scenario
