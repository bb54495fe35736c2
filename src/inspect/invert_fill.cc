#include "inspect/invert_fill.h"

#include "model/scenario_constants.h"

namespace scenario {

std::vector<std::uint8_t> cell_bytes(const percorso_t& grid, std::uint8_t cella::*field) {
  std::vector<std::uint8_t> out;
  out.reserve(grid.size());
  for (const cella& c : grid) out.push_back(c.*field);
  return out;
}

std::vector<fill_values> invert_fill(const std::vector<std::uint8_t>& bytes) {
  std::vector<fill_values> out;
  if (bytes.size() < 4) return out;
  const std::size_t last = bytes.size() - 1;
  auto at = [](std::size_t cell) { return static_cast<std::int32_t>(cell) * k_cell_metres; };
  out.push_back({0, bytes[0]});
  for (std::size_t c = 1; c + 3 <= last; ++c)
    if (bytes[c] != bytes[c - 1]) out.push_back({at(c), bytes[c]});
  std::size_t tail = last;
  while (tail >= last - 2 && bytes[tail] == 0) --tail;
  for (std::size_t c = last - 2; c <= tail; ++c) out.push_back({at(last - 2), bytes[c]});
  return out;
}

}  // namespace scenario
