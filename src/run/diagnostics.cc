#include "run/diagnostics.h"

#include "run/fault_codes.h"

namespace scenario {
namespace {

constexpr std::int32_t k_runtime_failure = 25;

std::string where(fault_origin origin, int line, const source_names& names) {
  std::string out;
  switch (origin) {
    case fault_origin::line_file:
      out = names.line_file;
      break;
    case fault_origin::train_file:
    case fault_origin::pass:
      out = names.train_file;
      break;
    case fault_origin::run:
      out = "scenario_gen";
      break;
  }
  if (line > 0 && origin != fault_origin::pass) out += ":" + std::to_string(line);
  return out;
}

}  // namespace

std::string format_fault(const fault& f, const source_names& names) {
  std::string out = where(f.origin, f.line, names) + ": error: ";
  const fault_code_info* info = find_fault_code(f.code);
  if (f.code == k_runtime_failure && !f.detail.empty())
    out += f.detail;
  else if (info != nullptr)
    out += info->words;
  else
    out += "unknown fault";
  out += " (code " + std::to_string(f.code);
  if (f.position) out += ", at " + std::to_string(*f.position) + " m";
  out += ")";
  return out;
}

std::string format_warning(const source_warning& w, const source_names& names) {
  return where(w.origin, w.line, names) + ": warning: " + w.what;
}

}  // namespace scenario
