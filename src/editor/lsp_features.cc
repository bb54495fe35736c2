// The answers to the editor's requests about one document.
#include <algorithm>

#include "common/utf8_text.h"
#include "editor/lsp_session.h"
#include "editor/quick_fixes.h"

namespace scenario {
namespace {

json position_json(int line, int character) {
  return {{"line", line}, {"character", character}};
}

}  // namespace

std::string language_session::utf8_line(const std::string& path, int line) const {
  const auto it = texts_.find(path);
  if (it == texts_.end()) return {};
  return utf8_from_1252(line_text(it->second, line));
}

json language_session::edit_of(const open_document& doc, std::size_t from, std::size_t to,
                               const std::string& text) const {
  const text_position a = position_of(doc.text, from, units_);
  const text_position b = position_of(doc.text, to, units_);
  return {{"range",
           {{"start", position_json(a.line, a.character)},
            {"end", position_json(b.line, b.character)}}},
          {"newText", text}};
}

json language_session::code_actions(const open_document& doc, const json& params) const {
  json actions = json::array();
  const auto checked = checks_.find(doc.uri);
  if (checked == checks_.end()) return actions;
  const json context = params.value("context", json::object());
  for (const json& asked : context.value("diagnostics", json::array())) {
    const int line = asked.at("range").at("start").at("line").get<int>();
    const std::string message = asked.value("message", "");
    // The diagnostic the editor shows, as the last check found it.
    const auto d = std::find_if(
        checked->second.found.begin(), checked->second.found.end(),
        [&](const diagnostic& x) { return x.line == line + 1 && x.message == message; });
    if (d == checked->second.found.end()) continue;
    const std::string_view row = line_text(checked->second.text_1252, line);
    const std::size_t start = d->column > 0 ? static_cast<std::size_t>(d->column - 1) : 0;
    // The editor's line matches the compiled one character for character.
    const std::size_t line_at = line_start(doc.text, line);
    auto offset = [&](std::size_t chars) {
      return line_at + utf8_from_1252(row.substr(0, chars)).size();
    };
    for (const line_fix& fix : fixes_for(message, row, start)) {
      json edit = edit_of(doc, offset(fix.first), offset(fix.last), utf8_from_1252(fix.text));
      actions.push_back({{"title", fix.title},
                         {"kind", "quickfix"},
                         {"diagnostics", json::array({asked})},
                         {"isPreferred", true},
                         {"edit", {{"changes", {{doc.uri, json::array({edit})}}}}}});
    }
  }
  return actions;
}

json language_session::document_symbols(const open_document&) const {
  return json::array();
}
json language_session::formatting(const open_document&) const {
  return json::array();
}
json language_session::hover(const open_document&, text_position) const {
  return nullptr;
}
json language_session::completion(const open_document&, text_position) const {
  return json::array();
}
json language_session::inlay_hints(const open_document&, const json&) const {
  return json::array();
}

}  // namespace scenario
