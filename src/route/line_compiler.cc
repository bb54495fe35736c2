#include "route/line_compiler.h"

#include <optional>
#include <string>

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "common/text.h"
#include "route/gradient.h"
#include "route/plan.h"
#include "route/progressive.h"
#include "route/scenery.h"
#include "run/fault_codes.h"
#include "sources/field_reader.h"

namespace scenario {
namespace {

constexpr std::int32_t k_max_route_length = 1000000;

// What a body record leaves the reading loop to do next.
enum class next_step { go_on, soft_stop, hard_stop };

class line_compiler {
 public:
  line_compiler(std::string_view text, run_state& st) : reader_(text), st_(st) {}

  compile_end run();
  int line() const { return reader_.field_line(); }

 private:
  bool find_start();
  std::optional<compile_end> general_section();
  bool general_record();
  std::optional<compile_end> between_sections();
  next_step body();
  next_step body_record();
  next_step gradient_record();
  next_step curve_record();
  next_step scenery_record();
  next_step speed_board_record();
  next_step text_board_record();
  void finish();

  // The position check of body records: p + 100 <= 50 * P.
  bool position_fits(std::int32_t p) const;
  void fault_at(std::int32_t code, std::optional<std::int32_t> position = std::nullopt) {
    record_fault(st_, {code, position, fault_origin::line_file, record_line_, {}});
  }

  field_reader reader_;
  run_state& st_;
  std::string field_;  // the current field
  int record_line_ = 0;
  gradient_fill gradient_;
  std::int32_t next_metre_ = 2;  // next metre of the plan
};

compile_end line_compiler::run() {
  if (!find_start()) return compile_end::hard_stop;
  if (auto end = general_section()) return *end;
  if (auto end = between_sections()) return *end;
  // A soft stop ends the body as the end of the file does.
  if (body() == next_step::hard_stop) return compile_end::hard_stop;
  finish();
  return compile_end::finished;
}

bool line_compiler::find_start() {
  for (;;) {
    field_ = reader_.read_text();
    record_line_ = reader_.field_line();
    if (reader_.at_end()) {
      fault_at(102);
      return false;
    }
    if (contains_ignoring_case(field_, "[generale]")) return true;
  }
}

std::optional<compile_end> line_compiler::general_section() {
  for (;;) {
    if (reader_.at_end()) return std::nullopt;
    field_ = reader_.read_text();
    if (reader_.at_end()) return std::nullopt;
    // Up to ten fields holding "-" in a row are passed over, with no check for
    // the end between them.
    for (int i = 0; i < 10; ++i)
      if (contains(field_, "-")) field_ = reader_.read_text();
    record_line_ = reader_.field_line();
    if (!general_record()) return compile_end::hard_stop;
    if (contains(field_, "[") && contains(field_, "]")) {
      const auto first = field_.find_first_not_of(' ');
      if (first == std::string::npos || field_[first] != '-') return std::nullopt;
    }
  }
}

// Applies every test of the general section, in order, to the current field.
// Returns false after a fault that stops the compile.
bool line_compiler::general_record() {
  stazioni_t& s = st_.stazioni;
  if (contains_ignoring_case(field_, "percorso") && contains_ignoring_case(field_, "lunghezza")) {
    const std::int32_t length = reader_.read_int32();
    s[k_slot_train].fine = length;
    if (length > k_max_route_length || length < 0) {
      fault_at(1);
      return false;
    }
    const std::int32_t extent = length + 7000;
    st_.percorso.assign(static_cast<std::size_t>(round_half_even(extent, 50)) + 1, cella{});
    if (st_.scrivi_linea != 0) st_.profilo = profilo_t(extent);
  }
  auto read_reference = [this](stazione& slot) {
    slot.inizio = reader_.read_int32();
    slot.fine = reader_.read_int32();
    slot.posizione = reader_.read_int32();
  };
  if (contains(field_, "tre") && contains(field_, "progressiva")) read_reference(s[k_slot_km_tre]);
  if (contains(field_, "due") && contains(field_, "progressiva")) read_reference(s[k_slot_km_due]);
  if (contains(field_, "uno") && contains(field_, "progressiva")) read_reference(s[k_slot_km_uno]);
  if (contains(field_, "sfondo") && contains(field_, "uno"))
    s[k_slot_line].inizio = reader_.read_int32();
  if (contains(field_, "sfondo") && contains(field_, "due"))
    s[k_slot_line].posizione = reader_.read_int32();
  if (contains(field_, "sfondo") && contains(field_, "tre"))
    s[k_slot_line].fine = reader_.read_int32();
  if (contains(field_, "segnali") && contains(field_, "ripetizione")) {
    stazione& rep = s[k_slot_repetition];
    const std::int32_t from = reader_.read_int32();
    const std::int32_t to = reader_.read_int32();
    rep.inizio = from;
    rep.fine = to;
    if (from % 50 != 0) {
      fault_at(3);
      return false;
    }
    if (to % 50 != 0) {
      fault_at(4);
      return false;
    }
    if (contains(field_, "4")) {
      rep.posizione = 4;
    } else if (contains(field_, "9")) {
      rep.posizione = 9;
    } else {
      fault_at(5);
      return false;
    }
    if (to == 0) rep.posizione = 0;
  }
  return true;
}

std::optional<compile_end> line_compiler::between_sections() {
  progressive_ordina(st_.stazioni);
  st_.numero_montagne = 0;
  st_.indice_cartelli = k_first_board_slot;
  gradient_ = {};
  next_metre_ = 2;
  if (st_.percorso.empty()) {
    // Nothing can be placed without a grid.
    record_line_ = 0;
    fault_at(k_fault_no_route_length);
    return compile_end::hard_stop;
  }
  if (st_.profilo.exists()) seed_plan(st_.profilo);
  return std::nullopt;
}

next_step line_compiler::body() {
  for (;;) {
    if (reader_.at_end()) return next_step::go_on;
    field_ = reader_.read_text();
    if (reader_.at_end()) return next_step::go_on;
    // At most two fields holding "-" in a row are passed over.
    for (int i = 0; i < 2 && contains(field_, "-"); ++i) {
      field_ = reader_.read_text();
      if (reader_.at_end()) return next_step::go_on;
    }
    record_line_ = reader_.field_line();
    if (const next_step next = body_record(); next != next_step::go_on) return next;
  }
}

// Applies every test of the body, in order, to the current field.
next_step line_compiler::body_record() {
  using step_fn = next_step (line_compiler::*)();
  const step_fn steps[] = {&line_compiler::gradient_record, &line_compiler::curve_record,
                           &line_compiler::scenery_record, &line_compiler::speed_board_record,
                           &line_compiler::text_board_record};
  for (step_fn step : steps)
    if (const next_step next = (this->*step)(); next != next_step::go_on) return next;
  return next_step::go_on;
}

bool line_compiler::position_fits(std::int32_t p) const {
  const std::int32_t reach = must_fit(add_32(p, 100), "a position");
  return reach <= 50 * std::int64_t{last_cell(st_.percorso)};
}

next_step line_compiler::gradient_record() {
  if (!contains_ignoring_case(field_, "pendenza")) return next_step::go_on;
  const std::int32_t p = reader_.read_int32();
  const std::int32_t v = reader_.read_int32();
  if (!position_fits(p)) {
    fault_at(15, p);
    return next_step::soft_stop;
  }
  if (v < k_min_gradient || v > k_max_gradient) {
    fault_at(k_fault_gradient_range, p);
    return next_step::hard_stop;
  }
  if (!gradient_step(st_.percorso, gradient_, p, v)) {
    fault_at(k_fault_outside_grid, p);
    return next_step::hard_stop;
  }
  return next_step::go_on;
}

next_step line_compiler::curve_record() {
  if (!contains_ignoring_case(field_, "curva") || st_.scrivi_linea == 0) return next_step::go_on;
  const std::int32_t s = reader_.read_int32();
  const std::int32_t l = reader_.read_int32();
  if (!position_fits(s)) {
    fault_at(15, s);
    return next_step::soft_stop;
  }
  const std::optional<double> k = curve_curvature(field_);
  if (!k) {
    fault_at(103);
    return next_step::hard_stop;
  }
  // A curve that runs past the last metre of the plan is cut there.
  const std::int64_t curve_end = must_fit(add_32(s, l), "the end of a curve");
  const std::int64_t last = std::min<std::int64_t>(curve_end, st_.profilo.extent());
  profilo_t& plan = st_.profilo;
  while (next_metre_ <= s) {
    straight_step(plan, static_cast<std::size_t>(next_metre_));
    if (++next_metre_ > k_plan_metre_limit) {
      fault_at(103);
      return next_step::hard_stop;
    }
  }
  while (next_metre_ <= last) {
    curved_step(plan, static_cast<std::size_t>(next_metre_), *k);
    if (++next_metre_ > k_plan_metre_limit) {
      fault_at(103);
      return next_step::hard_stop;
    }
  }
  return next_step::go_on;
}

next_step line_compiler::scenery_record() {
  if (!contains_ignoring_case(field_, "montagna")) return next_step::go_on;
  const std::int32_t inizio = reader_.read_int32();
  const std::int32_t fine = reader_.read_int32();
  std::int32_t tipo = reader_.read_int32();
  if (!position_fits(inizio)) {
    fault_at(15, inizio);
    return next_step::soft_stop;
  }
  if (const std::int32_t code = memo_montagna(st_, inizio, fine, tipo); code != 0) {
    fault_at(code, inizio);
    return next_step::hard_stop;
  }
  return next_step::go_on;
}

next_step line_compiler::speed_board_record() {
  if (!contains_ignoring_case(field_, "indicatori_v")) return next_step::go_on;
  const std::int32_t posizione = reader_.read_int32();
  speed_board b;
  b.vas = reader_.read_int32();
  b.vbs = reader_.read_int32();
  b.vcs = reader_.read_int32();
  b.strisces = reader_.read_int32();
  b.vad = reader_.read_int32();
  b.vbd = reader_.read_int32();
  b.vcd = reader_.read_int32();
  b.strisced = reader_.read_int32();
  if (!position_fits(posizione)) {
    fault_at(15, posizione);
    return next_step::soft_stop;
  }
  if (const std::int32_t code = memo_indicatori_v_max(st_, posizione, b); code != 0) {
    fault_at(code, posizione);
    return next_step::hard_stop;
  }
  return next_step::go_on;
}

next_step line_compiler::text_board_record() {
  if (!contains_ignoring_case(field_, "indicat") || !contains_ignoring_case(field_, "cartello"))
    return next_step::go_on;
  const std::int32_t p = reader_.read_int32();
  std::string text = reader_.read_text();
  if (!position_fits(p)) {
    fault_at(15, p);
    return next_step::soft_stop;
  }
  const std::int64_t c = point_cell(p);
  if (!in_grid(st_.percorso, c)) {
    fault_at(k_fault_outside_grid, p);
    return next_step::hard_stop;
  }
  cella& cell = st_.percorso[static_cast<std::size_t>(c)];
  if (!is_free(cell)) {
    fault_at(6, p);
    return next_step::hard_stop;
  }
  // Slot 1 is kept for the first station and slot 0 is never written.
  if (st_.indice_cartelli <= 1) {
    fault_at(k_fault_too_many_boards, p);
    return next_step::hard_stop;
  }
  if (text.size() > 0xFFFF)
    throw compile_failure("a text board's text is longer than 65535 bytes", line());
  cell.tipo_cella = k_text_board;
  cell.valore_a = low_16(st_.indice_cartelli);
  st_.stazioni[static_cast<std::size_t>(st_.indice_cartelli)].nome = std::move(text);
  --st_.indice_cartelli;
  return next_step::go_on;
}

void line_compiler::finish() {
  final_gradient_fill(st_.percorso, gradient_);
  if (!st_.profilo.exists()) return;
  const std::int32_t last = st_.profilo.extent() - 2;
  for (; next_metre_ <= last; ++next_metre_)
    straight_step(st_.profilo, static_cast<std::size_t>(next_metre_));
}

}  // namespace

compile_end compile_line(std::string_view text, run_state& st) {
  line_compiler compiler(text, st);
  try {
    return compiler.run();
  } catch (const compile_failure& failure) {
    const int line = failure.line() != 0 ? failure.line() : compiler.line();
    record_fault(st, {25, std::nullopt, fault_origin::line_file, line, failure.what()});
    return compile_end::runtime_failure;
  }
}

}  // namespace scenario
