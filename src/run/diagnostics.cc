#include "run/diagnostics.h"

#include "run/fault_codes.h"

namespace scenario {

std::string format_fault(const fault& f, const source_names& names) {
  std::string out;
  switch (f.origin) {
    case fault_origin::line_file:
      out = names.line_file;
      break;
    case fault_origin::train_file:
      out = names.train_file;
      break;
    case fault_origin::pass:
      out = "code-point pass";
      break;
    case fault_origin::run:
      out = "scenario_gen";
      break;
  }
  if (f.line > 0) out += ":" + std::to_string(f.line);
  out += ": error: ";
  const fault_code_info* info = find_fault_code(f.code);
  out += info != nullptr ? std::string(info->words) : std::string("unknown fault");
  if (!f.detail.empty()) out += ": " + f.detail;
  out += " (code " + std::to_string(f.code);
  if (f.position) out += ", at " + std::to_string(*f.position) + " m";
  out += ")";
  return out;
}

}  // namespace scenario
