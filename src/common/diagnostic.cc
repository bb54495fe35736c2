#include "common/diagnostic.h"

namespace scenario {
namespace {

// The source line as shown, and a caret under column (counted in bytes;
// a tab keeps its place above the caret's tab).
void append_source(std::string& out, const diagnostic& d) {
  out += d.source_line;
  out += '\n';
  const std::size_t before = d.column > 0 ? static_cast<std::size_t>(d.column - 1) : 0;
  for (std::size_t i = 0; i < before && i < d.source_line.size(); ++i)
    out += d.source_line[i] == '\t' ? '\t' : ' ';
  out += "^\n";
}

void append(std::string& out, const diagnostic& d) {
  const bool located = !d.file.empty() && !d.offset;
  if (located) {
    out += d.file;
    if (d.line > 0) {
      out += ':' + std::to_string(d.line);
      if (d.column > 0) out += ':' + std::to_string(d.column);
    }
  } else {
    out += k_program_name;
  }
  out += ": ";
  out += severity_name(d.level);
  out += ": ";
  if (!located && !d.file.empty()) out += d.file + ": ";
  if (!located && d.offset) out += "offset " + std::to_string(*d.offset) + ": ";
  out += d.message;
  if (d.code) {
    out += " (code " + std::to_string(*d.code);
    if (d.position) out += ", at " + std::to_string(*d.position) + " m";
    out += ')';
  }
  // A warning made an error keeps its group, as [-Werror=GROUP], as GCC does.
  if (d.group != warning_group::none) {
    out += d.level == severity::error ? " [-Werror=" : " [-W";
    out += warning_group_name(d.group);
    out += ']';
  } else if (d.from_warning && d.level == severity::error) {
    out += " [-Werror]";
  }
  out += '\n';
  if (!d.source_line.empty()) append_source(out, d);
  for (const diagnostic& n : d.notes) append(out, n);
}

}  // namespace

const char* severity_name(severity level) {
  switch (level) {
    case severity::error:
      return "error";
    case severity::warning:
      return "warning";
    case severity::note:
      return "note";
  }
  return "error";
}

std::string format_diagnostic(const diagnostic& d) {
  std::string out;
  append(out, d);
  return out;
}

diagnostic program_diagnostic(std::string message, severity level) {
  diagnostic d;
  d.level = level;
  d.message = std::move(message);
  return d;
}

}  // namespace scenario
