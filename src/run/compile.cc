#include "run/compile.h"

#include "model/fault_codes.h"
#include "output/check_codes.h"
#include "output/code_pass.h"
#include "route/line_compiler.h"
#include "service/train_compiler.h"

namespace scenario {
namespace {

// Keeps what the compilers and the pass report, in order.
class collector final : public reporter {
 public:
  explicit collector(compile_result& out) : out_(out) {}
  void fault_found(const fault& f) override {
    finding found;
    found.is_fault = true;
    found.fault_found = f;
    out_.findings.push_back(std::move(found));
  }
  void warning_found(const source_warning& w) override {
    finding found;
    found.warning = w;
    out_.findings.push_back(std::move(found));
  }

 private:
  compile_result& out_;
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

compile_result compile(const compile_input& input) {
  compile_result out;
  out.line_name = input.line.name;
  out.train_name = input.train.name;
  collector sink(out);
  run_state& st = out.st;
  st.report = &sink;
  st.nome_linea = input.nome_linea;
  st.numero_treno = input.numero_treno;
  st.scrivi_linea = input.with_plan ? 1 : 0;
  st.stazioni[k_slot_line].nome = st.nome_linea;
  st.stazioni[k_slot_repetition].nome = st.numero_treno;

  if (!input.line.exists) {
    out.line_missing = true;
    record_fault(st, {k_fault_no_line_file, std::nullopt, fault_origin::line_file, 0, {}});
  } else if (!input.line.text) {
    unreadable(st, input.line, fault_origin::line_file);
  } else {
    out.line_end = compile_line(*input.line.text, st);
    if (out.line_end == compile_end::finished) {
      if (input.train.text)
        out.train_end = compile_train(*input.train.text, st);
      else
        unreadable(st, input.train, fault_origin::train_file);
    }
  }

  if (out.has_grid()) {
    code_point_pass(st);
    out.stamp_conflict = stamp_scenario(st);
  }
  st.report = nullptr;
  return out;
}

}  // namespace scenario
