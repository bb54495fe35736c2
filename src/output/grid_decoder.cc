#include "output/grid_format.h"

namespace scenario {

decoded<percorso_t> decode_grid(std::string_view bytes) {
  if (bytes.empty()) return decode_error{0, "empty file"};
  const std::size_t whole = bytes.size() / k_grid_cell_bytes;
  if (const std::size_t part = bytes.size() % k_grid_cell_bytes; part != 0)
    return decode_error{whole * k_grid_cell_bytes, "partial cell " + std::to_string(whole) + ": " +
                                                       std::to_string(part) + " of 15 bytes"};
  if (whole > k_grid_max_cells)
    return decode_error{k_grid_max_cells * k_grid_cell_bytes,
                        "more than " + std::to_string(k_grid_max_cells) + " cells"};

  byte_reader in(bytes);
  percorso_t grid(whole);
  for (std::size_t n = 0; n < whole; ++n) {
    const std::size_t at = in.offset();
    cella& c = grid[n];
#define SCENARIO_READ_FIELD(field, type) in.read(c.field, #field);
    SCENARIO_CELLA_FIELDS(SCENARIO_READ_FIELD)
#undef SCENARIO_READ_FIELD
    if (!known_cell_kind(c.tipo_cella))
      return decode_error{
          at, "unknown kind " + std::to_string(c.tipo_cella) + " in cell " + std::to_string(n)};
  }
  // The size was checked above; a short read here would be a fault of this file.
  if (!in.ok()) return in.error();
  return grid;
}

}  // namespace scenario
