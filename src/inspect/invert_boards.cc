#include "inspect/invert_boards.h"

#include <algorithm>
#include <string>

#include "model/cell_objects.h"
#include "sources/record_layout.h"

namespace scenario {
namespace {

// The two speeds a packed value reads back as; an empty second field for a
// rest of 0.
void split_speed(std::int16_t value, std::optional<std::int32_t>& first,
                 std::optional<std::int32_t>& second) {
  const board_speed_pair pair = board_speeds(value);
  first = pair.first;
  second = pair.second;
}

std::string at_cell(std::size_t c) {
  return "cell " + std::to_string(c) + ": ";
}

// A cell keeping values b, c, d or a delay.
bool keeps_values(const cella& c) {
  return c.valore_b != 0 || c.valore_c != 0 || c.valore_d != 0 || c.ritardo != 0;
}

// A board at the cell passes its position check: p + 100 <= 50 P.
bool board_fits(const percorso_t& grid, std::size_t cell) {
  return cell >= 1 && static_cast<std::int64_t>(cell) + 1 <= last_cell(grid);
}

// True when a slot holds nothing but its name.
bool only_text(const stazione& s) {
  stazione bare;
  bare.nome = s.nome;
  return s == bare;
}

}  // namespace

inverted<std::vector<speed_board_values>> invert_speed_boards(
    const percorso_t& grid, const std::vector<std::size_t>& over_signals,
    const std::vector<std::size_t>& over_slowdowns) {
  inverted<std::vector<speed_board_values>> out;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    cella cell = grid[c];
    if (cell.tipo_cella == k_station_stop && keeps_values(cell)) {
      if (std::binary_search(over_signals.begin(), over_signals.end(), c) ||
          std::binary_search(over_slowdowns.begin(), over_slowdowns.end(), c))
        continue;
      if (cell.ritardo != 0) {
        out.problems.push_back(at_cell(c) +
                               "a station stop keeping a clearing delay, which only a signal "
                               "written before the station leaves there");
        continue;
      }
      if (!board_fits(grid, c)) {
        out.problems.push_back(at_cell(c) +
                               "a station stop keeping values b, c and d, which no board this "
                               "near the end of the grid can have left");
        continue;
      }
      cell.valore_a = 0;
    } else if (cell.tipo_cella != k_speed_board) {
      continue;
    }
    speed_board_values b;
    b.posizione = point_position(static_cast<std::int64_t>(c));
    split_speed(cell.valore_a, b.values[0], b.values[4]);
    split_speed(cell.valore_b, b.values[1], b.values[5]);
    split_speed(cell.valore_c, b.values[2], b.values[6]);
    const board_stripe_pair stripes = board_stripes(cell.valore_d);
    b.values[3] = stripes.strisces;
    b.values[7] = stripes.strisced;
    out.records.push_back(b);
  }
  return out;
}

std::vector<std::size_t> bare_stops(const percorso_t& grid,
                                    const std::vector<std::size_t>& over_slowdowns) {
  std::vector<std::size_t> out;
  for (std::size_t c = 0; c < grid.size(); ++c)
    if (grid[c].tipo_cella == k_station_stop && !keeps_values(grid[c]) && board_fits(grid, c) &&
        !std::binary_search(over_slowdowns.begin(), over_slowdowns.end(), c))
      out.push_back(c);
  return out;
}

board_slots text_board_slots(const percorso_t& grid, const stazioni_t& table) {
  board_slots out;
  std::vector<bool> shown(k_first_board_slot + 1, false);
  for (const cella& c : grid)
    if (c.tipo_cella == k_text_board && c.valore_a >= 1 && c.valore_a <= k_first_board_slot) {
      shown[static_cast<std::size_t>(c.valore_a)] = true;
      out.lowest = std::min<int>(out.lowest, c.valore_a);
    }
  // Stations hold more than a text; the texts above the last of them are
  // the boards'.
  int last_station = 0;
  for (int slot = 1; slot <= k_first_board_slot; ++slot) {
    const stazione& s = table[static_cast<std::size_t>(slot)];
    if (!(s == stazione{}) && !only_text(s)) last_station = slot;
  }
  for (int slot = last_station + 1; slot <= k_first_board_slot; ++slot)
    if (!table[static_cast<std::size_t>(slot)].nome.empty()) {
      out.lowest = std::min(out.lowest, slot);
      break;
    }
  for (int slot = k_first_board_slot; slot >= out.lowest; --slot)
    if (!shown[static_cast<std::size_t>(slot)]) out.hidden.push_back(slot);
  return out;
}

inverted<std::vector<text_board_values>> invert_text_boards(
    const percorso_t& grid, const stazioni_t& table,
    const std::vector<std::size_t>& covering_stops) {
  inverted<std::vector<text_board_values>> out;
  const board_slots slots = text_board_slots(grid, table);
  std::vector<std::pair<std::int16_t, std::size_t>> boards;  // slot, cell
  for (std::size_t c = 0; c < grid.size(); ++c)
    if (grid[c].tipo_cella == k_text_board) boards.push_back({grid[c].valore_a, c});
  // The first board in the file takes record 80, the next 79, and so on.
  std::sort(boards.begin(), boards.end(), [](const auto& a, const auto& b) {
    return a.first > b.first || (a.first == b.first && a.second < b.second);
  });
  std::size_t next_stop = 0;
  auto board = boards.begin();
  for (int slot = k_first_board_slot; slot >= slots.lowest; --slot) {
    for (; board != boards.end() && board->first > slot; ++board)
      out.problems.push_back(at_cell(board->second) + "a text board showing record " +
                             std::to_string(board->first) +
                             ", which no board in the order of the records takes");
    const stazione& s = table[static_cast<std::size_t>(slot)];
    const bool shown = board != boards.end() && board->first == slot;
    std::size_t cell = 0;
    if (shown) {
      cell = (board++)->second;
    } else if (next_stop < covering_stops.size()) {
      cell = covering_stops[next_stop++];
    } else {
      out.problems.push_back("record " + std::to_string(slot) +
                             ": a text board's record that no board cell shows, and no station "
                             "stop keeping nothing else is left to have covered its board");
      continue;
    }
    out.records.push_back({point_position(static_cast<std::int64_t>(cell)), s.nome});
    const std::string what = shown ? at_cell(cell) + "the text board's record " : "record ";
    if (!only_text(s))
      out.problems.push_back(what + std::to_string(slot) + " holds more than a text");
    if (!text_field(s.nome))
      out.problems.push_back(what + std::to_string(slot) +
                             " holds a text that no field reads back (a double quote "
                             "with a comma, an outer blank or a line end)");
  }
  // Cells showing a record out of that order, or a second time.
  for (; board != boards.end(); ++board)
    out.problems.push_back(at_cell(board->second) + "a text board showing record " +
                           std::to_string(board->first) +
                           ", which no board in the order of the records takes");
  return out;
}

}  // namespace scenario
