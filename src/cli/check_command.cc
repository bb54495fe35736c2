// check: every problem of a line and a train description in one pass,
// nothing written.
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/warning_options.h"
#include "common/diagnostic.h"
#include "common/json_text.h"
#include "model/scenario_constants.h"
#include "platform/files.h"
#include "platform/terminal.h"
#include "run/compile.h"
#include "run/diagnostics.h"
#include "sources/description_encoding.h"
#include "sources/scenario_names.h"

namespace scenario {
namespace {

std::string json_number(int n) {
  return n > 0 ? std::to_string(n) : "null";
}

std::string json_entry(const diagnostic& d) {
  std::string o = "{\"file\": " + (d.file.empty() ? "null" : json_string_utf8(d.file)) +
                  ", \"line\": " + json_number(d.line) + ", \"column\": " + json_number(d.column) +
                  ", \"severity\": \"" + severity_name(d.level) +
                  "\", \"code\": " + (d.code ? std::to_string(*d.code) : "null") +
                  ", \"message\": " + json_string_utf8(d.message);
  o += ", \"notes\": [";
  for (std::size_t i = 0; i < d.notes.size(); ++i)
    o += (i == 0 ? "" : ", ") + json_entry(d.notes[i]);
  return o + "]}";
}

// {"diagnostics": [...]}, one entry a line.
std::string json_document(const std::vector<diagnostic>& found) {
  std::string o = "{\"diagnostics\": [";
  for (std::size_t i = 0; i < found.size(); ++i)
    o += std::string(i == 0 ? "\n  " : ",\n  ") + json_entry(found[i]);
  return o + (found.empty() ? "]}\n" : "\n]}\n");
}

// The words "error:", "warning:" and "note:" of each line in colour.
std::string coloured(const std::string& text) {
  const std::pair<const char*, const char*> words[] = {
      {": error: ", "\x1b[1;31m"}, {": warning: ", "\x1b[1;35m"}, {": note: ", "\x1b[1;36m"}};
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(start, end - start);
    for (const auto& [word, colour] : words)
      if (const std::size_t at = line.find(word); at != std::string::npos) {
        line.insert(at + std::string_view(word).size() - 1, "\x1b[0m");
        line.insert(at + 2, colour);
        break;
      }
    out += line;
    start = end;
  }
  return out;
}

}  // namespace

int check_command(const command_options& o, command_start& start, std::ostream& out,
                  std::ostream& err) {
  const std::string format = o.format.value_or("text");
  // The option parser takes no other name.
  const description_encoding encoding = *encoding_named(o.encoding);
  const std::string& line_path = o.operands[0];
  const std::string& train_path = o.operands[1];
  std::string& line_text = start.line_text;
  std::string& train_text = start.train_text;
  const scenario_names& names = start.names;

  std::vector<diagnostic> found;
  for (const auto& [path, text] : {std::pair{&line_path, &line_text}, {&train_path, &train_text}})
    if (std::optional<diagnostic> refused = decode_description(*path, *text, encoding))
      found.push_back(std::move(*refused));
  if (found.empty()) {
    compile_input input{names.nome_linea,
                        names.numero_treno,
                        true,
                        {line_path, line_text},
                        {train_path, train_text}};
    input.trace_sources = true;
    input.keep_going = true;
    found = check_diagnostics(compile(input), line_text, train_text);
  }
  found = apply_warning_options(std::move(found), o);

  if (format == "json") {
    out << json_document(found);
  } else {
    std::string text;
    for (const diagnostic& d : found) text += format_diagnostic(d);
    err << (colour_on_stderr() ? coloured(text) : text);
    if (stderr_is_terminal()) err << count_line(found) << '\n';
  }
  return found.empty() ? k_status_ok : k_status_fault_pending;
}

}  // namespace scenario
