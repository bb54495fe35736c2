// The line description from the grid, the table's header records and the plan.
#include <algorithm>

#include "inspect/decompile_parts.h"
#include "inspect/invert_boards.h"
#include "inspect/invert_fill.h"
#include "inspect/invert_header.h"
#include "inspect/invert_plan.h"
#include "inspect/invert_scenery.h"
#include "inspect/invert_slowdowns.h"
#include "inspect/invert_stations.h"
#include "inspect/mark_order.h"

namespace scenario {

line_records decompile_line(const decompile_input& in, problem_sink& sink) {
  const stazioni_t& t = in.table;
  line_records r;
  r.length = t[k_slot_train].fine;
  auto references = invert_references(t);
  sink.add(sink.stations, references.problems);
  r.references = references.records;
  r.sfondo_uno = t[k_slot_line].inizio;
  r.sfondo_due = t[k_slot_line].posizione;
  r.sfondo_tre = t[k_slot_line].fine;
  auto repetition = invert_repetition(t);
  sink.add(sink.stations, repetition.problems);
  r.repetition = repetition.records;

  auto curves = in.curves && in.curves->complete() && in.curves->metres() == in.plan->metres()
                    ? in.curves->records(last_cell(in.grid))
                    : invert_plan(*in.plan, last_cell(in.grid));
  sink.add(sink.plan, curves.problems);
  r.curves = std::move(curves.records);
  for (fill_values g : invert_fill(cell_bytes(in.grid, &cella::pendenza))) {
    g.value = gradient_of(static_cast<std::uint8_t>(g.value));
    r.gradients.push_back(g);
  }
  auto scenery = invert_scenery(in.grid);
  sink.add(sink.grid, scenery.problems);
  r.scenery = std::move(scenery.records);
  // A stop over a signal keeps the signal's values, not a board's, and a
  // text board cannot have stood where a signal did.
  // Nor did either where a stop covers a slowdown's cell.
  const std::size_t stations = station_count(t, text_board_slots(in.grid, t).lowest);
  const std::vector<std::size_t> over_slowdowns = invert_slowdowns(in.grid).records.under_stops;
  const std::vector<std::size_t> over_signals =
      invert_signal_order(in.grid, t, stations, over_slowdowns).records.under_stops;
  auto speed_boards = invert_speed_boards(in.grid, over_signals, over_slowdowns);
  sink.add(sink.grid, speed_boards.problems);
  r.speed_boards = std::move(speed_boards.records);
  std::vector<std::size_t> free_stops;
  for (std::size_t c : bare_stops(in.grid, over_slowdowns))
    if (!std::binary_search(over_signals.begin(), over_signals.end(), c)) free_stops.push_back(c);
  auto text_boards = invert_text_boards(in.grid, t, free_stops);
  sink.add(sink.grid, text_boards.problems);
  r.text_boards = std::move(text_boards.records);
  return r;
}

}  // namespace scenario
