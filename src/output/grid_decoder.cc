#include "output/grid_format.h"

namespace scenario {
namespace {

// The kinds the compilers write; 7 to 9 and above 14 never occur.
bool known_kind(std::uint8_t kind) {
  return kind <= k_speed_board || (kind >= k_station_stop && kind <= k_text_board);
}

}  // namespace

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
    c.tipo_cella = in.u8("tipo_cella");
    if (!known_kind(c.tipo_cella))
      return decode_error{
          at, "unknown kind " + std::to_string(c.tipo_cella) + " in cell " + std::to_string(n)};
    c.valore_a = in.i16("valore_a");
    c.valore_b = in.i16("valore_b");
    c.valore_c = in.i16("valore_c");
    c.valore_d = in.i16("valore_d");
    c.ritardo = in.u8("ritardo");
    c.preavviso = in.u8("preavviso");
    c.ambiente = in.u8("ambiente");
    c.vel_limite = in.u8("vel_limite");
    c.pendenza = in.u8("pendenza");
    c.aderenza = in.u8("aderenza");
  }
  // The size was checked above; a short read here would be a fault of this file.
  if (!in.ok()) return in.error();
  return grid;
}

}  // namespace scenario
