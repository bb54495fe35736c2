// The train description from the grid and the table's station and header
// records.
#include <algorithm>
#include <string>

#include "inspect/decompile_parts.h"
#include "inspect/invert_boards.h"
#include "inspect/invert_code_points.h"
#include "inspect/invert_fill.h"
#include "inspect/invert_slowdowns.h"
#include "inspect/invert_stations.h"
#include "inspect/mark_order.h"
#include "model/cell_objects.h"

namespace scenario {
namespace {

// Records 0 and 81 to 86 keep nothing but what the compile writes there.
std::vector<std::string> header_leftovers(const stazioni_t& t) {
  std::vector<std::string> out;
  auto check = [&](int slot, auto clear) {
    stazione rest = t[static_cast<std::size_t>(slot)];
    clear(rest);
    if (!(rest == stazione{}))
      out.push_back("record " + std::to_string(slot) + ": values in fields no description sets");
  };
  auto place = [](stazione& s) { s.inizio = s.fine = s.posizione = 0; };
  check(0, [](stazione&) {});
  for (int slot : {k_slot_km_tre, k_slot_km_due, k_slot_km_uno, k_slot_train}) check(slot, place);
  check(k_slot_line, [&](stazione& s) {
    place(s);
    s.nome.clear();
  });
  check(k_slot_repetition, [&](stazione& s) {
    place(s);
    s.nome.clear();
    s.campo_2 = s.campo_4 = s.campo_5 = s.campo_6 = 0;
  });
  return out;
}

// Every station of a type below 25 has its stop cell, holding its number,
// and no other cell is a stop cell.
std::vector<std::string> stop_cell_problems(const percorso_t& grid, const stazioni_t& t,
                                            std::size_t stations) {
  std::vector<std::int64_t> expected(grid.size(), 0);  // station number, 0 for none
  std::vector<std::string> out;
  for (std::size_t s = 1; s <= stations; ++s) {
    if (!station_stops_in_grid(t[s].tipo_stazione)) continue;
    const std::int64_t stop = station_stop_cell(t[s].fine);
    if (in_grid(grid, stop))
      expected[static_cast<std::size_t>(stop)] = static_cast<std::int64_t>(s);
  }
  for (std::size_t c = 0; c < grid.size(); ++c) {
    const bool stop = grid[c].tipo_cella == k_station_stop;
    if (stop != (expected[c] != 0) || (stop && grid[c].valore_a != expected[c]))
      out.push_back("cell " + std::to_string(c) +
                    (stop ? ": a station stop that no station of the table has"
                          : ": the stop cell of station " + std::to_string(expected[c]) +
                                " holds no station stop"));
  }
  return out;
}

}  // namespace

train_records decompile_train(const decompile_input& in, problem_sink& sink) {
  const stazioni_t& t = in.table;
  const percorso_t& grid = in.grid;
  train_records r;
  r.cars = t[k_slot_train].posizione;
  r.braked_mass = t[k_slot_train].inizio;
  r.sand = t[k_slot_repetition].campo_2;
  r.hours = t[k_slot_repetition].campo_4;
  r.minutes = t[k_slot_repetition].campo_5;
  r.seconds = t[k_slot_repetition].campo_6;
  r.adhesion = invert_fill(cell_bytes(grid, &cella::aderenza));
  // The grid stores the speed limit in steps of 5 km/h.
  for (fill_values v : invert_fill(cell_bytes(grid, &cella::vel_limite))) {
    v.value *= 5;
    r.speed.push_back(v);
  }

  // Text boards take records 80 down; stations stay below them.
  const int first_board = text_board_slots(grid, t).lowest;
  std::vector<std::string> table_problems = header_leftovers(t);
  auto stations = invert_stations(t, first_board);
  table_problems.insert(table_problems.end(), stations.problems.begin(), stations.problems.end());
  sink.add(sink.stations, table_problems);
  r.stations = std::move(stations.records);
  sink.add(sink.grid, stop_cell_problems(grid, t, r.stations.size()));

  auto slowdowns = invert_slowdowns(grid);
  sink.add(sink.grid, slowdowns.problems);
  r.slowdowns = std::move(slowdowns.records.slowdowns);
  for (std::int32_t s : slowdowns.records.under_station)
    r.slowdown_before.push_back(s >= 1 && static_cast<std::size_t>(s) <= r.stations.size()
                                    ? static_cast<std::size_t>(s) - 1
                                    : r.stations.size());
  auto signals = invert_signal_order(grid, t, r.stations.size(), slowdowns.records.under_stops);
  sink.add(sink.grid, signals.problems);
  r.signals = std::move(signals.records.signals);
  r.signal_before = std::move(signals.records.before);
  auto code_lines = invert_code_points(grid);
  sink.add(sink.grid, code_lines.problems);
  r.code_lines = std::move(code_lines.records);
  return r;
}

}  // namespace scenario
