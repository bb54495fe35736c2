#include "service/train_compiler.h"

#include <algorithm>
#include <optional>
#include <string>

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "common/text.h"
#include "model/cell_objects.h"
#include "model/fault_codes.h"
#include "model/scenario_constants.h"
#include "service/signal.h"
#include "service/slowdown.h"
#include "service/station_reader.h"
#include "sources/field_reader.h"
#include "sources/keyword_table.h"
#include "sources/record_loop.h"
#include "sources/record_reader.h"
#include "sources/record_site.h"

namespace scenario {
namespace {

// Whether field holds a keyword of the train description.
bool train_keyword_in(std::string_view field);

constexpr train_record k_train_kinds[] = {
#define SCENARIO_TRAIN_KIND(kind, ...) train_record::kind,
    SCENARIO_TRAIN_RECORDS(SCENARIO_TRAIN_KIND, )
#undef SCENARIO_TRAIN_KIND
};

// A continuous field filled by a running index: the next cell to fill and the
// value of the last record read (0 before the first), and the cell of the
// last record, which the next must come after.
struct running_fill {
  std::int32_t next_cell = 0;
  std::int32_t carried = 0;
  std::optional<std::int64_t> previous_cell;
  const char* what;  // "speed limit" or "adhesion", for a warning
  train_record kind;
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
      : text_(text),
        reader_(text, reading_rules::train_description),
        st_(st),
        site_(reader_, st, fault_origin::train_file) {}

  compile_end run();
  // A run-time failure of the record being read, as a fault.
  fault failure(const compile_failure& f) const { return site_.failure(f); }

 private:
  next_step record();
  void warn_unknown();
  // A speed-limit or adhesion record: cells from the running index up to the
  // record's cell get the value carried so far; then the record's is carried.
  next_step fill_record(running_fill& fill, cell_writer write, bool stops_before_last);
  void warn_fill(running_fill& fill, std::int32_t p, std::int32_t value);
  next_step read_signal();
  void warn_signal(std::int32_t posizione, const signal_record& r);
  next_step read_slowdown();
  void warn_slowdown(const slowdown_record& r);
  void warn_slowdown_length(const slowdown_record& r);
  next_step code_line_record();
  void warn_code_line(std::int32_t p, std::int32_t value);
  next_step station_record();
  station_outcome read_station_blaming_length();
  // What a station read and placed says, in the order said.
  void warn_station(const station_outcome& out);
  void warn_station_time();
  void warn_station_marks(const station_outcome& out);
  // Code 22's note: the station before, and how far this one's area is from its.
  source_note spacing_note() const;
  void end_of_reading();

  // One record, then a look past its last value; in keep-going mode a fault
  // passes over the rest of the record's line and a run-time failure is
  // recorded, reading going on with the next record.
  next_step guarded_record();
  void warn_missing_records();
  // Where the text has no [generale] field, and so no record is read.
  void warn_no_generale() const;
  std::vector<const record_spec*> read_as() const;
  bool is(train_record kind) const { return field_holds(kind, field_); }
  bool keyword() const;

  std::string_view text_;
  field_reader reader_;
  run_state& st_;
  std::string field_;
  record_site site_;                                         // the record being read
  std::array<bool, std::size(k_train_kinds)> kinds_read_{};  // by train_record
  // The last station read with a time (0, 0, 0 stands for none).
  struct timed_station {
    int line = 0;  // 0: none yet
    std::int32_t orario = 0;
    std::string nome;
  } last_timed_;
  running_fill speed_{0, 0, std::nullopt, "speed limit", train_record::speed_limit};
  running_fill adhesion_{0, 0, std::nullopt, "adhesion", train_record::adhesion};
  int last_station_line_ = 0;  // the line of the last station compiled
  std::int32_t station_number_ = 1;
};

compile_end train_compiler::run() {
  if (!find_generale(reader_, field_)) {
    warn_no_generale();
    end_of_reading();
    return compile_end::finished;
  }
  // At most two fields holding "-" in a row are passed over.
  while (next_record(reader_, site_, field_, {2, true, train_keyword_in})) {
    if (is(train_record::signal) || is(train_record::slowdown) || is(train_record::code_line) ||
        is(train_record::station))
      record_begins(st_, fault_origin::train_file, site_.line);
    const next_step step = guarded_record();
    if (st_.keep_going) continue;
    if (step == next_step::hard_stop) return compile_end::hard_stop;
    if (step == next_step::soft_stop) {
      end_of_reading();
      return compile_end::finished;
    }
  }
  warn_missing_records();
  end_of_reading();
  return compile_end::finished;
}

next_step train_compiler::guarded_record() {
  const auto step = [this] {
    site_.before_values(field_, read_as());
    const next_step next = record();
    if (next == next_step::go_on) {
      site_.after_values(is(train_record::station), train_keyword_in);
    } else if (st_.keep_going) {
      // A station stops at its first fault, its other fields unread.
      reader_.skip_rest_of_line();
    }
    return next;
  };
  return guarded(st_, site_, step, [this](const compile_failure& f) { return failure(f); })
      .value_or(next_step::hard_stop);
}

std::vector<const record_spec*> train_compiler::read_as() const {
  return records_read_as(description_format::train, record_part::anywhere, field_);
}

// What the compile keeps where a record every train needs is left out.
void train_compiler::warn_missing_records() {
  struct left_out {
    train_record kind;
    const char* value;
  };
  const left_out records[] = {
      {train_record::car_count, "the train has 0 cars"},
      {train_record::braked_mass, "the braked-mass percentage is 0"},
      {train_record::sand, "the sand quantity is 0"},
      {train_record::clock, "the clock starts at 0:00:00"},
      {train_record::speed_limit, "the speed limit is 0 km/h along the whole line"},
      {train_record::adhesion, "the adhesion is 0 along the whole line"},
      {train_record::station, "the train has no stop"}};
  for (const left_out& r : records) {
    const record_spec& spec = record_of(r.kind);
    if (!kinds_read_[static_cast<std::size_t>(r.kind)])
      warn_missing_record(site_, spec, spec.keywords[0], r.value);
  }
}

// One warning at the first record the reader passed over, instead of one
// for each general record it never read.
void train_compiler::warn_no_generale() const {
  field_reader again(text_, reading_rules::train_description);
  int line = 0;
  int column = 0;
  while (!again.at_end()) {
    const std::string field = again.read_text();
    if (train_keyword_in(field)) {
      line = again.field_line();
      column = again.field_column();
      break;
    }
  }
  record_warning(st_, {fault_origin::train_file, line,
                       "the train description has no [generale] header: reading begins after "
                       "it, so none of its records is read; write [generale] on a line of its own "
                       "before the first record",
                       column, warning_group::section});
}

bool train_keyword_in(std::string_view field) {
  return holds_keyword(description_format::train, record_part::anywhere, field);
}

bool train_compiler::keyword() const {
  return train_keyword_in(field_);
}

// Every keyword the field contains acts, in this order, each reading its own
// values.
next_step train_compiler::record() {
  stazioni_t& s = st_.stazioni;
  if (is(train_record::braked_mass)) s[k_slot_train].inizio = reader_.read_int32();
  if (is(train_record::car_count)) s[k_slot_train].posizione = reader_.read_int32();
  // The speed fill also stops at the grid's last cell; the adhesion fill
  // relies on the position check alone.
  for (const record_spec* kind : site_.kinds)
    kinds_read_[static_cast<std::size_t>(kind->kind)] = true;
  if (is(train_record::speed_limit))
    if (const next_step n = fill_record(speed_, write_speed, true); n != next_step::go_on) return n;
  if (is(train_record::adhesion))
    if (const next_step n = fill_record(adhesion_, write_adhesion, false); n != next_step::go_on)
      return n;
  if (is(train_record::clock)) {
    s[k_slot_repetition].campo_4 = reader_.read_int16();
    s[k_slot_repetition].campo_5 = reader_.read_int16();
    s[k_slot_repetition].campo_6 = reader_.read_int16();
  }
  if (is(train_record::sand)) s[k_slot_repetition].campo_2 = reader_.read_int16();
  if (is(train_record::signal))
    if (const next_step n = read_signal(); n != next_step::go_on) return n;
  if (is(train_record::slowdown))
    if (const next_step n = read_slowdown(); n != next_step::go_on) return n;
  if (is(train_record::code_line))
    if (const next_step n = code_line_record(); n != next_step::go_on) return n;
  if (is(train_record::station)) return station_record();
  warn_unknown();
  return next_step::go_on;
}

// An unrecognised field that looks like a keyword: the first on its line,
// with a letter, not a section header.
void train_compiler::warn_unknown() {
  if (!keyword() && site_.begins_line && !site_.comment_warned && looks_like_keyword(field_))
    site_.warn(warning_group::unknown_keyword,
               quoted_field(field_) + " is not a keyword of the train description" +
                   lost_record_words(
                       field_, keywords_of(description_format::train, record_part::anywhere),
                       description_format::train, record_part::anywhere, reader_.rest_of_line()));
}

void train_compiler::warn_fill(running_fill& fill, std::int32_t p, std::int32_t value) {
  warn_unless_later_cell(site_, fill.previous_cell, fill.what, p);
  if (&fill == &speed_) {
    if (!fit_uint8(round_half_even(value, 5)))
      site_.warn_value(
          1, warning_group::range,
          "speed limit " + num(value) +
              " km/h does not fit the grid (0 to 1277 km/h); the compile stops with code 25 where "
              "it is written, at the next speed limit or at the end of the file");
  } else if (!fit_uint8(value)) {
    site_.warn_value(
        1, warning_group::low_bits,
        "adhesion " + num(value) + " is kept to its low 8 bits and becomes " + num(low_8(value)));
  }
  warn_beyond_end(site_, st_.percorso, record_of(fill.kind), p);
}

next_step train_compiler::fill_record(running_fill& fill, cell_writer write,
                                      bool stops_before_last) {
  const std::int32_t p = reader_.read_int32();
  const std::int32_t value = reader_.read_int32();
  warn_fill(fill, p, value);
  if (stops_near_end(site_, st_.percorso, p)) return next_step::soft_stop;
  const std::int64_t k = round_half_even(p, k_cell_metres);
  const std::int32_t last = last_cell(st_.percorso);
  if (k > 0) {
    try {
      // A record whose cell is not beyond the running index still fills one cell.
      do {
        write(cell_at(st_.percorso, fill.next_cell, p), fill.carried);
        ++fill.next_cell;
      } while (fill.next_cell < k && (!stops_before_last || fill.next_cell < last));
    } catch (const compile_failure&) {
      // A check goes on as if the cells were filled, so that one value that
      // does not fit fails one record, not every later one.
      if (st_.keep_going) {
        fill.next_cell = static_cast<std::int32_t>(std::max<std::int64_t>(
            fill.next_cell, stops_before_last ? std::min<std::int64_t>(k, last) : k));
        fill.carried = value;
      }
      throw;
    }
  }
  fill.carried = value;
  return next_step::go_on;
}

next_step train_compiler::read_signal() {
  const std::int32_t posizione = reader_.read_int32();
  signal_record r{.posizione = posizione};
  for (std::int32_t* v :
       {&r.sx, &r.s1, &r.s2, &r.s3, &r.rapp, &r.dx, &r.d1, &r.d2, &r.d3, &r.tempo})
    *v = reader_.read_int32();
  warn_signal(posizione, r);
  if (stops_near_end(site_, st_.percorso, posizione)) return next_step::soft_stop;
  // Only a fault of this signal stops the compile, not one left pending by
  // the line compiler's soft stop.
  if (const std::int32_t code = memo_segnale(st_.percorso, r); code != 0) {
    site_.fault_at(code, posizione, std::nullopt, point_cell(posizione));
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
      site_.warn_value(std::size_t{2} + static_cast<std::size_t>(i), warning_group::low_bits,
                       at + "aspect value " + num(aspects[i]) + " (s" + num(i + 1) + " x 10 + d" +
                           num(i + 1) + ") is kept to its low 16 bits and becomes " +
                           num(low_16(aspects[i])));
  const std::int64_t code = std::int64_t{r.sx} * 3 + r.dx;
  const std::int64_t type_value = std::int64_t{r.rapp} * 10 + code;
  if (!fit_int16(type_value))
    site_.warn_value(5, warning_group::low_bits,
                     at + "type value " + num(type_value) +
                         " (rapp x 10 + sx x 3 + dx) is kept to its low 16 bits and becomes " +
                         num(low_16(type_value)));
  if (!fit_uint8(code * 10 + 1) || !fit_uint8(code * 10 + 4))
    site_.warn_value(1, warning_group::low_bits,
                     at + "approach marks " + num(code * 10 + 1) + " to " + num(code * 10 + 4) +
                         " ((sx x 3 + dx) x 10 + 1 to 4) are kept to their low 8 bits");
  // Only a signal of kind 2 keeps a clearing delay.
  if (r.sx == 2 && r.tempo >= 1 && r.tempo <= 100)
    site_.warn_value(10, warning_group::range,
                     at + "clearing delay " + num(r.tempo) + " is raised to 101");
  else if (r.sx == 2 && !fit_uint8(r.tempo))
    site_.warn_value(10, warning_group::low_bits,
                     at + "clearing delay " + num(r.tempo) +
                         " is kept to its low 8 bits and becomes " + num(low_8(r.tempo)));
  warn_beyond_end(site_, st_.percorso, record_of(train_record::signal), posizione);
}

next_step train_compiler::read_slowdown() {
  slowdown_record r;
  for (std::int32_t* v : {&r.x, &r.v, &r.l, &r.f_tt, &r.f_ta, &r.d_v}) *v = reader_.read_int32();
  warn_slowdown(r);
  if (stops_near_end(site_, st_.percorso, r.x)) return next_step::soft_stop;
  std::int64_t taken = -1;
  if (const std::int32_t code = memo_rallentamento(st_.percorso, r, &taken); code != 0) {
    std::optional<std::int64_t> taken_cell;
    if (code != k_fault_outside_grid && taken >= 0) taken_cell = taken;
    site_.fault_at(code, r.x, std::nullopt, taken_cell);
    return next_step::hard_stop;
  }
  return next_step::go_on;
}

void train_compiler::warn_slowdown(const slowdown_record& r) {
  const std::string at = "slowdown at " + num(r.x) + " m: ";
  struct stored_value {
    const char* name;
    std::int32_t value;
    std::size_t index;  // among the record's values
  };
  const stored_value stored[] = {{"speed", r.v, 1}, {"f_tt", r.f_tt, 3}, {"d_v", r.d_v, 5}};
  for (const auto& [name, value, index] : stored)
    if (!fit_int16(value))
      site_.warn_value(index, warning_group::low_bits,
                       at + name + " " + num(value) + " is kept to its low 16 bits and becomes " +
                           num(low_16(value)));
  warn_slowdown_length(r);
  warn_beyond_end(site_, st_.percorso, record_of(train_record::slowdown), r.x);
}

// A slowdown of negative length is marked backwards: its end cell before
// its start cell, the train slowed from the end onwards.
void train_compiler::warn_slowdown_length(const slowdown_record& r) {
  if (r.l >= 0) return;
  const std::optional<std::int32_t> end = add_32(r.x, r.l);
  if (!end) return;
  site_.warn_value(2, warning_group::range,
                   "slowdown at " + num(r.x) + " m: its length " + num(r.l) +
                       " m is negative, so it runs backwards: its end mark goes into cell " +
                       num(point_cell(*end)) + " (" + num(*end) + " m), before its start mark in " +
                       "cell " + num(point_cell(r.x)) + "; write the length as a positive number");
}

next_step train_compiler::code_line_record() {
  const std::int32_t p = reader_.read_int32();
  const std::int32_t value = reader_.read_int32();
  warn_code_line(p, value);
  if (stops_near_end(site_, st_.percorso, p)) return next_step::soft_stop;
  cella* const cell =
      free_cell_or_fault(site_, st_.percorso, code_line_cell(p), p, k_fault_code_line_taken);
  if (cell == nullptr) return next_step::hard_stop;
  write_code_line(*cell, value);
  return next_step::go_on;
}

void train_compiler::warn_code_line(std::int32_t p, std::int32_t value) {
  if (value > INT16_MAX)
    site_.warn_value(1, warning_group::low_bits,
                     "code line at " + num(p) + " m: code " + num(value) +
                         " is kept to its low 16 bits and becomes " + num(low_16(value)));
  warn_beyond_end(site_, st_.percorso, record_of(train_record::code_line), p);
}

// A mark outside the grid comes of an area too long for the grid: the
// failure points at the station's length.
station_outcome train_compiler::read_station_blaming_length() {
  try {
    return read_station(reader_, st_, station_number_);
  } catch (const compile_failure& f) {
    if (f.position()) site_.blame_value(2);
    throw;
  }
}

next_step train_compiler::station_record() {
  // After code 10 there is no slot left to check a station in.
  if (st_.keep_going && station_number_ >= st_.indice_cartelli) return next_step::hard_stop;
  const station_outcome out = read_station_blaming_length();
  if (out.code == 0 || out.code == k_fault_too_many_stations) {
    warn_station(out);
    last_station_line_ = site_.line;
  }
  if (out.code == 0) return next_step::go_on;
  if (out.code == k_fault_station_spacing) {
    site_.fault_at(out.code, out.position, spacing_note());
    return next_step::hard_stop;
  }
  // A station's length is its third value.
  if (out.code == k_fault_station_length)
    site_.fault_at_value(out.code, 2, out.position);
  else
    site_.fault_at(out.code, out.position);
  return out.soft ? next_step::soft_stop : next_step::hard_stop;
}

// The name's problems are said at the name's field.
void train_compiler::warn_station(const station_outcome& out) {
  const stazione& rec = st_.stazioni[static_cast<std::size_t>(station_number_ - 1)];
  for (warning_words& w : text_problems("station name", rec.nome))
    site_.warn_at(reader_.field_line(), reader_.field_column(), w.group, std::move(w.what));
  warn_station_time();
  warn_station_marks(out);
  site_.warn_beyond_end(record_of(train_record::station), rec.posizione, 0);
}

std::string clock_time(std::int32_t seconds) {
  const auto two = [](std::int32_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
  if (seconds < 0) return std::to_string(seconds) + " s";
  return std::to_string(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" + two(seconds % 60);
}

// Station times go forward along the line; 0, 0, 0 stands for no time.
source_note train_compiler::spacing_note() const {
  const auto slot = static_cast<std::size_t>(station_number_);
  const stazione& before = st_.stazioni[slot - 1];
  const stazione& rec = st_.stazioni[slot];
  const std::int64_t gap = std::int64_t{rec.inizio} - before.fine;
  return {fault_origin::train_file, last_station_line_, 0,
          "the station before it, " + quoted_field(before.nome) + ", is here: its area ends at " +
              num(before.fine) + " m and this station's starts at " + num(rec.inizio) + " m, " +
              (gap >= 0 ? num(gap) + " m after it" : num(-gap) + " m before that") + "; at least " +
              num(k_station_spacing) + " m must lie between them"};
}

void train_compiler::warn_station_time() {
  const stazione& rec = st_.stazioni[static_cast<std::size_t>(station_number_ - 1)];
  if (rec.orario == 0) return;
  if (last_timed_.line != 0 && rec.orario < last_timed_.orario)
    site_.warn_value(13, warning_group::order,
                     "station " + quoted_field(rec.nome) + " at " + num(rec.posizione) +
                         " m: its time " + clock_time(rec.orario) + " is earlier than " +
                         clock_time(last_timed_.orario) + " at " + quoted_field(last_timed_.nome) +
                         " (line " + num(last_timed_.line) +
                         ") before it; times must not go backwards along the line");
  last_timed_ = {site_.line, rec.orario, rec.nome};
}

// A station of negative length has its area backwards, and its stop cell
// before its position; a stop cell replaces whatever the cell held, a text
// board too.
void train_compiler::warn_station_marks(const station_outcome& out) {
  const stazione& rec = st_.stazioni[static_cast<std::size_t>(station_number_ - 1)];
  const std::int64_t stop = rec.fine / k_cell_metres - 1;
  const bool marked = out.stop_cell_before.has_value();
  if (out.length < 0)
    site_.warn_value(2, warning_group::range,
                     "station " + quoted_field(rec.nome) + " at " + num(rec.posizione) +
                         " m: its length " + num(out.length) +
                         " m is negative, so its area runs backwards, from " + num(rec.inizio) +
                         " m to " + num(rec.fine) + " m" +
                         (marked ? ", and its stop mark goes into cell " + num(stop) : "") +
                         "; write the length as a positive number");
  if (!marked || out.stop_cell_before->tipo_cella != k_text_board) return;
  const auto slot = static_cast<std::size_t>(out.stop_cell_before->valore_a);
  std::vector<source_note> notes;
  if (slot < st_.board_lines.size() && st_.board_lines[slot] != 0)
    notes.push_back(
        {fault_origin::line_file, st_.board_lines[slot], 0, "the text board erased is here"});
  const std::string text =
      slot < st_.stazioni.size() ? " " + quoted_field(st_.stazioni[slot].nome) : std::string();
  site_.warn_value(0, warning_group::overlap,
                   "station " + quoted_field(rec.nome) + " at " + num(rec.posizione) +
                       " m: its stop mark in cell " + num(stop) + " replaces the text board" +
                       text + " there: the board is gone from the grid",
                   std::move(notes));
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
  return compile_with<train_compiler>(text, st);
}

}  // namespace scenario
