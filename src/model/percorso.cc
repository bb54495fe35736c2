#include "model/percorso.h"

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "model/scenario_constants.h"

namespace scenario {

bool known_cell_kind(std::uint8_t tipo_cella) {
  switch (tipo_cella) {
#define SCENARIO_CELL_KIND_CASE(name, value, words) case value:
    SCENARIO_CELL_KINDS(SCENARIO_CELL_KIND_CASE)
#undef SCENARIO_CELL_KIND_CASE
    return true;
    default:
      return false;
  }
}

std::string_view cell_kind_name(std::uint8_t tipo_cella) {
  switch (tipo_cella) {
#define SCENARIO_CELL_KIND_NAME(name, value, words) \
  case value:                                       \
    return words;
    SCENARIO_CELL_KINDS(SCENARIO_CELL_KIND_NAME)
#undef SCENARIO_CELL_KIND_NAME
    default:
      return "unknown kind";
  }
}

cella& cell_at(percorso_t& grid, std::int64_t index, std::optional<std::int32_t> position) {
  if (!in_grid(grid, index))
    throw compile_failure("object would lie outside the route grid", 0, position);
  return grid[static_cast<std::size_t>(index)];
}

std::int64_t point_cell(std::int32_t p) {
  return round_half_even(static_cast<std::int64_t>(p) + k_cell_metres, k_cell_metres);
}

std::int32_t point_position(std::int64_t k) {
  return static_cast<std::int32_t>((k - 1) * k_cell_metres);
}

}  // namespace scenario
