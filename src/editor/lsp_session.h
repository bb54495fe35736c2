// One editor's session with the language server: its open documents, what
// each check found, and the answers to its requests. It speaks JSON values;
// serve_language moves them on and off the byte streams.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/diagnostic.h"
#include "editor/language_server.h"
#include "editor/lsp_values.h"
#include "editor/pairing.h"
#include "editor/text_positions.h"
#include "inspect/route_facts.h"
#include "run/compile.h"
#include "sources/record_places.h"

namespace scenario {

using json = nlohmann::json;

// A line, a character or a version as a message gives it: a whole number
// that an int holds. Anything else (a fraction, a text, a number beyond that
// range) throws json::type_error, so that the message is refused as one with
// bad fields rather than converted by a cast that has no defined result.
int whole_number(const json& value);

// The deepest nesting of arrays and objects a message may hold. The
// protocol's messages nest a dozen levels at most; copying and writing a
// JSON value recurse once per level, so a deeper one, which only a broken
// or hostile client sends, would exhaust the stack.
inline constexpr int k_max_message_depth = 64;

// A request the session refuses, with the protocol's error code.
struct request_error {
  int code;
  std::string message;
};

struct open_document {
  std::string uri;
  std::string path;
  std::string text;  // UTF-8, as the editor holds it
  int version = 0;
  description_kind kind = description_kind::other;
};

// What the last check of a document found.
struct document_check {
  std::vector<diagnostic> found;         // the document's own, in source order
  std::vector<km_reference> references;  // the line's kilometric references
  std::string text_1252;                 // the text compiled, when it converted
  // Where text_1252's records stand, read once per check for every feature
  // that looks at them (hover, completion, outline, hints).
  std::vector<record_place> places;
  bool refused = false;  // the text has a character Windows-1252 lacks
  // What was compiled, to compile again with the records' cells traced
  // when a hover asks which cells a record set; its texts are unset (they
  // viewed strings gone since): line_text and train_text below hold them.
  compile_input input;
  std::string line_text, train_text;
  bool own_is_line = false;
  bool compiled = false;
  std::optional<source_map> sources;  // once traced
};

// The most diagnostics published for one document: an editor slows down
// with more, and a description with a fault on every record has thousands.
// One more diagnostic says how many were left out.
inline constexpr std::size_t k_max_published_diagnostics = 1000;

// The protocol's error for a request the client cancelled, or that the
// server gave up because the session ended before it could be answered.
inline constexpr int k_request_cancelled = -32800;

class language_session;

// The check of one document taken out of the session, to run apart from it
// (on a thread of its own) while the session goes on reading messages.
struct check_job {
  std::string uri;
  // A copy of the session as it was when the check was taken: the check
  // reads its documents and leaves its result there.
  std::unique_ptr<language_session> view;
  json published;          // the diagnostics to publish, once run
  bool cancelled = false;  // it stopped before its end
};

class language_session {
 public:
  explicit language_session(const server_setup& setup) : setup_(setup) {}

  // The message in body: JSON nested no deeper than k_max_message_depth;
  // otherwise nothing, and an error goes back with a null id.
  std::optional<json> parse_body(const std::string& body, std::vector<json>& out) const;
  // Acts on one message's body as it came (parse_body, then handle).
  void handle_body(const std::string& body, std::vector<json>& out);
  // Acts on one message, appending what goes back to the client.
  void handle(const json& message, std::vector<json>& out);
  // Checks the documents whose text changed since their last check and
  // publishes their diagnostics: called when no message is waiting, so
  // that edits arriving faster than a compile are checked once.
  void check_pending(std::vector<json>& out);

  // The same in steps, for a server that checks on another thread: whether
  // a check waits; the emptied diagnostics of the documents closed since the
  // last check; the next check to run (nothing when none waits); its run,
  // which stops early once cancelled is set; and its result taken back,
  // published unless the document changed or closed since it was taken.
  bool check_waiting() const;
  void publish_closed(std::vector<json>& out);
  std::optional<check_job> take_check();
  static void run_check(check_job& job, const std::atomic<bool>& cancelled);
  void finish_check(check_job& job, std::vector<json>& out);
  // Whether the document of job changed (or closed) since it was taken: its
  // result would be stale.
  bool outdated(const check_job& job) const;

  // Has wake called, from another thread, when a page of the picture asks
  // for something: the caller then calls serve_page, which answers it.
  void on_page_request(std::function<void()> wake) { wake_ = std::move(wake); }
  // What the page asked for, answered: the editor's documents to show.
  void serve_page(std::vector<json>& out);

  bool ended() const { return ended_; }
  bool shut_down() const { return shut_down_; }
  int exit_status() const { return shut_down_ ? 0 : 1; }

 private:
  json answer(const std::string& method, const json& params);
  json initialize(const json& params);
  void open(const json& params);
  void change(const json& params);
  void close(const json& params);
  void mark_for_check(const std::string& uri);

  // The text of the description at path as the compile reads it: the
  // editor's unsaved text converted to Windows-1252, or the file's bytes.
  // A conversion failure comes back in refused.
  std::optional<std::string> text_1252(const std::string& path,
                                       std::optional<diagnostic>& refused) const;
  std::vector<std::string> folder_names(const std::string& folder) const;
  const open_document* document_at(const std::string& path) const;
  document_check check(const open_document& doc);
  // The line and train description a check of doc compiles together (the
  // train's path empty when the line has none); false when a train
  // description has no line description beside it.
  bool pair_of(const open_document& doc, std::string& line_path, std::string& train_path) const;
  // Compiles the pair, keeping what the check of the document found in result
  // (whose own_is_line is set).
  void compile_pair(const std::string& line_path, const std::string& train_path,
                    const std::string& line_text, const std::string& train_text,
                    document_check& result) const;
  json publish(const open_document& doc);

  std::string uri_of(const std::string& path) const;

  // Features (lsp_features.cc): what each finds, as values.
  std::vector<symbol_value> document_symbols(const open_document& doc) const;
  std::vector<line_edit> formatting(const open_document& doc) const;
  // The fixes for the diagnostic with message on line (from 0) the last
  // check found.
  std::vector<fix_value> fixes_at(const open_document& doc, int line,
                                  const std::string& message) const;
  std::optional<hover_value> hover(const open_document& doc, editor_place at) const;
  std::vector<completion_value> completion(const open_document& doc, editor_place at) const;
  // The hints on lines first to last (from 0).
  std::vector<inlay_value> inlay_hints(const open_document& doc, int first, int last) const;

  // The protocol (lsp_protocol.cc): a document request's answer from its
  // feature's values, the diagnostics published, and every place converted
  // between the client's units and the text's.
  json answer_about(const std::string& method, const open_document& doc, const json& params) const;
  editor_place place_in(const open_document& doc, const json& position) const;
  json code_actions(const open_document& doc, const json& params) const;
  json diagnostics_json(const open_document& doc, const document_check& checked) const;
  json to_lsp(const diagnostic& d) const;
  json range_of_field(const std::string& path, int line, int column) const;

  const open_document* find(const json& params) const;
  // Stops a check run by run_check once its cancel flag is set.
  void stop_when_cancelled() const;

  // The picture (lsp_picture.cc): the command that opens its page, the
  // page drawn again after a check, the cursor's record marked on it, and
  // a click on it shown in the editor.
  json show_picture(const json& params);
  void draw_picture();
  void mark_cursor(const json& params);
  void take_page_requests();
  json show_document(json params);

  server_setup setup_;
  position_units units_ = position_units::utf16;
  bool initialized_ = false;
  bool shut_down_ = false;
  bool ended_ = false;
  std::map<std::string, open_document> documents_;        // by URI
  mutable std::map<std::string, document_check> checks_;  // by URI
  std::set<std::string> pending_;                         // URIs to check
  std::vector<std::string> closed_;                       // URIs whose diagnostics go
  // The Windows-1252 text each description was last compiled from, by path:
  // the fields the diagnostics' ranges cover.
  std::map<std::string, std::string> texts_;

  // What the session sends the client unasked after its answer to a request
  // or with the diagnostics: its own requests.
  std::vector<json> outgoing_;
  int requests_made_ = 0;
  bool client_shows_documents_ = false;  // window/showDocument is supported
  // The page of the picture once asked for, the description it was asked
  // for and the record marked; the pair it shows (paths).
  std::unique_ptr<picture_page> picture_;
  std::string picture_uri_;
  std::string picture_line_, picture_train_;
  std::string marked_;
  std::function<void()> wake_;
  // The bodies posted by the page's clicks, taken on the server's thread.
  struct page_requests {
    std::mutex mutex;
    std::vector<std::string> bodies;
  };
  std::shared_ptr<page_requests> page_requests_ = std::make_shared<page_requests>();
  // Set while run_check runs on a copy of the session.
  const std::atomic<bool>* cancelled_ = nullptr;
};

}  // namespace scenario
