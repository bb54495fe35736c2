#include "service/train_compiler.h"

#include <optional>
#include <string>

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "common/text.h"
#include "run/fault_codes.h"
#include "service/signal.h"
#include "service/slowdown.h"
#include "service/station_reader.h"
#include "sources/field_reader.h"

namespace scenario {
namespace {

enum class next_step { go_on, soft_stop, hard_stop };

// A continuous field filled by a running index: the next cell to fill and the
// value of the last record read (0 before the first).
struct running_fill {
  std::int32_t next_cell = 0;
  std::int32_t carried = 0;
};

std::uint8_t speed_byte(std::int32_t kmh) {
  return must_fit(fit_uint8(round_half_even(kmh, 5)), "a speed limit divided by 5");
}

// Writes a running fill's carried value into one cell.
using cell_writer = void (*)(cella&, std::int32_t carried);
void write_speed(cella& c, std::int32_t kmh) {
  c.vel_limite = speed_byte(kmh);
}
void write_adhesion(cella& c, std::int32_t value) {
  c.aderenza = low_8(value);
}

// The fill after the last record, up to cell N - 3; at least one cell is
// written. Only records out of order can have pushed the index past the grid,
// and nothing is written there.
void complete_fill(percorso_t& grid, running_fill& fill, cell_writer write) {
  const std::int32_t stop = last_cell(grid) - 2;
  do {
    if (in_grid(grid, fill.next_cell))
      write(grid[static_cast<std::size_t>(fill.next_cell)], fill.carried);
    ++fill.next_cell;
  } while (fill.next_cell < stop);
}

class train_compiler {
 public:
  train_compiler(std::string_view text, run_state& st) : reader_(text), st_(st) {}

  compile_end run();
  int line() const { return reader_.field_line(); }

 private:
  void find_start();
  next_step record();
  // A speed-limit or adhesion record: cells from the running index up to the
  // record's cell get the value carried so far; then the record's is carried.
  next_step fill_record(running_fill& fill, cell_writer write, bool stops_before_last);
  next_step read_signal();
  next_step read_slowdown();
  next_step code_line_record();
  next_step station_record();
  void end_of_reading();

  // Signal, slowdown, code-line, speed and adhesion records: (p + 100) / 50 <= N.
  bool position_fits(std::int32_t p) const {
    return must_fit(add_32(p, 100), "a position") <= 50 * std::int64_t{last_cell(st_.percorso)};
  }
  void fault_at(std::int32_t code, std::optional<std::int32_t> position = std::nullopt) {
    record_fault(st_, {code, position, fault_origin::train_file, record_line_, {}});
  }

  field_reader reader_;
  run_state& st_;
  std::string field_;
  int record_line_ = 0;
  running_fill speed_;
  running_fill adhesion_;
  std::int32_t station_number_ = 1;
};

compile_end train_compiler::run() {
  find_start();
  for (;;) {
    if (reader_.at_end()) break;
    field_ = reader_.read_text();
    if (reader_.at_end()) break;
    // At most two fields holding "-" in a row are passed over.
    bool ended = false;
    for (int i = 0; i < 2 && contains(field_, "-"); ++i) {
      field_ = reader_.read_text();
      if ((ended = reader_.at_end())) break;
    }
    if (ended) break;
    record_line_ = reader_.field_line();
    const next_step next = record();
    if (next == next_step::hard_stop) return compile_end::hard_stop;
    if (next == next_step::soft_stop) break;
  }
  end_of_reading();
  return compile_end::finished;
}

void train_compiler::find_start() {
  do {
    field_ = reader_.read_text();
  } while (!contains_ignoring_case(field_, "[generale]") && !reader_.at_end());
}

// Every keyword the field contains acts, in this order, each reading its own
// values.
next_step train_compiler::record() {
  stazioni_t& s = st_.stazioni;
  auto has = [this](std::string_view word) { return contains_ignoring_case(field_, word); };
  if (has("frenata") && has("massa")) s[k_slot_train].inizio = reader_.read_int32();
  if (has("vetture")) s[k_slot_train].posizione = reader_.read_int32();
  // The speed fill also stops at the grid's last cell; the adhesion fill
  // relies on the position check alone.
  if (has("velocit"))
    if (const next_step n = fill_record(speed_, write_speed, true); n != next_step::go_on) return n;
  if (has("aderenza"))
    if (const next_step n = fill_record(adhesion_, write_adhesion, false); n != next_step::go_on)
      return n;
  if (has("orologio")) {
    s[k_slot_repetition].campo_4 = reader_.read_int16();
    s[k_slot_repetition].campo_5 = reader_.read_int16();
    s[k_slot_repetition].campo_6 = reader_.read_int16();
  }
  if (has("sabbia")) s[k_slot_repetition].campo_2 = reader_.read_int16();
  if (has("segnale"))
    if (const next_step n = read_signal(); n != next_step::go_on) return n;
  if (has("rallentamento"))
    if (const next_step n = read_slowdown(); n != next_step::go_on) return n;
  if (has("abbattimento"))
    if (const next_step n = code_line_record(); n != next_step::go_on) return n;
  if (has("stazione")) return station_record();
  return next_step::go_on;
}

next_step train_compiler::fill_record(running_fill& fill, cell_writer write,
                                      bool stops_before_last) {
  const std::int32_t p = reader_.read_int32();
  const std::int32_t value = reader_.read_int32();
  if (!position_fits(p)) {
    fault_at(15, p);
    return next_step::soft_stop;
  }
  const std::int64_t k = round_half_even(p, 50);
  const std::int32_t last = last_cell(st_.percorso);
  if (k > 0) {
    // A record whose cell is not beyond the running index still fills one cell.
    do {
      if (!in_grid(st_.percorso, fill.next_cell)) {
        fault_at(k_fault_outside_grid, p);
        return next_step::hard_stop;
      }
      write(st_.percorso[static_cast<std::size_t>(fill.next_cell)], fill.carried);
      ++fill.next_cell;
    } while (fill.next_cell < k && (!stops_before_last || fill.next_cell < last));
  }
  fill.carried = value;
  return next_step::go_on;
}

next_step train_compiler::read_signal() {
  const std::int32_t posizione = reader_.read_int32();
  signal_record r;
  for (std::int32_t* v :
       {&r.sx, &r.s1, &r.s2, &r.s3, &r.rapp, &r.dx, &r.d1, &r.d2, &r.d3, &r.tempo})
    *v = reader_.read_int32();
  if (!position_fits(posizione)) {
    fault_at(15, posizione);
    return next_step::soft_stop;
  }
  // Only a fault of this signal stops the compile, not one left pending by
  // the line compiler's soft stop.
  if (const std::int32_t code = memo_segnale(st_.percorso, posizione, r); code != 0) {
    fault_at(code, posizione);
    return next_step::hard_stop;
  }
  return next_step::go_on;
}

next_step train_compiler::read_slowdown() {
  slowdown_record r;
  for (std::int32_t* v : {&r.x, &r.v, &r.l, &r.f_tt, &r.f_ta, &r.d_v}) *v = reader_.read_int32();
  if (!position_fits(r.x)) {
    fault_at(15, r.x);
    return next_step::soft_stop;
  }
  if (const std::int32_t code = memo_rallentamento(st_.percorso, r); code != 0) {
    fault_at(code, r.x);
    return next_step::hard_stop;
  }
  return next_step::go_on;
}

next_step train_compiler::code_line_record() {
  const std::int32_t p = reader_.read_int32();
  const std::int32_t value = reader_.read_int32();
  if (!position_fits(p)) {
    fault_at(15, p);
    return next_step::soft_stop;
  }
  // A code line goes into cell round(p / 50), with no cell added.
  const std::int64_t c = round_half_even(p, 50);
  if (!in_grid(st_.percorso, c)) {
    fault_at(k_fault_outside_grid, p);
    return next_step::hard_stop;
  }
  cella& cell = st_.percorso[static_cast<std::size_t>(c)];
  if (!is_free(cell)) {
    fault_at(7, p);
    return next_step::hard_stop;
  }
  if (value > 0) {
    cell.tipo_cella = k_code_point;
    cell.valore_a = low_16(value);
  } else {
    cell.tipo_cella = k_code_point_plain;
  }
  return next_step::go_on;
}

next_step train_compiler::station_record() {
  const station_outcome out = read_station(reader_, st_, station_number_);
  if (out.code == 0) return next_step::go_on;
  fault_at(out.code, out.position);
  return out.soft ? next_step::soft_stop : next_step::hard_stop;
}

void train_compiler::end_of_reading() {
  complete_fill(st_.percorso, speed_, write_speed);
  complete_fill(st_.percorso, adhesion_, write_adhesion);

  // The kilometric references come from the line description.
  for (int slot : {k_slot_km_tre, k_slot_km_due, k_slot_km_uno}) {
    const stazione& ref = st_.stazioni[static_cast<std::size_t>(slot)];
    if (ref.inizio % 50 != 0 || ref.fine % 50 != 0)
      record_fault(st_, {2, std::nullopt, fault_origin::line_file, 0,
                         "kilometric reference in slot " + std::to_string(slot)});
  }
}

}  // namespace

compile_end compile_train(std::string_view text, run_state& st) {
  train_compiler compiler(text, st);
  try {
    return compiler.run();
  } catch (const compile_failure& failure) {
    const int line = failure.line() != 0 ? failure.line() : compiler.line();
    record_fault(st, {25, std::nullopt, fault_origin::train_file, line, failure.what()});
    return compile_end::runtime_failure;
  }
}

}  // namespace scenario
