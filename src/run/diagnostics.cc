#include "run/diagnostics.h"

#include "model/fault_codes.h"

namespace scenario {
namespace {

diagnostic located(fault_origin origin, int line, int column, const source_names& names) {
  diagnostic d;
  switch (origin) {
    case fault_origin::line_file:
      d.file = names.line_file;
      break;
    case fault_origin::train_file:
    case fault_origin::pass:
      d.file = names.train_file;
      break;
    case fault_origin::run:
      break;
  }
  if (origin != fault_origin::pass && !d.file.empty()) {
    d.line = line;
    d.column = line > 0 ? column : 0;
  }
  return d;
}

}  // namespace

diagnostic fault_diagnostic(const fault& f, const source_names& names) {
  diagnostic d = located(f.origin, f.line, f.column, names);
  const fault_code_info* info = find_fault_code(f.code);
  if (f.code == k_fault_runtime && !f.detail.empty())
    d.message = f.detail;
  else if (info != nullptr)
    d.message = std::string(info->words);
  else
    d.message = "unknown fault";
  d.code = f.code;
  d.position = f.position;
  return d;
}

diagnostic warning_diagnostic(const source_warning& w, const source_names& names) {
  diagnostic d = located(w.origin, w.line, w.column, names);
  d.level = severity::warning;
  d.message = w.what;
  return d;
}

std::vector<diagnostic> compile_diagnostics(const compile_result& r, bool with_warnings) {
  const source_names names{r.line_name, r.train_name};
  std::vector<diagnostic> out;
  if (with_warnings)
    for (const finding& f : r.findings)
      if (!f.is_fault) out.push_back(warning_diagnostic(f.warning, names));
  for (const fault& f : r.st.faults) out.push_back(fault_diagnostic(f, names));
  return out;
}

}  // namespace scenario
