#include "inspect/invert_boards.h"

#include <algorithm>
#include <string>

#include "model/scenario_constants.h"
#include "sources/record_layout.h"

namespace scenario {
namespace {

// value = 20 x first + second / 5 with second from 0 to 95 in steps of 5.
void split_speed(std::int16_t value, std::optional<std::int32_t>& first,
                 std::optional<std::int32_t>& second) {
  const std::int32_t v = value;
  const std::int32_t f = v >= 0 ? v / 20 : -((-v + 19) / 20);
  first = f;
  if (v != 20 * f) second = 5 * (v - 20 * f);
}

std::int32_t position_before(std::size_t cell) {
  return (static_cast<std::int32_t>(cell) - 1) * k_cell_metres;
}

std::string at_cell(std::size_t c) {
  return "cell " + std::to_string(c) + ": ";
}

// True when a slot holds nothing but its name.
bool only_text(const stazione& s) {
  stazione bare;
  bare.nome = s.nome;
  return s == bare;
}

}  // namespace

inverted<std::vector<speed_board_values>> invert_speed_boards(const percorso_t& grid) {
  inverted<std::vector<speed_board_values>> out;
  for (std::size_t c = 0; c < grid.size(); ++c) {
    const cella& cell = grid[c];
    if (cell.tipo_cella != k_speed_board) continue;
    speed_board_values b;
    b.posizione = position_before(c);
    split_speed(cell.valore_a, b.values[0], b.values[4]);
    split_speed(cell.valore_b, b.values[1], b.values[5]);
    split_speed(cell.valore_c, b.values[2], b.values[6]);
    b.values[3] = cell.valore_d / 10;
    b.values[7] = cell.valore_d % 10;
    out.records.push_back(b);
  }
  return out;
}

inverted<std::vector<text_board_values>> invert_text_boards(const percorso_t& grid,
                                                            const stazioni_t& table) {
  inverted<std::vector<text_board_values>> out;
  std::vector<std::pair<std::int16_t, std::size_t>> boards;  // slot, cell
  for (std::size_t c = 0; c < grid.size(); ++c)
    if (grid[c].tipo_cella == k_text_board) boards.push_back({grid[c].valore_a, c});
  // The first board in the file takes slot 80, the next 79, and so on.
  std::sort(boards.begin(), boards.end(), [](const auto& a, const auto& b) {
    return a.first > b.first || (a.first == b.first && a.second < b.second);
  });
  for (std::size_t i = 0; i < boards.size(); ++i) {
    const auto [slot, cell] = boards[i];
    const std::int64_t expected = k_first_board_slot - static_cast<std::int64_t>(i);
    text_board_values b{position_before(cell), {}};
    if (slot != expected || expected < 1) {
      out.problems.push_back(at_cell(cell) + "a text board showing record " + std::to_string(slot) +
                             ", where the next board would take record " +
                             std::to_string(expected));
    } else {
      const stazione& s = table[static_cast<std::size_t>(slot)];
      b.text = s.nome;
      const std::string board = at_cell(cell) + "the text board's record " + std::to_string(slot);
      if (!only_text(s)) out.problems.push_back(board + " holds more than a text");
      if (!text_field(s.nome))
        out.problems.push_back(board +
                               " holds a text that no field reads back (a double quote "
                               "with a comma, an outer blank or a line end)");
    }
    out.records.push_back(std::move(b));
  }
  return out;
}

}  // namespace scenario
