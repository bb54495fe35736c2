#include "service/station_reader.h"

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "model/cell_objects.h"
#include "model/fault_codes.h"
#include "model/scenario_constants.h"
#include "model/slot_objects.h"

namespace scenario {
namespace {

std::int32_t sub(std::int32_t a, std::int32_t b) {
  return must_fit(sub_32(a, b), "a station position");
}

void set_area(stazione& rec, std::int32_t length) {
  const station_area area = station_area_of(rec.tipo_stazione, rec.posizione, length, rec.campo_9);
  rec.inizio = must_fit(area.inizio, "a station position");
  rec.fine = must_fit(area.fine, "a station position");
}

// The values after the length, in the record's order: the stored fields,
// the time and the name.
void read_stored_values(field_reader& reader, stazione& rec) {
  rec.campo_1 = reader.read_uint8();
  rec.campo_10 = reader.read_uint8();
  rec.campo_9 = reader.read_uint8();
  rec.campo_2 = reader.read_int16();
  rec.campo_3 = reader.read_int16();
  rec.campo_7 = reader.read_uint8();
  rec.campo_4 = reader.read_int16();
  rec.campo_5 = reader.read_int16();
  rec.campo_6 = reader.read_int16();
  rec.campo_8 = reader.read_uint8();
  const std::int32_t hours = reader.read_int32();
  const std::int32_t minutes = reader.read_int32();
  const std::int32_t seconds = reader.read_int32();
  rec.nome = reader.read_text();
  if (rec.nome.size() > 0xFFFF)
    throw compile_failure("a station name is longer than 65535 bytes", reader.field_line());

  const char* const time = "a station's time in seconds";
  rec.orario = must_fit(
      add_32(
          must_fit(mul_32(must_fit(add_32(must_fit(mul_32(hours, 60), time), minutes), time), 60),
                   time),
          seconds),
      time);
}

}  // namespace

station_outcome read_station(field_reader& reader, run_state& st, std::int32_t& numero) {
  stazione& rec = st.stazioni[static_cast<std::size_t>(numero)];
  percorso_t& grid = st.percorso;
  const std::int64_t last = last_cell(grid);

  rec.posizione = reader.read_int32();
  // A station needs 800 m of grid after its position, checked exactly.
  if (std::int64_t{rec.posizione} + 800 > std::int64_t{k_cell_metres} * last)
    return {k_fault_near_end, rec.posizione, true};
  if (rec.posizione % k_cell_metres != 0) return {k_fault_station_position, rec.posizione};
  rec.tipo_stazione = reader.read_uint8();
  const std::int32_t length = reader.read_int32();
  if (length % 100 != 0) return {k_fault_station_length, rec.posizione};

  read_stored_values(reader, rec);

  set_area(rec, length);
  if (!station_keeps_campo_9(rec.tipo_stazione, numero)) rec.campo_9 = 0;
  if (!station_keeps_campo_10(length, numero)) rec.campo_10 = 0;

  // fine is a multiple of 50: position and length were checked above.
  const std::int64_t stop = station_stop_cell(rec.fine);
  // An area reaching past the grid's end fails the compile at the first
  // mark outside it, the marks before it written.
  if (station_marks_cells(rec.tipo_stazione)) {
    for (int b = 1; b <= k_approach_marks; ++b)
      if (station_mark_written(stop, b))
        cell_at(grid, station_mark_cell(stop, b), rec.posizione).preavviso = station_mark(b);
  }
  std::optional<cella> stop_cell_before;
  if (station_stops_in_grid(rec.tipo_stazione)) {
    if (stop <= 1) return {k_fault_stop_cell, std::nullopt, false};
    cella& cell = cell_at(grid, stop, rec.posizione);
    stop_cell_before = cell;
    cell.tipo_cella = k_station_stop;
    cell.valore_a = low_16(numero);
  }

  if (numero > 1 &&
      sub(rec.inizio, k_station_spacing) < st.stazioni[static_cast<std::size_t>(numero - 1)].fine)
    return {k_fault_station_spacing, rec.posizione};

  ++numero;
  if (numero >= st.indice_cartelli)
    return {k_fault_too_many_stations, std::nullopt, false, length, stop_cell_before};
  return {0, std::nullopt, false, length, stop_cell_before};
}

}  // namespace scenario
