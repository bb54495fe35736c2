#include "output/grid_format.h"

#include "output/byte_order.h"

namespace scenario {

std::string serialise_grid(const percorso_t& grid) {
  byte_sink out(grid.size() * k_grid_cell_bytes);
  for (const cella& c : grid) {
    out.put_u8(c.tipo_cella);
    out.put_i16(c.valore_a);
    out.put_i16(c.valore_b);
    out.put_i16(c.valore_c);
    out.put_i16(c.valore_d);
    out.put_u8(c.ritardo);
    out.put_u8(c.preavviso);
    out.put_u8(c.ambiente);
    out.put_u8(c.vel_limite);
    out.put_u8(c.pendenza);
    out.put_u8(c.aderenza);
  }
  return out.take();
}

}  // namespace scenario
