#include "service/train_compiler.h"

#include <optional>
#include <string>

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "common/text.h"
#include "model/fault_codes.h"
#include "model/scenario_constants.h"
#include "service/signal.h"
#include "service/slowdown.h"
#include "service/station_reader.h"
#include "sources/field_reader.h"
#include "sources/record_reader.h"

namespace scenario {
namespace {

enum class next_step { go_on, soft_stop, hard_stop };

std::string num(std::int64_t v) {
  return std::to_string(v);
}

// A continuous field filled by a running index: the next cell to fill and the
// value of the last record read (0 before the first), and the cell of the
// last record, which the next must come after.
struct running_fill {
  std::int32_t next_cell = 0;
  std::int32_t carried = 0;
  std::optional<std::int64_t> previous_cell;
  const char* what;  // "speed limit" or "adhesion", for a warning
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
// written. Only records sharing the last cells can have pushed the index past
// the grid; that write fails the compile.
void complete_fill(percorso_t& grid, running_fill& fill, cell_writer write) {
  const std::int32_t stop = last_cell(grid) - 2;
  do {
    write(cell_at(grid, fill.next_cell), fill.carried);
    ++fill.next_cell;
  } while (fill.next_cell < stop);
}

class train_compiler {
 public:
  train_compiler(std::string_view text, run_state& st)
      : reader_(text, reading_rules::train_description), st_(st) {}

  compile_end run();
  int line() const { return reader_.field_line(); }

 private:
  next_step record();
  // A speed-limit or adhesion record: cells from the running index up to the
  // record's cell get the value carried so far; then the record's is carried.
  next_step fill_record(running_fill& fill, cell_writer write, bool stops_before_last);
  void warn_fill_value(const running_fill& fill, std::int32_t value);
  void warn_signal(std::int32_t posizione, const signal_record& r);
  void warn_slowdown(const slowdown_record& r);
  next_step read_signal();
  next_step read_slowdown();
  next_step code_line_record();
  next_step station_record();
  void end_of_reading();

  // Signal, slowdown, code-line, speed and adhesion records: (p + 100) / 50 <= N.
  bool position_fits(std::int32_t p) const {
    return std::int64_t{p} + 100 <= k_cell_metres * std::int64_t{last_cell(st_.percorso)};
  }
  void fault_at(std::int32_t code, std::optional<std::int32_t> position = std::nullopt) {
    record_fault(st_, {code, position, fault_origin::train_file, record_line_, {}});
  }
  void warn(std::string what) {
    record_warning(st_, {fault_origin::train_file, record_line_, std::move(what)});
  }
  bool has(std::string_view word) const { return contains_ignoring_case(field_, word); }
  bool keyword() const;

  field_reader reader_;
  run_state& st_;
  std::string field_;
  int record_line_ = 0;
  bool keyword_begins_line_ = false;  // the current field is the first of its line
  running_fill speed_{0, 0, std::nullopt, "speed limit"};
  running_fill adhesion_{0, 0, std::nullopt, "adhesion"};
  std::int32_t station_number_ = 1;
};

compile_end train_compiler::run() {
  if (find_generale(reader_, field_)) {
    for (;;) {
      // At most two fields holding "-" in a row are passed over.
      const keyword_read next = next_keyword(reader_, field_, 2);
      if (next == keyword_read::end) break;
      if (next == keyword_read::last_field) {
        if (keyword())
          record_warning(st_, {fault_origin::train_file, reader_.field_line(),
                               quoted_field(field_) +
                                   " is the file's last field and is never read; end the file "
                                   "with a line that is not a record, such as [fine]"});
        break;
      }
      record_line_ = reader_.field_line();
      keyword_begins_line_ = reader_.field_begins_line();
      if (has("segnale") || has("rallentamento") || has("abbattimento") || has("stazione"))
        record_begins(st_, fault_origin::train_file, record_line_);
      const next_step step = record();
      if (step == next_step::hard_stop) return compile_end::hard_stop;
      if (step == next_step::soft_stop) break;
    }
  }
  end_of_reading();
  return compile_end::finished;
}

bool train_compiler::keyword() const {
  return (has("frenata") && has("massa")) || has("vetture") || has("velocit") || has("aderenza") ||
         has("orologio") || has("sabbia") || has("segnale") || has("rallentamento") ||
         has("abbattimento") || has("stazione");
}

// Every keyword the field contains acts, in this order, each reading its own
// values.
next_step train_compiler::record() {
  stazioni_t& s = st_.stazioni;
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
  if (!keyword() && keyword_begins_line_ && looks_like_keyword(field_))
    warn(quoted_field(field_) + " is not a keyword of the train description; the field is ignored");
  return next_step::go_on;
}

void train_compiler::warn_fill_value(const running_fill& fill, std::int32_t value) {
  if (&fill == &speed_) {
    if (!fit_uint8(round_half_even(value, 5)))
      warn("speed limit " + num(value) +
           " km/h does not fit the grid (0 to 1277 km/h); the compile stops with code 25 where "
           "it is written, at the next speed limit or at the end of the file");
  } else if (!fit_uint8(value)) {
    warn("adhesion " + num(value) + " is kept to its low 8 bits and becomes " + num(low_8(value)));
  }
}

next_step train_compiler::fill_record(running_fill& fill, cell_writer write,
                                      bool stops_before_last) {
  const std::int32_t p = reader_.read_int32();
  const std::int32_t value = reader_.read_int32();
  const std::int64_t k = round_half_even(p, k_cell_metres);
  if (fill.previous_cell && k <= *fill.previous_cell)
    warn(std::string(fill.what) + " at " + num(p) + " m is not in a later 50 m cell than the " +
         fill.what +
         " before it; these records must stand in increasing order of position, at most one per "
         "cell, or the cells around them get the wrong value");
  fill.previous_cell = k;
  warn_fill_value(fill, value);
  if (!position_fits(p)) {
    fault_at(k_fault_near_end, p);
    return next_step::soft_stop;
  }
  const std::int32_t last = last_cell(st_.percorso);
  if (k > 0) {
    // A record whose cell is not beyond the running index still fills one cell.
    do {
      write(cell_at(st_.percorso, fill.next_cell, p), fill.carried);
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
  warn_signal(posizione, r);
  if (!position_fits(posizione)) {
    fault_at(k_fault_near_end, posizione);
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
  warn_slowdown(r);
  if (!position_fits(r.x)) {
    fault_at(k_fault_near_end, r.x);
    return next_step::soft_stop;
  }
  if (const std::int32_t code = memo_rallentamento(st_.percorso, r); code != 0) {
    fault_at(code, r.x);
    return next_step::hard_stop;
  }
  return next_step::go_on;
}

void train_compiler::warn_signal(std::int32_t posizione, const signal_record& r) {
  const std::string at = "signal at " + num(posizione) + " m: ";
  const std::int64_t aspects[] = {std::int64_t{r.s1} * 10 + r.d1, std::int64_t{r.s2} * 10 + r.d2,
                                  std::int64_t{r.s3} * 10 + r.d3};
  for (int i = 0; i < 3; ++i)
    if (!fit_int16(aspects[i]))
      warn(at + "aspect value " + num(aspects[i]) + " (s" + num(i + 1) + " x 10 + d" + num(i + 1) +
           ") is kept to its low 16 bits and becomes " + num(low_16(aspects[i])));
  const std::int64_t code = std::int64_t{r.sx} * 3 + r.dx;
  const std::int64_t type_value = std::int64_t{r.rapp} * 10 + code;
  if (!fit_int16(type_value))
    warn(at + "type value " + num(type_value) +
         " (rapp x 10 + sx x 3 + dx) is kept to its low 16 bits and becomes " +
         num(low_16(type_value)));
  if (!fit_uint8(code * 10 + 1) || !fit_uint8(code * 10 + 4))
    warn(at + "approach marks " + num(code * 10 + 1) + " to " + num(code * 10 + 4) +
         " ((sx x 3 + dx) x 10 + 1 to 4) are kept to their low 8 bits");
  if (r.sx != 2) return;
  if (r.tempo >= 1 && r.tempo <= 100)
    warn(at + "clearing delay " + num(r.tempo) + " is raised to 101");
  else if (!fit_uint8(r.tempo))
    warn(at + "clearing delay " + num(r.tempo) + " is kept to its low 8 bits and becomes " +
         num(low_8(r.tempo)));
}

void train_compiler::warn_slowdown(const slowdown_record& r) {
  const std::string at = "slowdown at " + num(r.x) + " m: ";
  const std::pair<const char*, std::int32_t> stored[] = {
      {"speed", r.v}, {"f_tt", r.f_tt}, {"d_v", r.d_v}};
  for (const auto& [name, value] : stored)
    if (!fit_int16(value))
      warn(at + name + " " + num(value) + " is kept to its low 16 bits and becomes " +
           num(low_16(value)));
}

next_step train_compiler::code_line_record() {
  const std::int32_t p = reader_.read_int32();
  const std::int32_t value = reader_.read_int32();
  if (value > INT16_MAX)
    warn("code line at " + num(p) + " m: code " + num(value) +
         " is kept to its low 16 bits and becomes " + num(low_16(value)));
  if (!position_fits(p)) {
    fault_at(k_fault_near_end, p);
    return next_step::soft_stop;
  }
  // A code line goes into cell round(p / 50), with no cell added.
  cella& cell = cell_at(st_.percorso, round_half_even(p, k_cell_metres), p);
  if (!is_free(cell)) {
    fault_at(k_fault_code_line_taken, p);
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
    if (ref.inizio % k_cell_metres != 0 || ref.fine % k_cell_metres != 0)
      record_fault(st_, {k_fault_reference_step, std::nullopt, fault_origin::line_file,
                         st_.misplaced_reference_line,
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
    record_fault(
        st, {k_fault_runtime, failure.position(), fault_origin::train_file, line, failure.what()});
    return compile_end::runtime_failure;
  }
}

}  // namespace scenario
