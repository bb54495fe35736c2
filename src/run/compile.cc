#include "run/compile.h"

#include <algorithm>

#include "model/fault_codes.h"
#include "model/scenario_constants.h"
#include "output/check_codes.h"
#include "output/code_pass.h"
#include "route/line_compiler.h"
#include "service/train_compiler.h"

namespace scenario {
namespace {

std::string cell_words(std::int64_t cell) {
  return "cell " + std::to_string(cell) + " (" + std::to_string((cell - 1) * k_cell_metres) + " m)";
}

// Which cells the record holding a taken cell marks, and why it marks them
// there: the cell arithmetic an author cannot see in the record itself.
std::string mark_words(const percorso_t& grid, std::int64_t taken) {
  const cella& c = grid[static_cast<std::size_t>(taken)];
  switch (c.tipo_cella) {
    case k_slowdown_approach: {
      const std::int64_t nearest = taken + c.valore_a - 1;
      return "its f_ta is not 0, so it marks cells " + std::to_string(nearest - 3) + " to " +
             std::to_string(nearest) + " (" + std::to_string((nearest - 4) * k_cell_metres) +
             " to " + std::to_string((nearest - 1) * k_cell_metres) +
             " m) as its approach, the four cells before its warning cell, 1250 to 1400 m "
             "before its start";
    }
    case k_slowdown_warning:
      return cell_words(taken) + " is its warning cell, 1200 m before its start";
    case k_slowdown_start:
      return cell_words(taken) + " is its start cell";
    case k_slowdown_end:
      return cell_words(taken) + " is its end cell, its start plus its length";
    case k_signal:
      return cell_words(taken) + " is its signal cell, the cell after its position";
    case k_station_stop:
      return "cell " + std::to_string(taken) + " is its stop cell, the last cell of its area";
    default:
      return {};
  }
}

// Keeps what the compilers and the pass report, in order.
class collector final : public reporter {
 public:
  collector(compile_result& out, bool trace) : out_(out), trace_(trace) {
    if (trace_) out_.st.percorso.note_writes(&written_);
  }
  void fault_found(const fault& f) override { add_fault(f, std::nullopt); }
  void fault_on_taken_cell(const fault& f, std::int64_t taken_cell) override {
    add_fault(f, taken_cell);
  }
  void warning_found(const source_warning& w) override {
    finding found;
    found.warning = w;
    out_.findings.push_back(std::move(found));
  }
  void record_begins(fault_origin origin, int line) override {
    if (!trace_) return;
    settle();
    current_ = {origin, line};
  }
  // Gives what changed since the last record to that record: the cells
  // the grid noted as written, or every cell when the grid is new.
  void settle(bool whole = false) {
    if (!trace_) return;
    run_state& st = out_.st;
    source_map& map = out_.sources;
    if (seen_.size() != st.percorso.size()) {
      // A new grid: nothing of the old one's sources holds.
      seen_.assign(st.percorso.size(), cella{});
      map.objects.assign(st.percorso.size(), source_ref{});
      map.scenery.assign(st.percorso.size(), source_ref{});
      whole = true;
    }
    for (const std::size_t n : written_)
      if (n == percorso_t::k_whole_grid) whole = true;
    if (whole) {
      for (std::size_t n = 0; n < seen_.size(); ++n) settle_cell(n);
    } else {
      for (const std::size_t n : written_)
        if (n < seen_.size()) settle_cell(n);
    }
    written_.clear();
    st.percorso.note_writes(&written_);
    for (std::size_t s = 0; s < slots_.size(); ++s) {
      if (st.stazioni[s] == slots_[s]) continue;
      map.slots[s] = current_;
      slots_[s] = st.stazioni[s];
    }
  }
  void settle_cell(std::size_t n) {
    const cella& now = static_cast<const percorso_t&>(out_.st.percorso)[n];
    cella& before = seen_[n];
    if (now == before) return;
    if (now.tipo_cella != before.tipo_cella || now.valore_a != before.valore_a ||
        now.valore_b != before.valore_b || now.valore_c != before.valore_c ||
        now.valore_d != before.valore_d || now.ritardo != before.ritardo)
      out_.sources.objects[n] = current_;
    if (now.ambiente != before.ambiente) out_.sources.scenery[n] = current_;
    before = now;
  }
  // What follows is nobody's record (the pass, the stamps), and nothing
  // more is noted: the last settle compares the whole grid.
  void no_record() {
    settle(true);
    current_ = {};
    out_.st.percorso.note_writes(nullptr);
  }

 private:
  // A finding of the fault; with sources, the record holding the taken cell.
  void add_fault(const fault& f, std::optional<std::int64_t> taken) {
    finding found;
    found.is_fault = true;
    found.fault_found = f;
    found.on_taken_cell = taken.has_value();
    if (trace_ && taken) {
      settle();
      if (static_cast<std::size_t>(*taken) < out_.sources.objects.size()) {
        found.holder = out_.sources.objects[static_cast<std::size_t>(*taken)];
        found.holder_mark = mark_words(out_.st.percorso, *taken);
      }
    }
    out_.findings.push_back(std::move(found));
  }

  compile_result& out_;
  bool trace_;
  source_ref current_;
  std::vector<cella> seen_;
  std::vector<std::size_t> written_;  // the cells the grid noted since the last settle
  stazioni_t slots_{};
};

void unreadable(run_state& st, const description& d, fault_origin origin) {
  record_fault(st, {k_fault_runtime, std::nullopt, origin, 0, d.unreadable});
}

}  // namespace

std::vector<source_warning> compile_result::warnings() const {
  std::vector<source_warning> out;
  for (const finding& f : findings)
    if (!f.is_fault) out.push_back(f.warning);
  return out;
}

bool compile_result::notes_need_sources() const {
  return !stamp_conflict.empty() || std::any_of(findings.begin(), findings.end(),
                                                [](const finding& f) { return f.on_taken_cell; });
}

compile_result compile(const compile_input& input) {
  compile_result out;
  out.line_name = input.line.name;
  out.train_name = input.train.name;
  if (input.line.text) out.line_text = *input.line.text;
  if (input.train.text) out.train_text = *input.train.text;
  collector sink(out, input.trace_sources);
  run_state& st = out.st;
  st.report = &sink;
  st.nome_linea = input.nome_linea;
  st.numero_treno = input.numero_treno;
  st.scrivi_linea = input.with_plan ? 1 : 0;
  st.keep_going = input.keep_going;
  st.stazioni[k_slot_line].nome = st.nome_linea;
  st.stazioni[k_slot_repetition].nome = st.numero_treno;

  if (!input.line.exists) {
    out.line_missing = true;
    record_fault(st, {k_fault_no_line_file, std::nullopt, fault_origin::line_file, 0, {}});
  } else if (!input.line.text) {
    unreadable(st, input.line, fault_origin::line_file);
  } else {
    out.line_end = compile_line(*input.line.text, st);
    // A check goes on with the train even where the line made no grid.
    if (input.keep_going && !out.has_grid()) make_stand_in_grid(st);
    if (out.line_end == compile_end::finished || input.keep_going) {
      if (input.train.text)
        out.train_end = compile_train(*input.train.text, st);
      else
        unreadable(st, input.train, fault_origin::train_file);
    }
  }

  sink.no_record();
  if (input.trace_sources && out.sources.objects.size() > k_stamp_cell_index)
    out.stamp_cell_holder = out.sources.objects[k_stamp_cell_index];
  if (out.has_grid()) {
    code_point_pass(st);
    out.stamp_conflict = stamp_scenario(st);
  }
  sink.no_record();
  st.report = nullptr;
  return out;
}

}  // namespace scenario
