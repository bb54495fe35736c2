// The answers to the editor's requests about one document.
#include <algorithm>

#include "common/utf8_text.h"
#include "editor/field_notes.h"
#include "editor/layout.h"
#include "editor/lsp_session.h"
#include "editor/pairing.h"
#include "editor/quick_fixes.h"
#include "editor/shipped_kinds.h"
#include "sources/keyword_table.h"
#include "sources/record_places.h"
#include "sources/train_content.h"

namespace scenario {

std::vector<fix_value> language_session::fixes_at(const open_document& doc, int line,
                                                  const std::string& message) const {
  std::vector<fix_value> fixes;
  const auto checked = checks_.find(doc.uri);
  if (checked == checks_.end()) return fixes;
  // The diagnostic the editor shows, as the last check found it.
  const auto d =
      std::find_if(checked->second.found.begin(), checked->second.found.end(),
                   [&](const diagnostic& x) { return x.line - 1 == line && x.message == message; });
  if (d == checked->second.found.end()) return fixes;
  const std::string_view row = line_text(checked->second.text_1252, line);
  // The editor's line matches the compiled one character for character.
  const std::size_t line_at = line_start(doc.text, line);
  auto offset = [&](std::size_t chars) {
    return line_at + utf8_from_1252(row.substr(0, chars)).size();
  };
  for (const line_fix& fix : fixes_for(*d, row))
    fixes.push_back({fix.title, offset(fix.first), offset(fix.last), utf8_from_1252(fix.text)});
  return fixes;
}

namespace {

// The kinds the outline shows within their sections, with their symbol kinds.
int symbol_kind(const record_spec& kind) {
  if (&kind == &record_of(train_record::station)) return 19;  // object
  if (&kind == &record_of(train_record::signal) || &kind == &record_of(train_record::slowdown))
    return 24;  // event
  if (&kind == &record_of(line_record::curve) || &kind == &record_of(line_record::scenery))
    return 8;  // field
  if (&kind == &record_of(line_record::speed_board) || &kind == &record_of(line_record::text_board))
    return 14;  // constant
  return 0;
}

// The shipped service's stations and signals, one of each kind the
// reference tables, as completions named by the reference's words.
struct example_record {
  std::string label;
  std::string text;
};

// The label of a shipped station or signal record that is the first one
// its kind's row names; empty for the others.
std::string example_label(const record_spec& kind, const std::vector<std::string>& fields) {
  std::vector<std::optional<std::int64_t>> values;
  values.reserve(fields.size());
  for (const std::string& f : fields) values.push_back(number_of(f));
  if (&kind == &record_of(train_record::station)) {
    const station_kind* row = station_kind_of(values);
    if (row == nullptr || row->shipped.substr(0, row->shipped.find(", ")) != fields.back())
      return {};
    return std::string(row->what) + " (type " + fields[1] + ", as " + fields.back() + ")";
  }
  const signal_kind* row = signal_kind_of(values);
  if (row == nullptr || numbers_in(row->where).front() != values[0]) return {};
  return "signal sx " + std::string(row->sx) + ", " + std::string(row->stored) + ": " +
         std::string(row->picture) + " (as at " + fields[0] + " m)";
}

std::vector<example_record> read_shipped_examples() {
  std::string text;
  for (const std::string_view line : train_content()) text += std::string(line) + "\r\n";
  std::vector<example_record> out;
  for (const record_place& r : read_record_places(description_format::train, text)) {
    if (r.kinds.size() != 1 || r.values.empty()) continue;
    const record_spec& kind = *r.kinds.front();
    const bool station = &kind == &record_of(train_record::station);
    if (!(station && r.values.size() == 17) &&
        !(&kind == &record_of(train_record::signal) && r.values.size() == 11))
      continue;
    const std::string_view line = r.row(text);
    std::vector<std::string> fields;
    for (const field_span& f : r.values)
      fields.emplace_back(line.substr(f.first, f.last - f.first));
    std::string label = example_label(kind, fields);
    if (label.empty()) continue;
    // The position (and for a station its time and name) left to fill in.
    std::string snippet(line.substr(r.keyword.first, r.keyword.last - r.keyword.first));
    snippet += ", ${1:" + std::string(kind.fields[0].name) + "}";
    const std::size_t last_fixed = station ? 12 : 10;
    for (std::size_t i = 1; i <= last_fixed; ++i) snippet += ", " + fields[i];
    if (station) snippet += ", ${2:hours}, ${3:minutes}, ${4:seconds}, ${5:nome}";
    out.push_back({std::move(label), snippet});
  }
  return out;
}

// The shipped scenario never changes: its examples are read once, not at
// every completion.
const std::vector<example_record>& shipped_examples() {
  static const std::vector<example_record> examples = read_shipped_examples();
  return examples;
}

// The grid cells whose object or scenery the record on line (from 1) set,
// from a compile that traces them (made once, when first asked).
std::vector<std::size_t> cells_of(document_check& check, int line) {
  std::vector<std::size_t> cells;
  if (!check.compiled) return cells;
  if (!check.sources) {
    compile_input input = check.input;
    input.line.text = check.line_text;
    input.train.text = check.train_text;
    input.trace_sources = true;
    check.sources = compile(input).sources;
  }
  const source_ref own{check.own_is_line ? fault_origin::line_file : fault_origin::train_file,
                       line};
  for (std::size_t n = 0; n < check.sources->objects.size(); ++n)
    if (check.sources->objects[n] == own ||
        (n < check.sources->scenery.size() && check.sources->scenery[n] == own))
      cells.push_back(n);
  return cells;
}

// A record of the outline: its kind's symbol, named by its keyword (a
// station by its name), with its position and railway kilometre.
std::optional<symbol_value> record_symbol(const record_place& r, std::string_view row,
                                          const std::vector<km_reference>& references) {
  if (r.kinds.empty() || r.values.empty()) return std::nullopt;
  const record_spec& kind = *r.kinds.front();
  const int symbol = symbol_kind(kind);
  if (symbol == 0) return std::nullopt;
  const auto field = [&](std::size_t i) {
    return utf8_from_1252(row.substr(r.values[i].first, r.values[i].last - r.values[i].first));
  };
  std::string name = utf8_from_1252(row.substr(r.keyword.first, r.keyword.last - r.keyword.first));
  if (&kind == &record_of(train_record::station) && r.values.size() == 17) name = field(16);
  std::string detail = field(0) + " m";
  if (const auto metres = number_of(field(0)))
    if (const auto km = railway_km(references, *metres)) detail += ", " + *km;
  symbol_value record;
  record.name = std::move(name);
  record.detail = std::move(detail);
  record.kind = symbol;
  record.range = on_line(r.line, 0, row.size());
  record.selection = on_line(r.line, r.keyword.first, r.keyword.last);
  return record;
}

}  // namespace

std::vector<symbol_value> language_session::document_symbols(const open_document& doc) const {
  std::vector<symbol_value> sections;
  const auto checked = checks_.find(doc.uri);
  if (checked == checks_.end() || checked->second.refused) return sections;
  const std::string& text = checked->second.text_1252;
  for (const record_place& r : checked->second.places) {
    const std::string_view row = r.row(text);
    if (r.header) {
      symbol_value& section = sections.emplace_back();
      section.section = true;
      section.name = utf8_from_1252(r.field(text, r.keyword));
      section.kind = 3;  // namespace
      section.range = on_line(r.line, 0, row.size());
      section.selection = on_line(r.line, r.keyword.first, r.keyword.last);
      continue;
    }
    if (sections.empty()) continue;
    std::optional<symbol_value> record = record_symbol(r, row, checked->second.references);
    if (!record) continue;
    // A section's range runs to its last record.
    sections.back().range.end = record->range.end;
    sections.back().children.push_back(std::move(*record));
  }
  return sections;
}

std::vector<line_edit> language_session::formatting(const open_document& doc) const {
  std::vector<line_edit> edits;
  const auto checked = checks_.find(doc.uri);
  if (checked == checks_.end() || checked->second.refused) return edits;
  for (const line_replacement& r :
       layout_edits(format_of(name_of(doc.path)), checked->second.text_1252))
    edits.push_back({r.line, utf8_from_1252(r.text)});
  return edits;
}

std::optional<hover_value> language_session::hover(const open_document& doc,
                                                   editor_place at) const {
  const auto checked = checks_.find(doc.uri);
  if (checked == checks_.end() || checked->second.refused) return std::nullopt;
  const std::string& text = checked->second.text_1252;
  for (const record_place& r : checked->second.places) {
    if (r.line != at.line) continue;
    const std::string_view row = r.row(text);
    const int field = field_at(r, at.character);
    std::vector<std::size_t> cells;
    if (field >= 0 && !r.kinds.empty() &&
        static_cast<std::size_t>(field) < r.kinds.front()->fields.size() &&
        is_position(r.kinds.front()->fields[static_cast<std::size_t>(field)]))
      cells = cells_of(checked->second, r.line + 1);
    std::string note = field_note(r, row, field, checked->second.references, cells);
    if (note.empty()) return std::nullopt;
    const field_span span = field == -1 ? r.keyword : r.values[static_cast<std::size_t>(field)];
    return hover_value{std::move(note), on_line(r.line, span.first, span.last)};
  }
  return std::nullopt;
}

namespace {

// A keyword's completion: its syntax and fields, the fields as a snippet's
// placeholders.
completion_value keyword_completion(const record_spec& kind, std::string_view keyword,
                                    const std::string& documentation) {
  const bool clock = &kind == &record_of(train_record::clock);
  std::string snippet(keyword);
  for (std::size_t i = 0; i < kind.fields.size(); ++i)
    snippet += std::string(clock && i > 0 ? " " : ", ") + "${" + std::to_string(i + 1) + ":" +
               std::string(kind.fields[i].name) + "}";
  return {std::string(keyword), 14, std::string(kind.read_as), documentation, snippet};
}

std::string keyword_documentation(const record_spec& kind) {
  std::string text = "```\n" + record_syntax(kind, kind.keywords.front()) + "\n```\n\n";
  for (const field_spec& f : kind.fields)
    text += "- `" + std::string(f.name) + "`" +
            (f.unit.empty() ? "" : " (" + std::string(f.unit) + ")") + ": " +
            std::string(f.meaning) + "\n";
  return text;
}

}  // namespace

std::vector<completion_value> language_session::completion(const open_document& doc,
                                                           editor_place at) const {
  std::vector<completion_value> items;
  const auto checked = checks_.find(doc.uri);
  // Keywords only where a keyword field stands: before the line's first comma.
  if (line_text(doc.text, at.line).substr(0, at.byte).find(',') != std::string_view::npos)
    return items;
  const description_format format = format_of(name_of(doc.path));
  record_part part = record_part::anywhere;
  if (format == description_format::line) {
    part = record_part::general;
    if (checked != checks_.end())
      for (const record_place& r : checked->second.places)
        if (r.line < at.line) part = r.part;
  }
  for (const record_spec& kind : keyword_table(format)) {
    if (kind.part != part) continue;
    const std::string documentation = keyword_documentation(kind);
    for (const std::string_view keyword : kind.keywords)
      items.push_back(keyword_completion(kind, keyword, documentation));
  }
  if (format == description_format::train)
    for (const example_record& e : shipped_examples())
      items.push_back({e.label, 15, "as the shipped scenario has it", {}, e.text});
  return items;
}

std::vector<inlay_value> language_session::inlay_hints(const open_document& doc, int first,
                                                       int last) const {
  std::vector<inlay_value> hints;
  const auto checked = checks_.find(doc.uri);
  if (checked == checks_.end() || checked->second.refused || checked->second.references.empty())
    return hints;
  const std::string& text = checked->second.text_1252;
  for (const record_place& r : checked->second.places) {
    if (r.line < first || r.line > last || r.kinds.empty()) continue;
    const record_spec& kind = *r.kinds.front();
    const std::string_view row = r.row(text);
    for (std::size_t i = 0; i < r.values.size() && i < kind.fields.size(); ++i) {
      if (!is_position(kind.fields[i])) continue;
      const auto metres =
          number_of(row.substr(r.values[i].first, r.values[i].last - r.values[i].first));
      if (!metres || r.values[i].last == r.values[i].first) continue;
      if (const auto km = railway_km(checked->second.references, *metres))
        hints.push_back({{r.line, r.values[i].last}, *km});
    }
  }
  return hints;
}

}  // namespace scenario
