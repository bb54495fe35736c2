// The protocol's side of the features: their values turned into JSON, and
// every place converted between the client's units (UTF-16 code units, or
// UTF-8 bytes when the client offers them) and the text's, here only.
#include <algorithm>

#include "common/line_index.h"
#include "common/utf8_text.h"
#include "editor/lsp_session.h"
#include "editor/quick_fixes.h"

namespace scenario {
namespace {

int severity_number(severity level) {
  switch (level) {
    case severity::error:
      return 1;
    case severity::warning:
      return 2;
    case severity::note:
      return 3;
  }
  return 3;
}

json position_json(int line, int character) {
  return {{"line", line}, {"character", character}};
}

json range_json(text_position start, text_position end) {
  return {{"start", position_json(start.line, start.character)},
          {"end", position_json(end.line, end.character)}};
}

// The client's character of the place after chars characters of a compiled
// (Windows-1252) line: every Windows-1252 character is one UTF-16 unit.
int client_character(std::string_view row_1252, std::size_t chars, position_units units) {
  if (units == position_units::utf16) return static_cast<int>(chars);
  return static_cast<int>(utf8_from_1252(row_1252.substr(0, chars)).size());
}

// The places of one compiled text as the client counts them.
class compiled_positions {
 public:
  compiled_positions(std::string_view text, position_units units) : lines_(text), units_(units) {}

  text_position at(compiled_place p) const {
    return {p.line, client_character(lines_.line(p.line + 1), p.character, units_)};
  }
  json range(const compiled_range& r) const { return range_json(at(r.start), at(r.end)); }

 private:
  line_index lines_;
  position_units units_;
};

json symbol_json(const symbol_value& s, const compiled_positions& places) {
  json out = {{"name", s.name},
              {"kind", s.kind},
              {"range", places.range(s.range)},
              {"selectionRange", places.range(s.selection)}};
  if (s.section) {
    out["children"] = json::array();
    for (const symbol_value& child : s.children)
      out["children"].push_back(symbol_json(child, places));
  } else {
    out["detail"] = s.detail;
  }
  return out;
}

json completion_json(const completion_value& c) {
  json out = {{"label", c.label},
              {"kind", c.kind},
              {"detail", c.detail},
              {"insertTextFormat", 2},
              {"insertText", c.snippet}};
  if (!c.documentation.empty())
    out["documentation"] = {{"kind", "markdown"}, {"value", c.documentation}};
  return out;
}

}  // namespace

editor_place language_session::place_in(const open_document& doc, const json& position) const {
  const int line = whole_number(position.at("line"));
  const int character = whole_number(position.at("character"));
  const std::string_view row = line_text(doc.text, line);
  const std::size_t byte = offset_of(row, {0, character}, units_);
  return {line, byte,
          static_cast<std::size_t>(units_in(row.substr(0, byte), position_units::utf16))};
}

json language_session::answer_about(const std::string& method, const open_document& doc,
                                    const json& params) const {
  const auto checked = checks_.find(doc.uri);
  const std::string_view compiled =
      checked == checks_.end() ? std::string_view() : checked->second.text_1252;
  json out = json::array();
  if (method == "textDocument/documentSymbol") {
    const compiled_positions places(compiled, units_);
    for (const symbol_value& s : document_symbols(doc)) out.push_back(symbol_json(s, places));
  } else if (method == "textDocument/formatting") {
    // Each edit replaces a whole line of the editor's text, whose position
    // is known: finding it from a byte offset would scan from the start.
    const line_index lines(doc.text);
    for (const line_edit& e : formatting(doc))
      out.push_back(
          {{"range", range_json({e.line, 0}, {e.line, units_in(lines.line(e.line + 1), units_)})},
           {"newText", e.text}});
  } else if (method == "textDocument/codeAction") {
    return code_actions(doc, params);
  } else if (method == "textDocument/hover") {
    const std::optional<hover_value> h = hover(doc, place_in(doc, params.at("position")));
    if (!h) return nullptr;
    return {{"contents", {{"kind", "markdown"}, {"value", h->markdown}}},
            {"range", compiled_positions(compiled, units_).range(h->range)}};
  } else if (method == "textDocument/completion") {
    for (const completion_value& c : completion(doc, place_in(doc, params.at("position"))))
      out.push_back(completion_json(c));
  } else if (method == "textDocument/inlayHint") {
    // The range is read only when the check found kilometric references:
    // without them there is nothing to hint, whatever is asked.
    if (checked == checks_.end() || checked->second.refused || checked->second.references.empty())
      return out;
    const int first = whole_number(params.at("range").at("start").at("line"));
    const int last = whole_number(params.at("range").at("end").at("line"));
    const compiled_positions places(compiled, units_);
    for (const inlay_value& h : inlay_hints(doc, first, last)) {
      const text_position at = places.at(h.place);
      out.push_back({{"position", position_json(at.line, at.character)},
                     {"label", h.label},
                     {"kind", 1},
                     {"paddingLeft", true}});
    }
  }
  return out;
}

json language_session::code_actions(const open_document& doc, const json& params) const {
  json actions = json::array();
  if (!checks_.contains(doc.uri)) return actions;
  const json context = params.value("context", json::object());
  for (const json& asked : context.value("diagnostics", json::array())) {
    const int line = whole_number(asked.at("range").at("start").at("line"));
    for (const fix_value& fix : fixes_at(doc, line, asked.value("message", ""))) {
      const json edit = {{"range", range_json(position_of(doc.text, fix.from, units_),
                                              position_of(doc.text, fix.to, units_))},
                         {"newText", fix.text}};
      actions.push_back({{"title", fix.title},
                         {"kind", "quickfix"},
                         {"diagnostics", json::array({asked})},
                         {"isPreferred", true},
                         {"edit", {{"changes", {{doc.uri, json::array({edit})}}}}}});
    }
  }
  return actions;
}

json language_session::diagnostics_json(const open_document& doc,
                                        const document_check& checked) const {
  json list = json::array();
  const std::size_t shown = std::min(checked.found.size(), k_max_published_diagnostics);
  for (std::size_t i = 0; i < shown; ++i) {
    const diagnostic& d = checked.found[i];
    list.push_back(to_lsp(d));
    if (!checked.refused) continue;
    // The text did not convert: the character counts of the editor's line.
    const std::string_view row = line_text(doc.text, d.line - 1);
    std::size_t start = 0;
    for (int n = 1; n < d.column && start < row.size(); ++n) {
      ++start;
      while (start < row.size() && (static_cast<unsigned char>(row[start]) & 0xC0) == 0x80) ++start;
    }
    std::size_t end = start + (start < row.size() ? 1 : 0);
    while (end < row.size() && (static_cast<unsigned char>(row[end]) & 0xC0) == 0x80) ++end;
    list.back()["range"] = range_json({d.line - 1, units_in(row.substr(0, start), units_)},
                                      {d.line - 1, units_in(row.substr(0, end), units_)});
  }
  if (checked.found.size() > shown)
    list.push_back(
        {{"range", range_json({0, 0}, {0, 0})},
         {"severity", severity_number(severity::note)},
         {"source", "scenario_gen"},
         {"message", std::to_string(checked.found.size() - shown) +
                         " more diagnostics are left out: the editor is shown the "
                         "first " +
                         std::to_string(shown) + "; scenario_gen check lists them all"}});
  return list;
}

json language_session::range_of_field(const std::string& path, int line, int column) const {
  if (line <= 0) return range_json({0, 0}, {0, 0});
  const auto it = texts_.find(path);
  const std::string_view text = it == texts_.end() ? std::string_view() : it->second;
  const std::string_view row = line_text(text, line - 1);
  std::size_t start = column > 0 ? std::min<std::size_t>(column - 1, row.size()) : 0;
  std::size_t end = 0;
  if (column <= 0) {
    // No column: the line's text.
    start = row.find_first_not_of(" \t");
    if (start == row.npos) start = 0;
    end = row.size();
    while (end > start && (row[end - 1] == ' ' || row[end - 1] == '\t')) --end;
  } else {
    end = field_end(row, start);
  }
  return range_json({line - 1, client_character(row, start, units_)},
                    {line - 1, client_character(row, end, units_)});
}

json language_session::to_lsp(const diagnostic& d) const {
  json out = {{"range", range_of_field(d.file, d.line, d.column)},
              {"severity", severity_number(d.level)},
              {"source", "scenario_gen"},
              {"message", d.message}};
  if (d.code) {
    out["code"] = *d.code;
    if (!setup_.reference_uri.empty())
      out["codeDescription"] = {{"href", setup_.reference_uri + "#fault-codes"}};
  }
  if (!d.notes.empty()) {
    json related = json::array();
    for (const diagnostic& note : d.notes) {
      const std::string& file = note.file.empty() ? d.file : note.file;
      related.push_back(
          {{"location",
            {{"uri", uri_of(file)}, {"range", range_of_field(file, note.line, note.column)}}},
           {"message", note.message}});
    }
    out["relatedInformation"] = related;
  }
  return out;
}

}  // namespace scenario
