// The state of one compile, in three parts: the tables the compilers fill,
// the compile's context (settings, pending fault, reporter) and what the
// line compiler leaves the train compiler.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/warning_groups.h"
#include "model/percorso.h"
#include "model/plan_runs.h"
#include "model/stazioni.h"

namespace scenario {

// How a compiler ended its reading. A soft stop (code 15) ends as finished.
enum class compile_end {
  finished,         // the whole text was read, or reading stopped softly
  hard_stop,        // a fault stopped the compile; its file is done with
  runtime_failure,  // code 25: both description files are done with
};

// Which file a fault or warning concerns.
enum class fault_origin { line_file, train_file, pass, run };

// One recorded compile fault. The members past `detail` have defaults of
// their own, so a fault without a column or a cause may leave them out.
struct fault {
  std::int32_t code = 0;
  std::optional<std::int32_t> position;  // metres, for the faults that record one
  fault_origin origin = fault_origin::run;
  int line = 0;        // source line of the record, 0 when there is none
  std::string detail;  // what failed, for run-time failures
  int column = 0;      // source column of the field it concerns, 0 when unknown
  // Where the cause lies when it is not the record itself (the line a
  // missing value was taken from, the record holding a cell); 0 when none.
  int cause_line = 0;
  int cause_column = 0;
  // What the note at the cause says; empty for "the missing value was taken
  // from here".
  std::string cause_what{};

  friend bool operator==(const fault&, const fault&) = default;
};

// A note to a warning: where its cause lies when it is not the warned record.
struct source_note {
  fault_origin origin = fault_origin::line_file;
  int line = 0;
  int column = 0;
  std::string what;

  friend bool operator==(const source_note&, const source_note&) = default;
};

// Something in a description that compiles, but not as its author probably
// meant (a value kept to its low bits, a record that is never read). A
// warning never changes what the compile produces. The notes have a default
// of their own: a warning without any leaves them out.
struct source_warning {
  fault_origin origin = fault_origin::line_file;  // line_file or train_file
  int line = 0;                                   // source line, 0 when there is none
  std::string what;
  int column = 0;
  warning_group group = warning_group::none;
  std::vector<source_note> notes{};

  friend bool operator==(const source_warning&, const source_warning&) = default;
};

// Where the compilers and the pass send what they find, as they find it.
class reporter {
 public:
  virtual ~reporter() = default;
  virtual void fault_found(const fault& f) = 0;
  // A fault about grid cell taken_cell, which another object already holds.
  // By default a fault like any other; the compile names the holder.
  virtual void fault_on_taken_cell(const fault& f, std::int64_t /*taken_cell*/) { fault_found(f); }
  virtual void warning_found(const source_warning& w) = 0;
  // A compiler begins to act on the record of that line, one that may place
  // objects in the grid or the station table: what it writes until the next
  // such record is its doing.
  virtual void record_begins(fault_origin /*origin*/, int /*line*/) {}
};

// The tables a compile fills, from which the three files are written.
struct scenario_tables {
  percorso_t percorso;
  stazioni_t stazioni;
  plan_runs profilo;  // the plan as runs of metres; plan_table() gives its points
};

// What a compile is asked for, and where what it finds goes: the scenario's
// identity, its settings, the pending fault and the reporter.
struct compile_context {
  std::string nome_linea;
  std::string numero_treno;

  // Nonzero: build the plan while compiling and write its file.
  std::int32_t scrivi_linea = 0;
  // Go on after a fault, with the next record, and compile the train
  // description whatever became of the line: for a check that reports every
  // problem. What is compiled then is not written anywhere.
  bool keep_going = false;

  // The pending fault code (0 = none) and the position that goes with it.
  std::int32_t codice_errore = 0;
  std::int32_t posizione_errore = 0;
  std::vector<fault> faults;  // every fault recorded, in order

  // Told of every fault and warning as it is found; may be null.
  reporter* report = nullptr;
};

// What the line description leaves for the train description's compile:
// the slots the text boards took, and the lines of records whose values the
// train's faults and warnings go back to.
struct line_handover {
  // The station-table slot the next text board takes; afterwards the limit
  // below which stations must stay.
  std::int32_t indice_cartelli = k_first_board_slot;
  // The line of the text-board record that took each station-table slot,
  // for the warnings about a board erased later; 0 when none did.
  std::array<int, k_station_slots> board_lines{};
  // The line of the first kilometric reference read whose position or value
  // is not a multiple of 50 m, which the train compiler's code 2 blames; 0
  // when there is none.
  int misplaced_reference_line = 0;
  // The line of the route-length record that made the grid; 0 when none.
  int route_length_line = 0;
};

// One compile's whole state: each part may be handed on alone.
struct run_state : scenario_tables, compile_context, line_handover {};

// The route's end, in metres from its start, as the route-length record set
// it; nothing before a valid one is read (a stand-in grid has no end). The
// grid runs k_route_margin past it.
std::optional<std::int32_t> route_end(const run_state& st);

// Records a fault: the code becomes pending and, where the fault has one and
// its code records positions, its position replaces posizione_errore; the
// reporter is told, with the grid cell the fault found taken when there is
// one.
void record_fault(compile_context& st, fault f,
                  std::optional<std::int64_t> taken_cell = std::nullopt);

// Tells the reporter of a warning.
void record_warning(compile_context& st, const source_warning& w);

// Tells the reporter that the compiler acts on the record of line next, one
// that may place objects (records that only fill per-cell values or header
// values need not say so).
void record_begins(compile_context& st, fault_origin origin, int line);

}  // namespace scenario
