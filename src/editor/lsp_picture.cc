// The picture in the editor: the command scenario_gen.showPicture starts,
// once per server, the page of watch --serve on 127.0.0.1, drawn from the
// open descriptions' unsaved texts; a click on an object of the page shows
// its record in the editor (window/showDocument), and the notification
// scenario_gen/cursor marks on the page the objects of the record under the
// editor's cursor.
#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "editor/file_uri.h"
#include "editor/lsp_session.h"
#include "model/scenario_constants.h"
#include "platform/files.h"
#include "platform/page_server.h"
#include "run/diagnostics.h"
#include "sources/record_places.h"
#include "sources/scenario_names.h"

namespace scenario {
namespace {

constexpr int k_invalid_params = -32602;
constexpr int k_internal_error = -32603;

// A whole number written alone in text, blanks around it allowed.
std::optional<int> number_in(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  int n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

// The line (from 1) of the line description's record that starts the
// stretch a picture draws from metres on: of the curve records, the one
// starting nearest it (the picture measures a curve off the plan); of the
// gradient records, the last that starts within the cell at metres or
// before it. Nothing when the description has no record of the kind.
std::optional<int> stretch_record(std::string_view text, line_record kind, int metres) {
  std::optional<int> found;
  long best = 0;
  for (const record_place& r : read_record_places(description_format::line, text)) {
    if (r.header || r.kinds.empty() || r.values.empty() ||
        r.kinds.front()->kind != static_cast<int>(kind))
      continue;
    const std::string_view row = r.row(text);
    const field_span first = r.values.front();
    const std::optional<int> start =
        first.last <= row.size() ? number_in(row.substr(first.first, first.last - first.first))
                                 : std::nullopt;
    if (!start) continue;
    if (kind == line_record::curve) {
      const long off = std::labs(static_cast<long>(*start) - metres);
      if (!found || off < best) found = r.line + 1, best = off;
    } else if (*start < static_cast<long>(metres) + k_cell_metres) {
      found = r.line + 1;
    }
  }
  return found;
}

// The record a page names: "line:12" or "train:7", its description's origin
// and line; "curve:M" or "gradient:M", the line description's record of that
// stretch (stretch_record); nothing for anything else.
std::optional<source_ref> record_named(std::string_view record, std::string_view line_description) {
  const std::size_t colon = record.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view what = record.substr(0, colon);
  const std::string_view digits = record.substr(colon + 1);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  const std::optional<int> number = number_in(digits);
  if (!number) return std::nullopt;
  std::optional<int> line;
  if (what == "line" || what == "train") line = *number;
  if (what == "curve") line = stretch_record(line_description, line_record::curve, *number);
  if (what == "gradient") line = stretch_record(line_description, line_record::gradient, *number);
  if (!line || *line <= 0) return std::nullopt;
  return source_ref{what == "train" ? fault_origin::train_file : fault_origin::line_file, *line};
}

}  // namespace

json language_session::show_picture(const json& params) {
  if (params.at("command").get<std::string>() != "scenario_gen.showPicture")
    throw request_error{k_invalid_params, "no command " + params["command"].dump()};
  const std::string uri = params.at("arguments").at(0).get<std::string>();
  const auto checked = checks_.find(uri);
  if (!documents_.contains(uri) || checked == checks_.end() || !checked->second.compiled)
    throw request_error{k_invalid_params,
                        "'" + uri + "' is not an open description checked with its pair"};
  if (!picture_) {
    picture_ = setup_.start_picture ? setup_.start_picture() : nullptr;
    if (!picture_) throw request_error{k_internal_error, std::string(page_server_missing())};
    picture_->take_selections([requests = page_requests_, wake = wake_](std::string body) {
      {
        const std::lock_guard lock(requests->mutex);
        requests->bodies.push_back(std::move(body));
      }
      if (wake) wake();
    });
  }
  const document_check& check = checked->second;
  picture_uri_ = uri;
  picture_line_ = check.input.line.name;
  picture_train_ = check.input.train.name;
  draw_picture();
  const std::string address = "http://127.0.0.1:" + std::to_string(picture_->port()) + "/";
  if (client_shows_documents_)
    outgoing_.push_back(show_document({{"uri", address}, {"external", true}}));
  return address;
}

void language_session::draw_picture() {
  const auto start = std::chrono::steady_clock::now();
  std::vector<diagnostic> refused;
  compile_input input;
  std::string line_text, train_text;
  for (const auto& [path, text, into] : {std::tuple{&picture_line_, &line_text, &input.line},
                                         std::tuple{&picture_train_, &train_text, &input.train}}) {
    std::optional<diagnostic> why;
    const std::optional<std::string> read = text_1252(*path, why);
    if (why) refused.push_back(*why);
    if (read) texts_[*path] = *read;
    *into = description(*path, read ? (*text = *read) : std::string_view());
    if (!read) {
      into->text.reset();
      into->exists = file_exists(*path);
    }
  }
  std::tie(input.nome_linea, input.numero_treno) = names_from_files(picture_line_, picture_train_);
  if (input.nome_linea.empty()) input.nome_linea = "linea";
  if (input.numero_treno.empty()) input.numero_treno = "0";
  input.trace_sources = true;
  // A description that cannot be made Windows-1252 is not compiled, as
  // watch does.
  const compile_result r = refused.empty() ? compile(input) : compile_result{};
  std::vector<diagnostic> found =
      refused.empty() ? compile_diagnostics(r, /*with_warnings=*/true) : std::move(refused);
  if (!r.stamp_conflict.empty()) found.push_back(stamp_conflict_diagnostic(r));
  const bool good = r.has_grid() && r.st.faults.empty() && r.stamp_conflict.empty();
  picture_->show(name_of(picture_line_) + " and " + name_of(picture_train_), r, good,
                 std::move(found), start);
  picture_->mark(marked_);
}

void language_session::mark_cursor(const json& params) {
  const open_document* doc = find(params);
  if (doc == nullptr || !picture_) return;
  const int line = whole_number(params.at("position").at("line"));
  std::string record;
  if (doc->path == picture_line_ || doc->path == picture_train_)
    record =
        std::string(doc->path == picture_line_ ? "line:" : "train:") + std::to_string(line + 1);
  if (record == marked_) return;
  marked_ = record;
  picture_->mark(marked_);
}

void language_session::take_page_requests() {
  std::vector<std::string> bodies;
  {
    const std::lock_guard lock(page_requests_->mutex);
    bodies.swap(page_requests_->bodies);
  }
  for (const std::string& body : bodies) {
    const json asked = json::parse(body, nullptr, false);
    if (!asked.is_object() || !asked.contains("record") || !asked["record"].is_string()) continue;
    const auto line_text = texts_.find(picture_line_);
    const std::optional<source_ref> record =
        record_named(asked["record"].get<std::string>(),
                     line_text == texts_.end() ? std::string_view() : line_text->second);
    if (!record || !client_shows_documents_) continue;
    const std::string& path =
        record->origin == fault_origin::line_file ? picture_line_ : picture_train_;
    // A line past the description's end names no record.
    const auto text = texts_.find(path);
    if (text == texts_.end() ||
        record->line > std::count(text->second.begin(), text->second.end(), '\n') + 1)
      continue;
    outgoing_.push_back(show_document({{"uri", uri_of(path)},
                                       {"selection", range_of_field(path, record->line, 0)},
                                       {"takeFocus", true}}));
  }
}

json language_session::show_document(json params) {
  return {{"jsonrpc", "2.0"},
          {"id", "scenario_gen/" + std::to_string(++requests_made_)},
          {"method", "window/showDocument"},
          {"params", std::move(params)}};
}

}  // namespace scenario
