#include "route/line_compiler.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "common/text.h"
#include "model/fault_codes.h"
#include "model/scenario_constants.h"
#include "route/gradient.h"
#include "route/plan.h"
#include "route/progressive.h"
#include "route/scenery.h"
#include "sources/field_reader.h"
#include "sources/keyword_table.h"
#include "sources/record_loop.h"
#include "sources/record_reader.h"
#include "sources/record_site.h"

namespace scenario {
namespace {

constexpr line_record k_line_kinds[] = {
#define SCENARIO_LINE_KIND(kind, ...) line_record::kind,
    SCENARIO_LINE_RECORDS(SCENARIO_LINE_KIND, )
#undef SCENARIO_LINE_KIND
};

// The last kilometric reference record of one name, as read.
struct reference_read {
  int line = 0;  // 0: none read
  std::int32_t p = 0;
  std::int32_t k = 0;
};

class line_compiler {
 public:
  line_compiler(std::string_view text, run_state& st)
      : reader_(text, reading_rules::line_description),
        st_(st),
        site_(reader_, st, fault_origin::line_file) {}

  compile_end run();
  // A run-time failure of the record being read, as a fault.
  fault failure(const compile_failure& f) const {
    fault out = site_.failure(f);
    out.position = std::nullopt;
    return out;
  }

 private:
  std::optional<compile_end> general_section();
  bool general_record();
  bool route_length_record();
  bool reference_records();
  bool background_records();
  bool repetition_record();
  // What a field of the general section that was not read, or not read in
  // full, probably meant; read: whether any kind was read from it.
  void general_warnings(bool read);
  // A second route-length record: the grid is made anew from it.
  void warn_route_length_again(std::int32_t length);
  void warn_missing_records();
  std::optional<compile_end> between_sections();
  next_step body();
  next_step body_record();
  void warn_double_keyword();
  void warn_unread_body_field();
  next_step gradient_record();
  void warn_gradient(std::int32_t p);
  next_step curve_record();
  void warn_curve(std::int32_t s, std::int32_t l);
  next_step scenery_record();
  void warn_scenery(std::int32_t inizio, std::int32_t fine, std::int32_t tipo);
  // A scenery section whose last cell comes before its first marks nothing.
  void warn_empty_scenery(std::int32_t inizio, std::int32_t fine);
  next_step speed_board_record();
  void warn_speed_board(std::int32_t posizione, const speed_board& b);
  next_step text_board_record();
  void warn_text_board(std::int32_t p, const std::string& text);
  void finish();

  bool is(line_record kind) const { return field_holds(kind, field_); }
  bool general_keyword() const;
  bool body_keyword() const;
  // The kinds the current field is read as.
  std::vector<const record_spec*> general_read_as() const;
  std::vector<const record_spec*> body_read_as() const;
  void warn_unknown(std::string_view where, record_part part);
  // One record's step and the look past its last value, guarded.
  template <typename F>
  auto guarded_record(F step, bool last_was_text, bool (*begins_record)(std::string_view field))
      -> std::optional<decltype(step())>;

  field_reader reader_;
  run_state& st_;
  std::string field_;                           // the current field
  record_site site_;                            // the record being read
  std::array<reference_read, 3> references_{};  // tre, due, uno
  gradient_fill gradient_;
  std::optional<std::int64_t> previous_gradient_cell_;
  int last_gradient_line_ = 0;  // the line of the last gradient record applied
  scenery_sections sections_;
  std::int32_t next_metre_ = 2;  // next metre of the plan
  int curves_ = 0;
  // The general kinds read, by line_record.
  std::array<bool, std::size(k_line_kinds)> kinds_read_{};
};

// The grid for a route of extent metres, and its plan when one is written.
void make_grid(run_state& st, std::int32_t extent) {
  st.percorso.assign(static_cast<std::size_t>(round_half_even(extent, k_cell_metres)) + 1, cella{});
  if (st.scrivi_linea != 0) st.profilo = plan_runs(extent);
}

compile_end line_compiler::run() {
  if (!find_generale(reader_, field_)) {
    site_.line = reader_.field_line();
    site_.column = reader_.field_column();
    site_.fault_at_keyword(k_fault_no_generale);
    return compile_end::hard_stop;
  }
  if (auto end = general_section()) return *end;
  warn_missing_records();
  if (auto end = between_sections()) return *end;
  // A soft stop ends the body as the end of the file does.
  if (body() == next_step::hard_stop) return compile_end::hard_stop;
  finish();
  return compile_end::finished;
}

// A general keyword in any letter case: what its author probably meant.
bool general_keyword_in(std::string_view field) {
  return holds_keyword(description_format::line, record_part::general, field, true);
}

bool body_keyword_in(std::string_view field) {
  return holds_keyword(description_format::line, record_part::body, field);
}

bool line_keyword_in(std::string_view field) {
  return general_keyword_in(field) || body_keyword_in(field);
}

bool line_compiler::general_keyword() const {
  return general_keyword_in(field_);
}

std::vector<const record_spec*> line_compiler::general_read_as() const {
  return records_read_as(description_format::line, record_part::general, field_);
}

std::vector<const record_spec*> line_compiler::body_read_as() const {
  std::vector<const record_spec*> kinds =
      records_read_as(description_format::line, record_part::body, field_);
  // Curves are read only when the plan is written.
  if (st_.scrivi_linea == 0) std::erase(kinds, &record_of(line_record::curve));
  return kinds;
}

bool line_compiler::body_keyword() const {
  return body_keyword_in(field_);
}

// An unrecognised field that looks like a keyword: the first on its line,
// with a letter, not a section header.
void line_compiler::warn_unknown(std::string_view where, record_part part) {
  if (site_.begins_line && !site_.comment_warned && looks_like_keyword(field_))
    site_.warn(warning_group::unknown_keyword,
               quoted_field(field_) + " is not a keyword of the " + std::string(where) +
                   lost_record_words(field_, keywords_of(description_format::line, part),
                                     description_format::line, part, reader_.rest_of_line()));
}

template <typename F>
auto line_compiler::guarded_record(F step, bool last_was_text,
                                   bool (*begins_record)(std::string_view field))
    -> std::optional<decltype(step())> {
  return guarded(
      st_, site_,
      [&] {
        auto result = step();
        site_.after_values(last_was_text, begins_record);
        return result;
      },
      [this](const compile_failure& f) { return failure(f); });
}

std::optional<compile_end> line_compiler::general_section() {
  // Up to ten fields holding "-" in a row are passed over, with no check for
  // the end between them.
  const keyword_search search{10, /*check_end_between=*/false, line_keyword_in};
  while (next_record(reader_, site_, field_, search)) {
    const std::optional<bool> went_on =
        guarded_record([this] { return general_record(); }, false, general_keyword_in);
    if (went_on == false && !st_.keep_going) return compile_end::hard_stop;
    if (is_section_header(field_)) {
      const auto first = field_.find_first_not_of(' ');
      if (first == std::string::npos || field_[first] != '-') return std::nullopt;
    }
  }
  return std::nullopt;
}

// Applies every test of the general section, in order, to the current field.
// Returns false after a fault that stops the compile.
bool line_compiler::general_record() {
  site_.before_values(field_, general_read_as());
  for (const record_spec* kind : site_.kinds)
    kinds_read_[static_cast<std::size_t>(kind->kind)] = true;
  const bool length_read = is(line_record::route_length);
  if (length_read && !route_length_record()) return false;
  // The kilometric references, backgrounds and repetition keep the letter
  // case of their words: the format has always matched them exactly.
  const bool reference_read = reference_records();
  const bool background_read = background_records();
  if (is(line_record::signal_repetition)) return repetition_record();
  general_warnings(length_read || reference_read || background_read);
  return true;
}

// Returns false after a length out of range, whose fault stops the compile.
bool line_compiler::route_length_record() {
  const std::int32_t length = reader_.read_int32();
  warn_route_length_again(length);
  st_.stazioni[k_slot_train].fine = length;
  st_.route_length_line = site_.line;
  if (length > k_max_route_length || length < 0) {
    general_warnings(true);
    site_.fault_at_first_value(k_fault_route_length, std::nullopt);
    return false;
  }
  make_grid(st_, length + k_route_margin);
  return true;
}

void line_compiler::warn_route_length_again(std::int32_t length) {
  if (st_.route_length_line == 0) return;
  const std::int32_t before = st_.stazioni[k_slot_train].fine;
  site_.warn_value(0, warning_group::overlap,
                   "a second route length: " + num(length) + " m replaces the " + num(before) +
                       " m set before, and the grid is made anew from it; write one route "
                       "length",
                   {{fault_origin::line_file, st_.route_length_line, 0,
                     "the route length " + num(before) + " m set here no longer stands"}});
}

// Whether the field was read as a kilometric reference.
bool line_compiler::reference_records() {
  bool read = false;
  auto read_reference = [&](int name, stazione& slot) {
    slot.inizio = reader_.read_int32();
    slot.fine = reader_.read_int32();
    slot.posizione = reader_.read_int32();
    references_[static_cast<std::size_t>(name)] = {site_.line, slot.inizio, slot.fine};
    read = true;
  };
  stazioni_t& s = st_.stazioni;
  if (is(line_record::km_reference_tre)) read_reference(0, s[k_slot_km_tre]);
  if (is(line_record::km_reference_due)) read_reference(1, s[k_slot_km_due]);
  if (is(line_record::km_reference_uno)) read_reference(2, s[k_slot_km_uno]);
  return read;
}

// Whether the field was read as a background setting.
bool line_compiler::background_records() {
  bool read = false;
  auto read_background = [&](std::int32_t& slot) {
    slot = reader_.read_int32();
    read = true;
  };
  stazione& line = st_.stazioni[k_slot_line];
  if (is(line_record::background_uno)) read_background(line.inizio);
  if (is(line_record::background_due)) read_background(line.posizione);
  if (is(line_record::background_tre)) read_background(line.fine);
  return read;
}

// Returns false after a fault, which stops the compile.
bool line_compiler::repetition_record() {
  stazione& rep = st_.stazioni[k_slot_repetition];
  const std::int32_t from = reader_.read_int32();
  const std::int32_t to = reader_.read_int32();
  general_warnings(true);
  rep.inizio = from;
  rep.fine = to;
  if (from % k_cell_metres != 0) {
    site_.fault_at_value(k_fault_repetition_start, 0);
    return false;
  }
  if (to % k_cell_metres != 0) {
    site_.fault_at_value(k_fault_repetition_end, 1);
    return false;
  }
  if (contains(field_, "4")) {
    rep.posizione = 4;
  } else if (contains(field_, "9")) {
    rep.posizione = 9;
  } else {
    site_.fault_at_keyword(k_fault_repetition_codes);
    return false;
  }
  if (to == 0) rep.posizione = 0;
  return true;
}

void line_compiler::general_warnings(bool read) {
  const char* const exact_case =
      " is not read: its words are matched with their letter case; write them in lower case";
  // A kind matched with its letter case that the field holds only in other
  // letters, when no kind read as the same words was read.
  const std::span<const record_spec> table = keyword_table(description_format::line);
  auto same_words_read = [&](const record_spec& r) {
    return std::ranges::any_of(table, [&](const record_spec& q) {
      return q.read_as == r.read_as && field_holds(q, field_);
    });
  };
  const bool miscased = std::ranges::any_of(table, [&](const record_spec& r) {
    return r.match == letter_case::exact && field_holds(r, field_, true) && !same_words_read(r);
  });
  if (miscased)
    site_.warn(warning_group::letter_case, quoted_field(field_) + exact_case);
  else if (!read && body_keyword())
    site_.warn(warning_group::section,
               quoted_field(field_) +
                   " stands inside [generale], where it is not read; body records belong after "
                   "the section");
  else if (!read && !general_keyword())
    warn_unknown("[generale] section", record_part::general);
}

// What the compile keeps where a general record is left out.
void line_compiler::warn_missing_records() {
  auto read = [this](line_record kind) { return kinds_read_[static_cast<std::size_t>(kind)]; };
  auto warn = [this](line_record kind, std::string_view keywords, std::string_view value) {
    warn_missing_record(site_, record_of(kind), keywords, value);
  };
  // The three references are each optional; with none at all every
  // kilometre the simulator shows counts from 0 at the route's start.
  if (!read(line_record::km_reference_uno) && !read(line_record::km_reference_due) &&
      !read(line_record::km_reference_tre))
    warn(line_record::km_reference_uno,
         std::string(record_of(line_record::km_reference_uno).keywords[0]) + ", due or tre",
         "the three references stored are all 0");
  for (const line_record kind :
       {line_record::background_uno, line_record::background_due, line_record::background_tre})
    if (!read(kind))
      warn(kind, record_of(kind).keywords[0], "the setting passed to the simulator is 0");
  if (!read(line_record::signal_repetition))
    warn(line_record::signal_repetition, record_of(line_record::signal_repetition).keywords[0],
         "the signals are not repeated (from 0 m to 0 m, no codes)");
}

std::optional<compile_end> line_compiler::between_sections() {
  // Code 2 is found only after the train description is read; it blames the
  // first reference that caused it.
  for (const reference_read& r : references_)
    if (r.line != 0 && (r.p % k_cell_metres != 0 || r.k % k_cell_metres != 0) &&
        (st_.misplaced_reference_line == 0 || r.line < st_.misplaced_reference_line))
      st_.misplaced_reference_line = r.line;
  try {
    progressive_ordina(st_.stazioni);
  } catch (const compile_failure& f) {
    // Only raising a flagged reference's kilometric value by 100 can fail:
    // blame that reference's record, not the line that ended the section.
    int line = 0;
    for (const reference_read& r : references_)
      if (r.line != 0 && r.k > std::numeric_limits<std::int32_t>::max() - 100 &&
          (line == 0 || r.line < line))
        line = r.line;
    throw compile_failure(f.what(), line, f.position());
  }
  st_.indice_cartelli = k_first_board_slot;
  if (st_.percorso.empty()) {
    // Nothing can be placed without a grid.
    site_.clear();
    if (st_.route_length_line == 0) site_.fault_at_keyword(k_fault_no_route_length);
    if (!st_.keep_going) return compile_end::hard_stop;
    make_stand_in_grid(st_);
  }
  if (st_.profilo.exists()) st_.profilo.seed();
  return std::nullopt;
}

next_step line_compiler::body() {
  // At most two fields holding "-" in a row are passed over.
  while (next_record(reader_, site_, field_, {2, true, body_keyword_in})) {
    if (is(line_record::scenery) || is(line_record::speed_board) || is(line_record::text_board))
      record_begins(st_, fault_origin::line_file, site_.line);
    const std::optional<next_step> next_record = guarded_record(
        [this] { return body_record(); }, is(line_record::text_board), body_keyword_in);
    if (next_record && *next_record != next_step::go_on && !st_.keep_going) return *next_record;
  }
  return next_step::go_on;
}

// Applies every test of the body, in order, to the current field.
next_step line_compiler::body_record() {
  site_.before_values(field_, body_read_as());
  warn_double_keyword();
  using step_fn = next_step (line_compiler::*)();
  const step_fn steps[] = {&line_compiler::gradient_record, &line_compiler::curve_record,
                           &line_compiler::scenery_record, &line_compiler::speed_board_record,
                           &line_compiler::text_board_record};
  for (step_fn step : steps)
    if (const next_step next = (this->*step)(); next != next_step::go_on) return next;
  warn_unread_body_field();
  return next_step::go_on;
}

// Said before any value is read: the speed board's reading usually fails
// on the board's text, with code 25.
void line_compiler::warn_double_keyword() {
  if (is(line_record::speed_board) && is(line_record::text_board))
    site_.warn(warning_group::double_keyword,
               quoted_field(field_) + " is read both as a speed board and as a text board");
}

// A field of the body that holds no body keyword.
void line_compiler::warn_unread_body_field() {
  if (body_keyword()) return;
  if (general_keyword())
    site_.warn(warning_group::section,
               quoted_field(field_) + " stands after [generale], where it is not read");
  else
    warn_unknown("line description", record_part::body);
}

next_step line_compiler::gradient_record() {
  if (!is(line_record::gradient)) return next_step::go_on;
  const std::int32_t p = reader_.read_int32();
  const std::int32_t v = reader_.read_int32();
  warn_gradient(p);
  if (stops_near_end(site_, st_.percorso, p)) return next_step::soft_stop;
  if (v < k_min_gradient || v > k_max_gradient) {
    site_.fault_at_value(k_fault_gradient_range, 1, p);
    return next_step::hard_stop;
  }
  gradient_step(st_.percorso, gradient_, p, v);
  last_gradient_line_ = site_.line;
  return next_step::go_on;
}

void line_compiler::warn_gradient(std::int32_t p) {
  warn_unless_later_cell(site_, previous_gradient_cell_, "gradient", p);
  warn_beyond_end(site_, st_.percorso, record_of(line_record::gradient), p);
}

next_step line_compiler::curve_record() {
  if (!is(line_record::curve) || st_.scrivi_linea == 0) return next_step::go_on;
  const std::int32_t s = reader_.read_int32();
  const std::int32_t l = reader_.read_int32();
  warn_curve(s, l);
  if (stops_near_end(site_, st_.percorso, s)) return next_step::soft_stop;
  const std::optional<double> k = curve_curvature(field_);
  if (!k) {
    site_.fault_at_keyword(k_fault_curve);
    return next_step::hard_stop;
  }
  // A curve that runs past the last metre of the plan is cut there.
  const std::int64_t extent = st_.profilo.extent();
  const std::int64_t curve_end = must_fit(add_32(s, l), "the end of a curve");
  const std::int64_t last = std::min<std::int64_t>(curve_end, extent);
  // Metres up to s run straight on, then those up to last turn; each stretch
  // stops with code 103 once it has made metre 1000000 and would go on. Only
  // the runs are kept: the file's writer computes their points.
  plan_runs& plan = st_.profilo;
  for (const auto& [to, curved] : {std::pair{std::int64_t{s}, false}, std::pair{last, true}}) {
    if (next_metre_ > to) continue;
    const auto end = static_cast<std::int32_t>(std::min<std::int64_t>(to, k_plan_metre_limit));
    if (curved)
      plan.curved_to(end, *k);
    else
      plan.straight_to(end);
    next_metre_ = end + 1;
    if (next_metre_ > k_plan_metre_limit) {
      site_.fault_at_keyword(k_fault_curve);
      return next_step::hard_stop;
    }
  }
  return next_step::go_on;
}

void line_compiler::warn_curve(std::int32_t s, std::int32_t l) {
  const std::int64_t extent = st_.profilo.extent();
  const std::int64_t end = std::int64_t{s} + l;
  if (curves_++ > 0 && s + std::int64_t{1} < next_metre_)
    site_.warn_value(0, warning_group::overlap,
                     "curve at " + num(s) + " m starts before the previous curve ends (at " +
                         num(next_metre_ - 1) + " m); the part before that is not drawn");
  if (end > extent)
    site_.warn_value(1, warning_group::beyond_end,
                     "curve at " + num(s) + " m runs to " + num(end) +
                         " m, past the end of the plan (" + num(extent) + " m), and is cut there");
  warn_beyond_end(site_, st_.percorso, record_of(line_record::curve), s);
}

next_step line_compiler::scenery_record() {
  if (!is(line_record::scenery)) return next_step::go_on;
  const std::int32_t inizio = reader_.read_int32();
  const std::int32_t fine = reader_.read_int32();
  std::int32_t tipo = reader_.read_int32();
  warn_scenery(inizio, fine, tipo);
  if (stops_near_end(site_, st_.percorso, inizio)) return next_step::soft_stop;
  const std::int32_t code = memo_montagna(st_.percorso, sections_, inizio, fine, tipo);
  if (code != 0) {
    site_.fault_at(code, inizio);
    return next_step::hard_stop;
  }
  return next_step::go_on;
}

void line_compiler::warn_scenery(std::int32_t inizio, std::int32_t fine, std::int32_t tipo) {
  // What memo_montagna will make of the type, said before any check.
  std::int64_t stored = tipo > 10 ? std::int64_t{tipo} - 10 : tipo;
  if (sections_.numero_montagne > 0 && std::int64_t{inizio} - sections_.fine_ultima <= 150 &&
      stored != 3) {
    site_.warn_value(0, warning_group::overlap,
                     "scenery section at " + num(inizio) +
                         " m starts 150 m or less after the previous one ends (" +
                         num(sections_.fine_ultima) + " m), so its type " + num(stored) +
                         " becomes 3");
    stored = 3;
  }
  if (!fit_uint8(stored))
    site_.warn_value(2, warning_group::low_bits,
                     "scenery type " + num(stored) + " is kept to its low 8 bits and becomes " +
                         num(low_8(stored)));
  if (!position_fits(st_.percorso, inizio)) return;
  site_.warn_beyond_end(record_of(line_record::scenery), inizio, 0);
  warn_empty_scenery(inizio, fine);
}

void line_compiler::warn_empty_scenery(std::int32_t inizio, std::int32_t fine) {
  const std::int64_t first = round_half_even(inizio, k_cell_metres);
  const std::int64_t last = round_half_even(std::int64_t{fine} - k_cell_metres, k_cell_metres);
  if (last >= first) return;
  site_.warn_value(1, warning_group::order,
                   "scenery section from " + num(inizio) + " m to " + num(fine) + " m " +
                       (fine < inizio ? "ends before it starts" : "is shorter than a cell") +
                       ": it covers no cell and its type is given to none, but it still counts as "
                       "the section before the next one");
}

next_step line_compiler::speed_board_record() {
  if (!is(line_record::speed_board)) return next_step::go_on;
  const std::int32_t posizione = reader_.read_int32();
  speed_board b;
  for (std::int32_t* v : {&b.vas, &b.vbs, &b.vcs, &b.strisces, &b.vad, &b.vbd, &b.vcd, &b.strisced})
    *v = reader_.read_int32();
  warn_speed_board(posizione, b);
  if (stops_near_end(site_, st_.percorso, posizione)) return next_step::soft_stop;
  if (const std::int32_t code = memo_indicatori_v_max(st_.percorso, posizione, b); code != 0) {
    std::optional<std::int64_t> taken;
    if (code == k_fault_speed_board_taken) taken = point_cell(posizione);
    site_.fault_at(code, posizione, std::nullopt, taken);
    return next_step::hard_stop;
  }
  return next_step::go_on;
}

void line_compiler::warn_speed_board(std::int32_t posizione, const speed_board& b) {
  const std::int64_t stripes = 10 * std::int64_t{b.strisces} + b.strisced;
  if (!fit_int16(stripes))
    site_.warn_value(4, warning_group::low_bits,
                     "stripe value 10 x " + num(b.strisces) + " + " + num(b.strisced) + " = " +
                         num(stripes) + " is kept to its low 16 bits and becomes " +
                         num(low_16(stripes)));
  warn_beyond_end(site_, st_.percorso, record_of(line_record::speed_board), posizione);
}

next_step line_compiler::text_board_record() {
  if (!is(line_record::text_board)) return next_step::go_on;
  const std::int32_t p = reader_.read_int32();
  std::string text = reader_.read_text();
  warn_text_board(p, text);
  if (stops_near_end(site_, st_.percorso, p)) return next_step::soft_stop;
  cella* const cell =
      free_cell_or_fault(site_, st_.percorso, point_cell(p), p, k_fault_text_board_taken);
  if (cell == nullptr) return next_step::hard_stop;
  // Slot 1 is kept for the first station and slot 0 is never written.
  if (st_.indice_cartelli <= 1) {
    site_.fault_at(k_fault_too_many_boards, p);
    return next_step::hard_stop;
  }
  if (text.size() > 0xFFFF)
    throw compile_failure("a text board's text is longer than 65535 bytes", reader_.field_line());
  cell->tipo_cella = k_text_board;
  cell->valore_a = low_16(st_.indice_cartelli);
  st_.stazioni[static_cast<std::size_t>(st_.indice_cartelli)].nome = std::move(text);
  st_.board_lines[static_cast<std::size_t>(st_.indice_cartelli)] = site_.line;
  --st_.indice_cartelli;
  return next_step::go_on;
}

// The text's problems are said at the text's field.
void line_compiler::warn_text_board(std::int32_t p, const std::string& text) {
  for (warning_words& w : text_problems("board text", text))
    site_.warn_at(reader_.field_line(), reader_.field_column(), w.group, std::move(w.what));
  warn_beyond_end(site_, st_.percorso, record_of(line_record::text_board), p);
}

void line_compiler::finish() {
  try {
    final_gradient_fill(st_.percorso, gradient_);
  } catch (const compile_failure& f) {
    // The gradient records before it pushed the fill to the grid's end:
    // blame the last of them, not the line where reading ended.
    throw compile_failure(f.what(), last_gradient_line_, f.position());
  }
  if (!st_.profilo.exists()) return;
  const std::int32_t last = st_.profilo.extent() - 2;
  if (next_metre_ > last) return;
  st_.profilo.straight_to(last);
  next_metre_ = last + 1;
}

}  // namespace

void make_stand_in_grid(run_state& st) {
  make_grid(st, k_max_route_length + k_route_margin);
}

compile_end compile_line(std::string_view text, run_state& st) {
  return compile_with<line_compiler>(text, st);
}

}  // namespace scenario
