#include "editor/lsp_session.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "editor/file_uri.h"
#include "model/scenario_constants.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "run/compile.h"
#include "run/diagnostics.h"
#include "sources/description_encoding.h"
#include "sources/scenario_names.h"

namespace scenario {
namespace {

constexpr int k_method_not_found = -32601;
constexpr int k_invalid_params = -32602;
constexpr int k_not_initialized = -32002;
constexpr int k_invalid_request = -32600;
constexpr int k_parse_error = -32700;

// Thrown out of a check whose cancel flag is set, at the next step.
struct check_cancelled {};

}  // namespace

int whole_number(const json& value) {
  if (value.is_number_integer()) {
    // Signed or unsigned, compared without a conversion that could wrap.
    if (value.is_number_unsigned()) {
      if (value.get<std::uint64_t>() <= static_cast<std::uint64_t>(INT_MAX))
        return static_cast<int>(value.get<std::uint64_t>());
    } else if (const std::int64_t n = value.get<std::int64_t>(); n >= INT_MIN && n <= INT_MAX) {
      return static_cast<int>(n);
    }
  }
  throw json::type_error::create(302,
                                 "a line, character or version must be a whole number "
                                 "from -2147483648 to 2147483647",
                                 nullptr);
}

namespace {

// A position as a message gives it, its line and character each a
// whole_number.
text_position position_of(const json& position) {
  return {whole_number(position.at("line")), whole_number(position.at("character"))};
}

}  // namespace

std::optional<json> language_session::parse_body(const std::string& body,
                                                 std::vector<json>& out) const {
  bool too_deep = false;
  // Values nested too deep are left out as they are read, and the message
  // with them.
  json message = json::parse(
      body,
      [&](int depth, json::parse_event_t, const json&) {
        if (depth >= k_max_message_depth) too_deep = true;
        return !too_deep;
      },
      false);
  if (too_deep || message.is_discarded()) {
    out.push_back(
        {{"jsonrpc", "2.0"},
         {"id", nullptr},
         {"error", too_deep
                       ? json{{"code", k_invalid_request},
                              {"message", "the message nests deeper than " +
                                              std::to_string(k_max_message_depth) + " levels"}}
                       : json{{"code", k_parse_error}, {"message", "the message is not JSON"}}}});
    return std::nullopt;
  }
  return message;
}

void language_session::handle_body(const std::string& body, std::vector<json>& out) {
  if (const std::optional<json> message = parse_body(body, out)) handle(*message, out);
}

void language_session::handle(const json& message, std::vector<json>& out) {
  if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
    // A response to a request of ours (the session makes none) or junk.
    if (message.is_object() && message.contains("id") && !message.contains("result") &&
        !message.contains("error"))
      out.push_back({{"jsonrpc", "2.0"},
                     {"id", message["id"]},
                     {"error", {{"code", k_invalid_request}, {"message", "no method"}}}});
    return;
  }
  const std::string method = message["method"];
  const json params = message.value("params", json::object());
  const bool is_request = message.contains("id");
  if (!is_request) {
    if (method == "exit") {
      ended_ = true;
    } else if (!initialized_ || shut_down_) {
      // Notifications before initialize or after shutdown are dropped.
    } else {
      // A notification gets no answer: one with the wrong fields is dropped
      // with what it would have changed.
      try {
        if (method == "textDocument/didOpen") open(params);
        if (method == "textDocument/didChange") change(params);
        if (method == "textDocument/didClose") close(params);
        if (method == "scenario_gen/cursor") mark_cursor(params);
        // A description saved or changed on disk may be the one an open
        // description is checked against.
        if (method == "workspace/didChangeWatchedFiles" || method == "textDocument/didSave")
          for (const auto& [uri, doc] : documents_) pending_.insert(uri);
      } catch (const json::exception&) {
      }
    }
    return;
  }
  // A request about the documents sees the edits before it checked.
  if (initialized_ && !shut_down_ && method != "shutdown") check_pending(out);
  json reply = {{"jsonrpc", "2.0"}, {"id", message["id"]}};
  try {
    reply["result"] = answer(method, params);
  } catch (const request_error& e) {
    reply["error"] = {{"code", e.code}, {"message", e.message}};
  } catch (const json::exception& e) {
    reply["error"] = {{"code", k_invalid_params}, {"message", e.what()}};
  }
  out.push_back(std::move(reply));
  // A request of the session's own that the answer makes (showDocument).
  for (json& request : outgoing_) out.push_back(std::move(request));
  outgoing_.clear();
}

json language_session::answer(const std::string& method, const json& params) {
  if (method == "initialize") {
    // The protocol allows one initialize; a second is a request the server
    // cannot act on, which JSON-RPC answers with InvalidRequest.
    if (initialized_) throw request_error{k_invalid_request, "the server is already initialized"};
    return initialize(params);
  }
  if (!initialized_) throw request_error{k_not_initialized, "initialize first"};
  if (method == "shutdown") {
    shut_down_ = true;
    return nullptr;
  }
  if (shut_down_) throw request_error{k_invalid_request, "the server is shut down"};
  if (method == "workspace/executeCommand") return show_picture(params);
  static const std::set<std::string> k_document_methods = {
      "textDocument/documentSymbol", "textDocument/formatting", "textDocument/codeAction",
      "textDocument/hover",          "textDocument/completion", "textDocument/inlayHint"};
  if (!k_document_methods.contains(method))
    throw request_error{k_method_not_found, "no method " + method};
  const open_document* doc = find(params);
  if (doc != nullptr) return answer_about(method, *doc, params);
  return method == "textDocument/hover" ? json(nullptr) : json::array();
}

json language_session::initialize(const json& params) {
  initialized_ = true;
  const json encodings = params.value("capabilities", json::object())
                             .value("general", json::object())
                             .value("positionEncodings", json::array());
  if (encodings.is_array() &&
      std::find(encodings.begin(), encodings.end(), "utf-8") != encodings.end())
    units_ = position_units::utf8;
  json capabilities = {
      {"positionEncoding", units_ == position_units::utf8 ? "utf-8" : "utf-16"},
      {"textDocumentSync", {{"openClose", true}, {"change", 2}}},
      {"documentSymbolProvider", true},
      {"documentFormattingProvider", true},
      {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
      {"hoverProvider", true},
      {"completionProvider", {{"triggerCharacters", json::array()}}},
      {"inlayHintProvider", true},
      {"executeCommandProvider", {{"commands", {"scenario_gen.showPicture"}}}},
  };
  const json show_document = params.value("capabilities", json::object())
                                 .value("window", json::object())
                                 .value("showDocument", json::object())
                                 .value("support", json(false));
  client_shows_documents_ = show_document.is_boolean() && show_document.get<bool>();
  return {{"capabilities", capabilities}, {"serverInfo", {{"name", "scenario_gen"}}}};
}

const open_document* language_session::find(const json& params) const {
  const std::string uri = params.at("textDocument").at("uri").get<std::string>();
  const auto it = documents_.find(uri);
  return it == documents_.end() ? nullptr : &it->second;
}

void language_session::open(const json& params) {
  const json& item = params.at("textDocument");
  open_document doc;
  doc.uri = item.at("uri").get<std::string>();
  doc.path = path_of_uri(doc.uri).value_or(doc.uri);
  doc.text = item.at("text").get<std::string>();
  doc.version = item.contains("version") ? whole_number(item["version"]) : 0;
  doc.kind = kind_of_description(name_of(doc.path));
  const std::string uri = doc.uri;
  documents_[uri] = std::move(doc);
  mark_for_check(uri);
}

void language_session::change(const json& params) {
  const auto it = documents_.find(params.at("textDocument").at("uri").get<std::string>());
  if (it == documents_.end()) return;
  open_document& doc = it->second;
  // Checked again even when a change below turns out malformed.
  mark_for_check(doc.uri);
  if (const json& named = params.at("textDocument"); named.contains("version"))
    doc.version = whole_number(named["version"]);
  for (const json& change : params.at("contentChanges")) {
    const std::string text = change.at("text").get<std::string>();
    if (!change.contains("range")) {
      doc.text = text;
      continue;
    }
    const json& range = change.at("range");
    replace_range(doc.text, position_of(range.at("start")), position_of(range.at("end")), text,
                  units_);
  }
}

void language_session::close(const json& params) {
  const auto it = documents_.find(params.at("textDocument").at("uri").get<std::string>());
  if (it == documents_.end()) return;
  const open_document doc = it->second;
  documents_.erase(it);
  checks_.erase(doc.uri);
  pending_.erase(doc.uri);
  closed_.push_back(doc.uri);
  // Its train descriptions now read the line description from the disk.
  if (doc.kind == description_kind::line)
    for (const auto& [uri, other] : documents_)
      if (other.kind == description_kind::train) pending_.insert(uri);
}

void language_session::mark_for_check(const std::string& uri) {
  pending_.insert(uri);
  const open_document& doc = documents_.at(uri);
  if (doc.kind != description_kind::line) return;
  // An edit of a line description re-checks the open train descriptions
  // that are checked against it.
  for (const auto& [other_uri, other] : documents_) {
    if (other.kind != description_kind::train || folder_of(other.path) != folder_of(doc.path))
      continue;
    if (line_for_train(name_of(other.path), folder_names(folder_of(other.path))) ==
        name_of(doc.path))
      pending_.insert(other_uri);
  }
}

void language_session::check_pending(std::vector<json>& out) {
  publish_closed(out);
  const std::atomic<bool> never_cancelled = false;
  while (std::optional<check_job> job = take_check()) {
    run_check(*job, never_cancelled);
    finish_check(*job, out);
  }
  serve_page(out);
}

bool language_session::check_waiting() const {
  return initialized_ && !shut_down_ && !pending_.empty();
}

void language_session::publish_closed(std::vector<json>& out) {
  for (const std::string& uri : closed_)
    out.push_back({{"jsonrpc", "2.0"},
                   {"method", "textDocument/publishDiagnostics"},
                   {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
  closed_.clear();
}

std::optional<check_job> language_session::take_check() {
  while (!pending_.empty()) {
    const std::string uri = *pending_.begin();
    pending_.erase(pending_.begin());
    if (!documents_.contains(uri)) continue;
    check_job job;
    job.uri = uri;
    // What a check reads; the results of earlier checks it does not need.
    job.view = std::make_unique<language_session>(setup_);
    job.view->units_ = units_;
    job.view->initialized_ = initialized_;
    job.view->documents_ = documents_;
    job.view->texts_ = texts_;
    return job;
  }
  return std::nullopt;
}

void language_session::run_check(check_job& job, const std::atomic<bool>& cancelled) {
  language_session& view = *job.view;
  view.cancelled_ = &cancelled;
  try {
    job.published = view.publish(view.documents_.at(job.uri));
  } catch (const check_cancelled&) {
    job.cancelled = true;
  }
  view.cancelled_ = nullptr;
}

bool language_session::outdated(const check_job& job) const {
  return pending_.contains(job.uri) || !documents_.contains(job.uri);
}

void language_session::finish_check(check_job& job, std::vector<json>& out) {
  if (job.cancelled || outdated(job)) return;
  checks_[job.uri] = std::move(job.view->checks_[job.uri]);
  for (auto& [path, text] : job.view->texts_) texts_[path] = std::move(text);
  out.push_back(std::move(job.published));
  // The picture follows the edits of its pair once their diagnostics are out.
  const std::string& path = documents_.at(job.uri).path;
  if (picture_ && (path == picture_line_ || path == picture_train_)) draw_picture();
}

void language_session::serve_page(std::vector<json>& out) {
  take_page_requests();
  for (json& request : outgoing_) out.push_back(std::move(request));
  outgoing_.clear();
}

void language_session::stop_when_cancelled() const {
  if (cancelled_ != nullptr && cancelled_->load()) throw check_cancelled{};
}

std::vector<std::string> language_session::folder_names(const std::string& folder) const {
  std::vector<std::string> names;
  try {
    names = regular_files_in(folder.empty() ? "." : folder);
  } catch (const io_error&) {
  }
  for (const auto& [uri, doc] : documents_)
    if (folder_of(doc.path) == folder) names.push_back(name_of(doc.path));
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

const open_document* language_session::document_at(const std::string& path) const {
  for (const auto& [uri, doc] : documents_)
    if (doc.path == path) return &doc;
  return nullptr;
}

std::optional<std::string> language_session::text_1252(const std::string& path,
                                                       std::optional<diagnostic>& refused) const {
  if (const open_document* doc = document_at(path)) {
    std::string text = doc->text;
    // An editor holds Unicode text: it is read as --encoding utf-8 reads a file.
    refused = decode_description(path, text, description_encoding::utf8);
    if (refused) return std::nullopt;
    return text;
  }
  try {
    return read_description_text(path);
  } catch (const io_error&) {
    return std::nullopt;
  }
}

namespace {

std::string in_folder(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

diagnostic note_on(const std::string& path, std::string message) {
  diagnostic d;
  d.level = severity::note;
  d.file = path;
  d.message = std::move(message);
  return d;
}

}  // namespace

bool language_session::pair_of(const open_document& doc, std::string& line_path,
                               std::string& train_path) const {
  const std::string folder = folder_of(doc.path);
  const std::vector<std::string> names = folder_names(folder);
  if (doc.kind == description_kind::train) {
    train_path = doc.path;
    const std::optional<std::string> line = line_for_train(name_of(doc.path), names);
    if (!line) return false;
    line_path = in_folder(folder, *line);
    return true;
  }
  line_path = doc.path;
  // The open train descriptions checked against it, else those on disk.
  for (const bool open_ones : {true, false})
    for (const std::string& name : names) {
      if (kind_of_description(name) != description_kind::train) continue;
      if ((document_at(in_folder(folder, name)) != nullptr) != open_ones) continue;
      if (line_for_train(name, names) == name_of(doc.path)) {
        train_path = in_folder(folder, name);
        return true;
      }
    }
  return true;
}

void language_session::compile_pair(const std::string& line_path, const std::string& train_path,
                                    const std::string& line_text, const std::string& train_text,
                                    document_check& result) const {
  compile_input input;
  if (!train_path.empty())
    std::tie(input.nome_linea, input.numero_treno) = names_from_files(line_path, train_path);
  if (input.nome_linea.empty()) input.nome_linea = "linea";
  if (input.numero_treno.empty()) input.numero_treno = "0";
  input.line = description(line_path, line_text);
  input.train = description(
      train_path.empty() ? in_folder(folder_of(line_path), "-.txt") : train_path, train_text);
  input.keep_going = true;
  // Which record holds a cell is traced only when a note needs it (a fault
  // on a taken cell, or a stamp conflict), as compile does: every other
  // edit costs one compile.
  stop_when_cancelled();
  compile_result compiled = compile(input);
  stop_when_cancelled();
  if (compiled.notes_need_sources()) {
    input.trace_sources = true;
    compiled = compile(input);
    result.sources = compiled.sources;
    stop_when_cancelled();
  }
  result.compiled = true;
  result.line_text = line_text;
  result.train_text = train_text;
  // The input's texts view strings of this call: the check keeps its own
  // copies above, and whoever compiles it again points the input at them.
  result.input = input;
  result.input.line.text.reset();
  result.input.train.text.reset();
  if (compiled.has_grid()) result.references = km_references(compiled.st.stazioni);
  const std::string& own_path = result.own_is_line ? line_path : train_path;
  for (diagnostic& d : check_diagnostics(compiled, line_text, train_text))
    if (d.file == own_path || d.file.empty()) result.found.push_back(std::move(d));
}

document_check language_session::check(const open_document& doc) {
  document_check result;
  std::optional<diagnostic> refused;
  const std::optional<std::string> own = text_1252(doc.path, refused);
  if (refused) {
    result.found.push_back(*refused);
    result.refused = true;
    return result;
  }
  if (!own || doc.kind == description_kind::other) return result;
  result.text_1252 = *own;
  result.places = read_record_places(format_of(name_of(doc.path)), result.text_1252);
  texts_[doc.path] = *own;
  std::string line_path, train_path;
  if (!pair_of(doc, line_path, train_path)) {
    result.found.push_back(
        note_on(doc.path,
                "no line description to check it against: keep NAME_linea.txt in the same folder"));
    return result;
  }
  std::optional<diagnostic> other_refused;
  result.own_is_line = line_path == doc.path;
  const std::string& other_path = result.own_is_line ? train_path : line_path;
  std::optional<std::string> other;
  if (!other_path.empty()) other = text_1252(other_path, other_refused);
  if (!result.own_is_line && !other) {
    // Without its line description the train description is not compiled.
    result.found.push_back(note_on(
        doc.path, "not checked: its line description '" + name_of(line_path) + "' " +
                      (other_refused ? "holds a character Windows-1252 lacks" : "cannot be read")));
    return result;
  }
  const std::string empty;
  const std::string& other_text = other ? *other : empty;
  compile_pair(line_path, train_path, result.own_is_line ? *own : other_text,
               result.own_is_line ? other_text : *own, result);
  if (other) texts_[other_path] = *other;
  stop_when_cancelled();
  return result;
}

json language_session::publish(const open_document& doc) {
  document_check checked = check(doc);
  json list = diagnostics_json(doc, checked);
  checks_[doc.uri] = std::move(checked);
  return {{"jsonrpc", "2.0"},
          {"method", "textDocument/publishDiagnostics"},
          {"params", {{"uri", doc.uri}, {"version", doc.version}, {"diagnostics", list}}}};
}

std::string language_session::uri_of(const std::string& path) const {
  if (const open_document* doc = document_at(path)) return doc->uri;
  return uri_of_path(path);
}

}  // namespace scenario
