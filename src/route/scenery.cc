#include "route/scenery.h"

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "model/cell_objects.h"
#include "model/fault_codes.h"
#include "model/scenario_constants.h"

namespace scenario {
namespace {

constexpr std::int32_t k_max_sections = 80;

std::int16_t packed_speed(std::int32_t first, std::int32_t second) {
  return must_fit(fit_int16(board_speed_value(first, second)), "a packed speed of a speed board");
}

}  // namespace

std::int32_t memo_montagna(percorso_t& percorso, scenery_sections& sections, std::int32_t inizio,
                           std::int32_t fine, std::int32_t& tipo) {
  const scenery_request asked = scenery_request_of(tipo);
  tipo = asked.tipo;
  if (sections.numero_montagne >= k_max_sections) return k_fault_too_many_sections;
  const std::int64_t first = round_half_even(inizio, k_cell_metres);
  const std::int64_t last = round_half_even(std::int64_t{fine} - k_cell_metres, k_cell_metres);

  const std::int32_t n = ++sections.numero_montagne;
  const std::int32_t previous_end = sections.fine_ultima;
  sections.fine_ultima = fine;
  if (n > 1) {
    const std::int32_t gap =
        must_fit(sub_32(inizio, previous_end), "the gap between scenery sections");
    if (scenery_close(gap)) tipo = k_close_scenery_type;
  }

  const std::uint8_t ambiente = scenery_ambiente(tipo);
  for (std::int64_t c = first; c <= last; ++c) {
    // A section reaching past either end of the grid fails there, the cells
    // before it written.
    cella& cell = cell_at(percorso, c, inizio);
    cell.ambiente = ambiente;
    if (asked.markers && scenery_marker_cell(first, c) && cell.tipo_cella == k_empty)
      cell.tipo_cella = k_scenery_marker;
  }
  return 0;
}

std::int32_t memo_indicatori_v_max(percorso_t& percorso, std::int32_t posizione,
                                   const speed_board& board) {
  cella& cell = cell_at(percorso, point_cell(posizione), posizione);
  if (!is_free(cell)) return k_fault_speed_board_taken;
  const std::int16_t a = packed_speed(board.vas, board.vad);
  const std::int16_t b = packed_speed(board.vbs, board.vbd);
  const std::int16_t cc = packed_speed(board.vcs, board.vcd);
  cell.tipo_cella = k_speed_board;
  cell.valore_a = a;
  cell.valore_b = b;
  cell.valore_c = cc;
  cell.valore_d = board_stripes_value(board.strisces, board.strisced);
  return 0;
}

}  // namespace scenario
