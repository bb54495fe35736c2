#include "output/grid_format.h"

#include "output/byte_order.h"

namespace scenario {

std::string serialise_grid(const percorso_t& grid) {
  byte_sink out(grid.size() * k_grid_cell_bytes);
  for (const cella& c : grid) {
#define SCENARIO_PUT_FIELD(field, type) out.put(c.field);
    SCENARIO_CELLA_FIELDS(SCENARIO_PUT_FIELD)
#undef SCENARIO_PUT_FIELD
  }
  return out.take();
}

}  // namespace scenario
