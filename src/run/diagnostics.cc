#include "run/diagnostics.h"

#include <algorithm>

#include "common/line_index.h"
#include "common/utf8_text.h"
#include "model/fault_codes.h"
#include "model/scenario_constants.h"

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
  d.group = w.group;
  return d;
}

namespace {

// Description text as a terminal may show it: UTF-8, and no control
// character but the tab.
std::string shown_text(std::string_view text_1252) {
  std::string clean(text_1252);
  for (char& c : clean)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) c = '?';
  return utf8_from_1252(clean);
}

// The two descriptions' lines, indexed once per set of diagnostics so that
// each diagnostic's source line is a lookup.
struct sources_text {
  sources_text(std::string_view line_text, std::string_view train_text)
      : line(line_text), train(train_text) {}
  line_index line;
  line_index train;
};

// The source line of d, when it points at one of the descriptions.
void add_source(diagnostic& d, fault_origin origin, const sources_text& texts) {
  if (d.line <= 0) return;
  const line_index& lines = origin == fault_origin::line_file ? texts.line : texts.train;
  d.source_line = shown_text(lines.line(d.line));
  if (d.column <= 0) d.column = 1;
}

diagnostic note_at(fault_origin origin, int line, int column, std::string message,
                   const source_names& names, const sources_text& texts) {
  diagnostic n = located(origin, line, column, names);
  n.level = severity::note;
  n.message = std::move(message);
  add_source(n, origin, texts);
  return n;
}

// Where the cause of a fault lies when it is not the record itself.
void add_notes(diagnostic& d, const finding& found, const compile_result& r,
               const source_names& names, const sources_text& texts) {
  const fault& f = found.fault_found;
  if (f.cause_line > 0)
    d.notes.push_back(
        note_at(f.origin, f.cause_line, f.cause_column,
                f.cause_what.empty() ? "the missing value was taken from here" : f.cause_what,
                names, texts));
  if (found.holder.known())
    d.notes.push_back(note_at(found.holder.origin, found.holder.line, 1,
                              "the cell is already taken by the record here" +
                                  (found.holder_mark.empty() ? "" : ": " + found.holder_mark),
                              names, texts));
  const std::int32_t length = r.st.stazioni[k_slot_train].fine;
  if (f.code == k_fault_near_end && r.st.route_length_line > 0 && length >= 0 &&
      length <= k_max_route_length && r.has_grid()) {
    const std::int64_t end = std::int64_t{k_cell_metres} * last_cell(r.st.percorso);
    d.notes.push_back(note_at(fault_origin::line_file, r.st.route_length_line, 0,
                              "the route length " + std::to_string(length) +
                                  " m set here ends the grid at " + std::to_string(end) +
                                  " m: an object must stand 100 m before that, a station 800 m",
                              names, texts));
  }
}

// A finding as its user sees it: located, with its source line and, for a
// fault, the notes on where its cause lies.
diagnostic shown_finding(const finding& found, const compile_result& r, const source_names& names,
                         const sources_text& texts) {
  diagnostic d;
  fault_origin origin;
  if (found.is_fault) {
    d = fault_diagnostic(found.fault_found, names);
    origin = found.fault_found.origin;
  } else {
    d = warning_diagnostic(found.warning, names);
    origin = found.warning.origin;
  }
  d.message = shown_text(d.message);
  add_source(d, origin, texts);
  if (found.is_fault) add_notes(d, found, r, names, texts);
  if (!found.is_fault)
    for (const source_note& n : found.warning.notes)
      d.notes.push_back(note_at(n.origin, n.line, n.column, n.what, names, texts));
  return d;
}

// The line description first, then the train description, then the program;
// in each file what has no line comes after its lines.
int file_rank(const diagnostic& d, const source_names& names) {
  if (d.file.empty()) return 4;
  return (d.file == names.line_file ? 0 : 2) + (d.line == 0 ? 1 : 0);
}

}  // namespace

diagnostic stamp_conflict_diagnostic(const compile_result& r) {
  diagnostic d = program_diagnostic("message " + std::string(r.stamp_conflict) +
                                    ": a reserved stamp place in grid cell 1 is already taken");
  if (r.stamp_cell_holder.known())
    d.notes.push_back(note_at(r.stamp_cell_holder.origin, r.stamp_cell_holder.line, 1,
                              "the record here puts its object in grid cell 1, within the "
                              "first 75 m of the line; move it further along",
                              {r.line_name, r.train_name},
                              sources_text(r.line_text, r.train_text)));
  else
    d.notes.push_back(program_diagnostic(
        "the stamp goes into grid cell 1, the start of the line: move any signal, slowdown, "
        "board or code line within its first 75 m further along",
        severity::note));
  return d;
}

std::vector<diagnostic> compile_diagnostics(const compile_result& r, bool with_warnings) {
  const source_names names{r.line_name, r.train_name};
  const sources_text texts(r.line_text, r.train_text);
  std::vector<diagnostic> out;
  if (with_warnings)
    for (const finding& found : r.findings)
      if (!found.is_fault) out.push_back(shown_finding(found, r, names, texts));
  for (const finding& found : r.findings)
    if (found.is_fault) out.push_back(shown_finding(found, r, names, texts));
  return out;
}

std::vector<diagnostic> check_diagnostics(const compile_result& r, std::string_view line_text,
                                          std::string_view train_text) {
  const source_names names{r.line_name, r.train_name};
  const sources_text texts(line_text, train_text);
  std::vector<diagnostic> out;
  for (const finding& found : r.findings) out.push_back(shown_finding(found, r, names, texts));
  if (!r.stamp_conflict.empty()) out.push_back(stamp_conflict_diagnostic(r));
  // Source order: by file, then by line; what has no line after its file's lines.
  std::stable_sort(out.begin(), out.end(), [&](const diagnostic& a, const diagnostic& b) {
    const int ra = file_rank(a, names), rb = file_rank(b, names);
    return ra != rb ? ra < rb : a.line < b.line;
  });
  return out;
}

}  // namespace scenario
