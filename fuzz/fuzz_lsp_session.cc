// The language server's input side. The first byte chooses how the rest is
// read:
// - as the byte stream an editor writes: framed messages, each parsed and
//   handed to a session that the harness has initialized, the pending
//   checks run whenever the stream pauses, every answer serialized;
// - as a script of editor actions on three documents of one folder (a line
//   description and two train descriptions): opens and edits with any text
//   and any range, hovers, completions, formatting, outlines, inlay hints
//   and the quick fixes of the diagnostics last published, with positions
//   of every JSON type and size.
// The documents' folder does not exist, so nothing is read from the disk.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/lsp_setup.h"
#include "editor/lsp_session.h"
#include "editor/rpc_framing.h"
#include "fuzz_support.h"

namespace scenario {
namespace {

// What the server writes for each answer: it must serialize, whatever the
// text it quotes.
void serialize(std::vector<json>& out) {
  for (const json& m : out)
    if (m.dump(-1, ' ', false, json::error_handler_t::replace).empty()) __builtin_trap();
  out.clear();
}

json initialize_message(bool utf8) {
  json caps = json::object();
  if (utf8) caps["general"]["positionEncodings"] = {"utf-8", "utf-16"};
  return {{"jsonrpc", "2.0"},
          {"id", 0},
          {"method", "initialize"},
          {"params", {{"capabilities", caps}}}};
}

class script {
 public:
  explicit script(std::string_view bytes) : bytes_(bytes) {}
  bool done() const { return at_ >= bytes_.size(); }
  std::uint8_t byte() { return done() ? 0 : static_cast<std::uint8_t>(bytes_[at_++]); }
  // A text of up to 65535 bytes, its length in two bytes first.
  std::string text() {
    const std::size_t length = byte() | (std::size_t{byte()} << 8);
    const std::string_view t = bytes_.substr(at_, length);
    at_ += t.size();
    return std::string(t);
  }
  // A position's number: small ones mostly, and the values a careless or
  // hostile client sends.
  json number() {
    const std::uint8_t b = byte();
    switch (b) {
      case 250:
        return -1;
      case 251:
        return std::numeric_limits<std::int32_t>::max();
      case 252:
        return std::uint64_t{1} << 40;
      case 253:
        return 1e300;
      case 254:
        return 2.5;
      case 255:
        return "3";
      default:
        return b;
    }
  }
  json position() { return {{"line", number()}, {"character", number()}}; }
  json range() { return {{"start", position()}, {"end", position()}}; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

const char* const k_uris[] = {"file:///no-such-folder-fuzz/Valle_linea.txt",
                              "file:///no-such-folder-fuzz/Valle_12-.txt",
                              "file:///no-such-folder-fuzz/Monte_3-.txt"};

json request(int id, const char* method, json params) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}};
}

json notification(const char* method, json params) {
  return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

void run_script(language_session& session, script& s) {
  std::vector<json> out;
  std::map<std::string, json> published;  // the last diagnostics, by URI
  int id = 1;
  int versions = 1;
  for (int step = 0; step < 64 && !s.done(); ++step) {
    const std::uint8_t op = s.byte();
    const char* uri = k_uris[(op >> 4) % 3];
    const json document = {{"uri", uri}};
    json message;
    switch (op % 10) {
      case 0:
        message = notification(
            "textDocument/didOpen",
            {{"textDocument",
              {{"uri", uri}, {"languageId", "x"}, {"version", versions++}, {"text", s.text()}}}});
        break;
      case 1: {
        json change = {{"text", s.text()}};
        if ((op & 0x80) == 0) change["range"] = s.range();
        message = notification("textDocument/didChange",
                               {{"textDocument", {{"uri", uri}, {"version", versions++}}},
                                {"contentChanges", json::array({change})}});
        break;
      }
      case 2:
        message = request(id++, "textDocument/hover",
                          {{"textDocument", document}, {"position", s.position()}});
        break;
      case 3:
        message = request(id++, "textDocument/completion",
                          {{"textDocument", document}, {"position", s.position()}});
        break;
      case 4:
        message = request(
            id++, "textDocument/formatting",
            {{"textDocument", document}, {"options", {{"tabSize", 2}, {"insertSpaces", true}}}});
        break;
      case 5: {
        // The editor sends back the diagnostics under the cursor.
        json asked = json::array();
        const json& found = published[uri];
        if (found.is_array() && !found.empty()) asked.push_back(found[s.byte() % found.size()]);
        message = request(id++, "textDocument/codeAction",
                          {{"textDocument", document},
                           {"range", s.range()},
                           {"context", {{"diagnostics", asked}}}});
        break;
      }
      case 6:
        message = request(id++, "textDocument/documentSymbol", {{"textDocument", document}});
        break;
      case 7:
        message = request(id++, "textDocument/inlayHint",
                          {{"textDocument", document}, {"range", s.range()}});
        break;
      case 8:
        message = notification("textDocument/didClose", {{"textDocument", document}});
        break;
      default:
        // The stream pauses: what is pending is checked and published.
        session.check_pending(out);
        break;
    }
    if (!message.is_null()) session.handle(message, out);
    for (const json& m : out)
      if (m.value("method", "") == "textDocument/publishDiagnostics")
        published[m["params"]["uri"].get<std::string>()] = m["params"]["diagnostics"];
    serialize(out);
  }
  session.check_pending(out);
  serialize(out);
}

void run_stream(language_session& session, std::string_view bytes) {
  std::istringstream in{std::string(bytes)};
  std::vector<json> out;
  for (int count = 0; count < 64; ++count) {
    const std::optional<std::string> body = read_message(in);
    if (!body) break;
    session.handle_body(*body, out);
    if (session.ended()) break;
    session.check_pending(out);
    serialize(out);
  }
  serialize(out);
}

}  // namespace
}  // namespace scenario

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenario;
  static const server_setup setup = authors_server_setup();
  const std::string_view input = fuzz::as_text(data, size);
  if (input.empty()) return 0;
  const auto mode = static_cast<std::uint8_t>(input[0]);
  language_session session(setup);
  std::vector<json> out;
  session.handle(initialize_message((mode & 2) != 0), out);
  serialize(out);
  if ((mode & 1) == 0) {
    run_stream(session, input.substr(1));
  } else {
    script s(input.substr(1));
    run_script(session, s);
  }
  return 0;
}
