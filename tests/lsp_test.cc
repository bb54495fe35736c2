// scenario_gen lsp driven by transcripts: protocol messages in, the answers
// and published diagnostics compared. The node and Neovim tests in
// tests/editor/ drive it with real clients.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <istream>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "editor/shipped_kinds.h"
#include "cli/lsp_setup.h"
#include "editor/language_server.h"
#include "test_support.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

std::string frame(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string json_text(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string request(int id, const std::string& method, const std::string& params = "{}") {
  return frame("{\"jsonrpc\":\"2.0\",\"id\":" + std::to_string(id) + ",\"method\":\"" + method +
               "\",\"params\":" + params + "}");
}

std::string notification(const std::string& method, const std::string& params = "{}") {
  return frame("{\"jsonrpc\":\"2.0\",\"method\":\"" + method + "\",\"params\":" + params + "}");
}

std::string initialize(const std::string& capabilities = "{}") {
  return request(1, "initialize", "{\"capabilities\":" + capabilities + "}") +
         notification("initialized");
}

// A file: URI as editors write it: "file:///C:/x" for a Windows path.
std::string uri(const fs::path& p) {
  const std::string path = p.generic_string();
  return (path.starts_with('/') ? "file://" : "file:///") + path;
}

std::string open(const fs::path& p, const std::string& text) {
  return notification("textDocument/didOpen", "{\"textDocument\":{\"uri\":\"" + uri(p) +
                                                  "\",\"languageId\":\"x\",\"version\":1,"
                                                  "\"text\":" +
                                                  json_text(text) + "}}");
}

std::string document(const fs::path& p) {
  return "{\"textDocument\":{\"uri\":\"" + uri(p) + "\"}}";
}

// Where the fault codes' descriptions point: the reference the program finds.
std::string reference() {
  return uri(fs::weakly_canonical(fs::path(SCENARIO_TESTS_DIR) / "../docs/authoring.md")
                 .lexically_normal()) +
         "#fault-codes";
}

const std::string k_end = request(99, "shutdown") + notification("exit");

// What the server wrote, message by message.
struct transcript {
  int status = -1;
  std::vector<std::string> bodies;
  std::string err;

  // The answer to request id; empty when there is none.
  std::string answer(int id) const {
    for (const std::string& b : bodies)
      if (is_answer(b, id)) return b;
    return {};
  }
  static bool is_answer(const std::string& body, int id) {
    const std::string n = std::to_string(id);
    return body.starts_with("{\"id\":" + n + ",") ||
           (body.starts_with("{\"error\":") && body.find("},\"id\":" + n + ",") != body.npos);
  }
  // The diagnostics last published for path before the answer to id.
  std::string diagnostics(const fs::path& path, int id) const {
    std::string last;
    for (const std::string& b : bodies) {
      if (is_answer(b, id)) break;
      if (b.find("publishDiagnostics") != b.npos &&
          b.find("\"uri\":\"" + uri(path) + "\",\"version\"") != b.npos)
        last = b;
    }
    const std::size_t from = last.find("\"diagnostics\":");
    const std::size_t to = last.rfind("],\"uri\"");
    return from == last.npos || to == last.npos ? std::string()
                                                : last.substr(from + 14, to + 1 - from - 14);
  }
};

transcript serve(const std::string& input, const fs::path& folder) {
  const testing::scratch_folder scratch;
  testing::write_file(scratch.file("in"), input);
  const testing::program_result r =
      testing::run_program(SCENARIO_GEN_EXE, "lsp", folder, scratch.file("in"));
  transcript t{r.status, {}, r.err};
  std::string_view out = r.out;
  while (!out.empty()) {
    const std::size_t header_end = out.find("\r\n\r\n");
    if (header_end == out.npos) break;
    const std::size_t length = std::stoul(std::string(out.substr(16, header_end - 16)));
    t.bodies.emplace_back(out.substr(header_end + 4, length));
    out.remove_prefix(header_end + 4 + length);
  }
  return t;
}

class Lsp : public ::testing::Test {
 protected:
  void SetUp() override {
    const transcript probe = serve(initialize() + k_end, folder_.path());
    // Only a program built without the language server skips, by its message.
    if (probe.status == 2 &&
        probe.err.starts_with("scenario_gen: error: this scenario_gen was built without the "
                              "language server: "))
      GTEST_SKIP() << "skipped: " << probe.err;
  }
  fs::path file(const char* name) const { return folder_.path() / name; }
  testing::scratch_folder folder_;
};

const std::string k_line =
    "[generale]\r\nlunghezza percorso, 12000\r\nprogressiva chilometrica uno, 0, 45000, 0\r\n"
    "sfondo uno, 1\r\nsfondo due, 1\r\nsfondo tre, 1\r\nripetizione segnali 4 codici, 0, 0\r\n"
    "[curve]\r\ncurvad4, 1500, 300\r\n"
    "[cartelli]\r\nindicatori_vmax, 4000, 85,90,90,0,,,,0\r\n[fine]\r\n";
const std::string k_train =
    "[generale]\r\nnumero vetture, 4\r\npercentuale massa frenata, 100\r\nsabbia, 300\r\n"
    "orologio, 8 0 0\r\n[aderenze]\r\naderenza, 0, 100\r\n[vel_limite]\r\n"
    "velocita, 0, 80\r\n[stazioni]\r\n"
    "stazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 8,5,0, VALLE\r\n"
    "stazione, 5500, 12, 300, 0,0,0, 1,1,0, 4,1,1, 0, 8,12,0, MONTE\r\n"
    "[segnali]\r\nsegnale, 4000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\n[fine]\r\n";

// Typed at a terminal the server says what it is, in one line; started by
// an editor (its input a pipe) it says nothing.
TEST_F(Lsp, TypedAtATerminalItSaysWhatItIs) {
  const std::string said =
      "scenario_gen: note: this is a language server: it waits for an editor's messages on "
      "standard input; an editor starts it itself\r\n";
  // Ctrl-D: the end of the terminal's input.
  const testing::program_result typed =
      testing::run_program_on_terminal(SCENARIO_GEN_EXE, {"lsp"}, folder_.path(), "\x04");
  EXPECT_EQ(typed.err.find(said), 0u) << typed.err;
  EXPECT_EQ(std::count(typed.err.begin(), typed.err.end(), '\n'), 1) << typed.err;
  EXPECT_EQ(serve(initialize() + k_end, folder_.path()).err, "");
}

TEST_F(Lsp, LifecycleAndProtocolErrors) {
  const transcript t = serve(request(7, "textDocument/hover", "{}") + frame("{not json") +
                                 initialize() + request(2, "no/such/method") + k_end,
                             folder_.path());
  EXPECT_EQ(t.status, 0);
  EXPECT_EQ(t.answer(7),
            "{\"error\":{\"code\":-32002,\"message\":\"initialize first\"},\"id\":7,"
            "\"jsonrpc\":\"2.0\"}");
  EXPECT_NE(t.bodies.at(1).find("\"code\":-32700"), std::string::npos);
  EXPECT_EQ(t.answer(1),
            "{\"id\":1,\"jsonrpc\":\"2.0\",\"result\":{\"capabilities\":{"
            "\"codeActionProvider\":{\"codeActionKinds\":[\"quickfix\"]},"
            "\"completionProvider\":{\"triggerCharacters\":[]},"
            "\"documentFormattingProvider\":true,\"documentSymbolProvider\":true,"
            "\"executeCommandProvider\":{\"commands\":[\"scenario_gen.showPicture\"]},"
            "\"hoverProvider\":true,\"inlayHintProvider\":true,\"positionEncoding\":\"utf-16\","
            "\"textDocumentSync\":{\"change\":2,\"openClose\":true}},"
            "\"serverInfo\":{\"name\":\"scenario_gen\"}}}");
  EXPECT_NE(t.answer(2).find("\"code\":-32601"), std::string::npos);
  EXPECT_EQ(t.answer(99), "{\"id\":99,\"jsonrpc\":\"2.0\",\"result\":null}");
  // An exit without shutdown, or an input that ends, is status 1.
  EXPECT_EQ(serve(initialize() + notification("exit"), folder_.path()).status, 1);
  EXPECT_EQ(serve(initialize(), folder_.path()).status, 1);
}

// An input that ends early, whatever it was in the middle of, ends the
// session with status 1 once what came whole is answered: never a wait for
// bytes that will not come.
TEST_F(Lsp, AnInputCutShortEndsTheSessionAfterAnsweringWhatCame) {
  const std::string hover = request(2, "textDocument/hover", "{}");
  const std::string header_end = "\r\n\r\n";
  for (const std::string& tail : {
           hover.substr(0, 10),                                // inside a header
           hover.substr(0, hover.find(header_end) + 2),        // before the blank line
           hover.substr(0, hover.find(header_end) + 4),        // a header and no body
           hover.substr(0, hover.size() - 1),                  // a body one byte short
           std::string("Content-Length: 99999999\r\n\r\n{}"),  // more than the largest
           std::string("Content-Length: 1x\r\n\r\n{}"),        // not a number
           std::string("Content-Type: x\r\n\r\n{}"),           // no length at all
       }) {
    const transcript t = serve(initialize() + tail, folder_.path());
    EXPECT_EQ(t.status, 1) << tail;
    EXPECT_NE(t.answer(1), "") << tail;
    EXPECT_EQ(t.answer(2), "") << tail;
  }
  // Header lines end in CR LF or in LF alone, in any case, other headers
  // among them.
  const std::string body = "{\"jsonrpc\":\"2.0\",\"id\":2,\"method\":\"shutdown\"}";
  const transcript t =
      serve(initialize() + "content-length: " + std::to_string(body.size()) +
                "\nContent-Type: application/vscode-jsonrpc\r\n\n" + body + notification("exit"),
            folder_.path());
  EXPECT_EQ(t.status, 0);
  EXPECT_EQ(t.answer(2), "{\"id\":2,\"jsonrpc\":\"2.0\",\"result\":null}");
}

// A client's numbers are taken only when an int holds them whole, and a
// message nested past any the protocol sends is refused: neither may crash
// the session, which answers what follows.
TEST_F(Lsp, MalformedNumbersAndNestingAreRefused) {
  const std::string hover_at = "{\"textDocument\":{\"uri\":\"" + uri(file("Valle_linea.txt")) +
                               "\"},\"position\":{\"line\":";
  std::string input = initialize() + open(file("Valle_linea.txt"), k_line);
  const std::vector<std::string> lines = {"1e300", "2.5", "4294967296", "\"3\"",
                                          "-9223372036854775808"};
  for (std::size_t i = 0; i < lines.size(); ++i)
    input += request(10 + static_cast<int>(i), "textDocument/hover",
                     hover_at + lines[i] + ",\"character\":0}}");
  // The largest line a quick fix may be asked about.
  input += request(20, "textDocument/codeAction",
                   "{\"textDocument\":{\"uri\":\"" + uri(file("Valle_linea.txt")) +
                       "\"},\"range\":{\"start\":{\"line\":0,\"character\":0},\"end\":{\"line\":0,"
                       "\"character\":0}},\"context\":{\"diagnostics\":[{\"range\":{\"start\":{"
                       "\"line\":2147483647,\"character\":0},\"end\":{\"line\":0,\"character\":0}},"
                       "\"message\":\"x\"}]}}");
  input += frame("{\"jsonrpc\":\"2.0\",\"id\":" + std::string(100000, '[') +
                 std::string(100000, ']') + ",\"method\":\"x\"}");
  const transcript t = serve(input + k_end, folder_.path());
  EXPECT_EQ(t.status, 0);
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_NE(t.answer(10 + static_cast<int>(i)).find("\"code\":-32602"), std::string::npos)
        << lines[i];
  EXPECT_EQ(t.answer(20), "{\"id\":20,\"jsonrpc\":\"2.0\",\"result\":[]}");
  EXPECT_NE(t.bodies.end(),
            std::find(t.bodies.begin(), t.bodies.end(),
                      "{\"error\":{\"code\":-32600,\"message\":\"the message nests deeper than 64 "
                      "levels\"},\"id\":null,\"jsonrpc\":\"2.0\"}"));
  EXPECT_EQ(t.answer(99), "{\"id\":99,\"jsonrpc\":\"2.0\",\"result\":null}");
}

// The train is checked against the open line's unsaved text; an edit of the
// line re-checks it; the line's own diagnostics carry the other record as
// related information.
TEST_F(Lsp, PairedDescriptionsAreCheckedTogetherAndRecheckedOnEdit) {
  testing::write_file(file("Valle_linea.txt"), k_line);  // on disk: no clash
  std::string line = k_line;
  const std::string input =
      initialize() + open(file("Valle_linea.txt"), line) + open(file("Valle_12-.txt"), k_train) +
      request(2, "textDocument/documentSymbol", document(file("Valle_12-.txt"))) +
      // Move the board off the signal's cell: the train's fault goes.
      notification(
          "textDocument/didChange",
          "{\"textDocument\":{\"uri\":\"" + uri(file("Valle_linea.txt")) +
              "\",\"version\":2},\"contentChanges\":[{\"range\":{\"start\":{\"line\":10,"
              "\"character\":17},\"end\":{\"line\":10,\"character\":21}},\"text\":\"4500\"}"
              "]}") +
      request(3, "textDocument/documentSymbol", document(file("Valle_12-.txt"))) + k_end;
  const transcript t = serve(input, folder_.path());
  EXPECT_EQ(t.diagnostics(file("Valle_12-.txt"), 2),
            "[{\"code\":16,\"codeDescription\":{\"href\":\"" + reference() +
                "\"},\"message\":\"signal cell occupied\",\"range\":{\"end\":{\"character\":13,"
                "\"line\":13},\"start\":{\"character\":9,\"line\":13}},\"relatedInformation\":[{"
                "\"location\":{\"range\":{\"end\":{\"character\":15,\"line\":10},\"start\":{"
                "\"character\":0,\"line\":10}},\"uri\":\"" +
                uri(file("Valle_linea.txt")) +
                "\"},\"message\":\"the cell is already taken by the record here\"}],\"severity\":1,"
                "\"source\":\"scenario_gen\"}]");
  EXPECT_EQ(t.diagnostics(file("Valle_linea.txt"), 2), "[]");
  EXPECT_EQ(t.diagnostics(file("Valle_12-.txt"), 3), "[]");
}

// The editor's Unicode text is read as --encoding utf-8 reads a file; the
// ranges count UTF-16 units unless the client offers UTF-8.
TEST_F(Lsp, UnicodeTextAndPositionUnits) {
  std::string train = k_train;
  train.replace(train.find("numero vetture"), 14, "Numéro vetture");
  train.replace(train.find("MONTE"), 5, "MÖNTE ŁAŃCUT");
  const std::string utf8_caps = "{\"general\":{\"positionEncodings\":[\"utf-8\",\"utf-16\"]}}";
  for (const bool utf8 : {false, true}) {
    const transcript t = serve(
        initialize(utf8 ? utf8_caps : "{}") + open(file("Valle_linea.txt"), k_line) +
            open(file("Valle_12-.txt"), train) +
            request(2, "textDocument/documentSymbol", document(file("Valle_12-.txt"))) + k_end,
        folder_.path());
    EXPECT_NE(t.answer(1).find(utf8 ? "\"positionEncoding\":\"utf-8\""
                                    : "\"positionEncoding\":\"utf-16\""),
              std::string::npos);
    // Only the conversion's fault: the compile does not run on the text.
    const int start = utf8 ? 64 : 63;
    const int end = utf8 ? 66 : 64;
    EXPECT_EQ(t.diagnostics(file("Valle_12-.txt"), 2),
              "[{\"message\":\"U+0141 is not a Windows-1252 character, the only ones the "
              "simulator shows; write it another way\",\"range\":{\"end\":{\"character\":" +
                  std::to_string(end) +
                  ",\"line\":11},\"start\":{\"character\":" + std::to_string(start) +
                  ",\"line\":11}},\"severity\":1,\"source\":"
                  "\"scenario_gen\"}]")
        << utf8;
  }
}

// The answers about one document: a malformed notification is dropped and
// the session goes on; the outline, the kilometre hints, the formatting
// and a quick fix, in UTF-8 units after a character that takes two bytes.
TEST_F(Lsp, AnswersAboutADocument) {
  const std::string line =
      "[generale]\r\nlunghezza percorso, 12000\r\nprogressiva chilometrica uno, 0, 45000, 0\r\n"
      "[curve]\r\ncurvad4,1500,300\r\n[cartelli]\r\ncartello indicatore, 7000, CITTÀ\r\n"
      "cartello indicatore, 9000, BIVIO, NORD\r\n[fine]\r\n";
  const std::string utf8_caps = "{\"general\":{\"positionEncodings\":[\"utf-8\"]}}";
  const std::string in_line = document(file("Valle_linea.txt"));
  const std::string inlay = "{\"textDocument\":{\"uri\":\"" + uri(file("Valle_linea.txt")) +
                            "\"},\"range\":{\"start\":{\"line\":0,\"character\":0},\"end\":{"
                            "\"line\":9,\"character\":0}}}";
  const transcript t = serve(
      initialize(utf8_caps) + notification("textDocument/didChange", "{\"textDocument\":5}") +
          open(file("Valle_linea.txt"), line) + request(2, "textDocument/documentSymbol", in_line) +
          request(3, "textDocument/inlayHint", inlay) +
          request(4, "textDocument/formatting",
                  "{\"textDocument\":{\"uri\":\"" + uri(file("Valle_linea.txt")) +
                      "\"},\"options\":{\"tabSize\":2,\"insertSpaces\":true}}") +
          request(5, "textDocument/codeAction",
                  "{\"textDocument\":{\"uri\":\"" + uri(file("Valle_linea.txt")) +
                      "\"},\"range\":{\"start\":{\"line\":7,\"character\":0},\"end\":{\"line\":7,"
                      "\"character\":0}},\"context\":{\"diagnostics\":[{\"range\":{\"start\":{"
                      "\"line\":7,\"character\":32},\"end\":{\"line\":7,\"character\":37}},"
                      "\"message\":\"the text is cut at the comma: 'NORD' after it is not part "
                      "of it; write the whole text in double quotes to keep the comma\"}]}}") +
          k_end,
      folder_.path());
  EXPECT_EQ(t.status, 0);
  EXPECT_NE(t.answer(2).find("\"detail\":\"1500 m, km 43+500\",\"kind\":8,\"name\":\"curvad4\""),
            std::string::npos)
      << t.answer(2);
  EXPECT_NE(t.answer(2).find("\"detail\":\"7000 m, km 38+000\",\"kind\":14,"
                             "\"name\":\"cartello indicatore\""),
            std::string::npos)
      << t.answer(2);
  EXPECT_EQ(t.answer(3),
            "{\"id\":3,\"jsonrpc\":\"2.0\",\"result\":["
            "{\"kind\":1,\"label\":\"km 45+000\",\"paddingLeft\":true,\"position\":{"
            "\"character\":31,\"line\":2}},"
            "{\"kind\":1,\"label\":\"km 43+500\",\"paddingLeft\":true,\"position\":{"
            "\"character\":12,\"line\":4}},"
            "{\"kind\":1,\"label\":\"km 38+000\",\"paddingLeft\":true,\"position\":{"
            "\"character\":25,\"line\":6}},"
            "{\"kind\":1,\"label\":\"km 36+000\",\"paddingLeft\":true,\"position\":{"
            "\"character\":25,\"line\":7}}]}");
  // The city's name keeps its letter; the line cut at a comma is left.
  EXPECT_EQ(t.answer(4),
            "{\"id\":4,\"jsonrpc\":\"2.0\",\"result\":["
            "{\"newText\":\"lunghezza percorso,    12000\",\"range\":{\"end\":{\"character\":25,"
            "\"line\":1},\"start\":{\"character\":0,\"line\":1}}},"
            "{\"newText\":\"progressiva chilometrica uno,    0,    45000,    0\",\"range\":{"
            "\"end\":{\"character\":41,\"line\":2},\"start\":{\"character\":0,\"line\":2}}},"
            "{\"newText\":\"curvad4,  1500,  300\",\"range\":{\"end\":{\"character\":16,"
            "\"line\":4},\"start\":{\"character\":0,\"line\":4}}},"
            "{\"newText\":\"cartello indicatore,  7000,  CITTÀ\",\"range\":{\"end\":{"
            "\"character\":33,\"line\":6},\"start\":{\"character\":0,\"line\":6}}}]}");
  EXPECT_NE(t.answer(5).find("\"newText\":\"\\\"BIVIO, NORD\\\"\",\"range\":{\"end\":{"
                             "\"character\":38,\"line\":7},\"start\":{\"character\":27,"
                             "\"line\":7}}"),
            std::string::npos)
      << t.answer(5);
}

// A unit's fault says what to write in a note, as check does, and the quick
// fix that removes the unit follows from that note.
TEST_F(Lsp, AUnitIsNamedWithItsNoteAndRemovedByAFix) {
  const std::string line =
      "[generale]\r\nlunghezza percorso, 12000\r\nprogressiva chilometrica uno, 0, 45000, 0\r\n"
      "[curve]\r\ncurvad4, 1500 m, 300\r\n[fine]\r\n";
  const std::string message =
      "the unit 'm' after 1500 is read as the next value, which is not a whole number";
  const transcript t = serve(
      initialize() + open(file("Valle_linea.txt"), line) +
          request(2, "textDocument/codeAction",
                  "{\"textDocument\":{\"uri\":\"" + uri(file("Valle_linea.txt")) +
                      "\"},\"range\":{\"start\":{\"line\":4,\"character\":0},\"end\":{\"line\":4,"
                      "\"character\":0}},\"context\":{\"diagnostics\":[{\"range\":{\"start\":{"
                      "\"line\":4,\"character\":14},\"end\":{\"line\":4,\"character\":15}},"
                      "\"message\":\"" +
                      message + "\"}]}}") +
          k_end,
      folder_.path());
  const std::string published = t.diagnostics(file("Valle_linea.txt"), 2);
  EXPECT_NE(published.find("\"message\":\"" + message + "\""), std::string::npos) << published;
  EXPECT_NE(published.find("\"message\":\"the format has no units; write 1500\""),
            std::string::npos)
      << published;
  EXPECT_NE(t.answer(2).find("\"title\":\"Remove 'm'\""), std::string::npos) << t.answer(2);
  EXPECT_NE(t.answer(2).find("\"newText\":\"\",\"range\":{\"end\":{\"character\":15,\"line\":4},"
                             "\"start\":{\"character\":13,\"line\":4}}"),
            std::string::npos)
      << t.answer(2);
}

// A train description with no line description beside it, or one whose
// line description cannot be compiled, says so instead of staying silent.
// The picture's command refuses what it cannot draw, and the cursor's
// notification before any picture changes nothing; a client that cannot
// open documents gets the address without being asked to open it.
TEST_F(Lsp, ThePictureCommandRefusesWhatItCannotDraw) {
  testing::write_file(file("Valle_linea.txt"), k_line);
  const std::string train = document(file("Valle_12-.txt"));
  const std::string cursor = "{\"textDocument\":{\"uri\":\"" + uri(file("Valle_12-.txt")) +
                             "\"},\"position\":{\"line\":3,\"character\":0}}";
  auto command = [&](const std::string& name, const fs::path& argument) {
    return "{\"command\":\"" + name + "\",\"arguments\":[\"" + uri(argument) + "\"]}";
  };
  const transcript t = serve(
      initialize() + notification("scenario_gen/cursor", cursor) +
          request(2, "workspace/executeCommand",
                  command("scenario_gen.showPicture", file("Valle_12-.txt"))) +
          open(file("Valle_12-.txt"), k_train) +
          request(3, "workspace/executeCommand",
                  command("scenario_gen.other", file("Valle_12-.txt"))) +
          request(4, "workspace/executeCommand", "{\"command\":\"scenario_gen.showPicture\"}") +
          request(5, "workspace/executeCommand",
                  command("scenario_gen.showPicture", file("Valle_12-.txt"))) +
          notification("scenario_gen/cursor", cursor) + k_end,
      folder_.path());
  EXPECT_EQ(t.status, 0);
  for (const int id : {2, 3, 4})
    EXPECT_NE(t.answer(id).find("\"code\":-32602"), std::string::npos) << t.answer(id);
  EXPECT_NE(t.answer(2).find("is not an open description"), std::string::npos) << t.answer(2);
  EXPECT_NE(t.answer(3).find("no command \\\"scenario_gen.other\\\""), std::string::npos)
      << t.answer(3);
  const std::string shown = t.answer(5);
  if (shown.find("built without the HTTP library") != std::string::npos)
    GTEST_SKIP() << "skipped: " << shown;
  EXPECT_TRUE(shown.starts_with("{\"id\":5,\"jsonrpc\":\"2.0\",\"result\":\"http://127.0.0.1:"))
      << shown;
  for (const std::string& b : t.bodies) EXPECT_EQ(b.find("showDocument"), std::string::npos) << b;
}

TEST_F(Lsp, ATrainWithoutItsLineSaysWhy) {
  fs::create_directory(file("alone"));
  std::string line = k_line;
  line.replace(line.find("[curve]"), 7, "[curve] Ł");
  const transcript t =
      serve(initialize() + open(file("alone/Monte_3-.txt"), k_train) +
                open(file("Valle_linea.txt"), line) + open(file("Valle_12-.txt"), k_train) +
                request(2, "textDocument/documentSymbol", document(file("Valle_12-.txt"))) + k_end,
            folder_.path());
  EXPECT_NE(t.diagnostics(file("alone/Monte_3-.txt"), 2)
                .find("\"message\":\"no line description to check it against: keep "
                      "NAME_linea.txt in the same folder\",\"range\":{\"end\":{\"character\":0,"
                      "\"line\":0},\"start\":{\"character\":0,\"line\":0}},\"severity\":3"),
            std::string::npos);
  EXPECT_NE(t.diagnostics(file("Valle_12-.txt"), 2)
                .find("\"message\":\"not checked: its line description 'Valle_linea.txt' holds a "
                      "character Windows-1252 lacks\""),
            std::string::npos);
  EXPECT_NE(t.diagnostics(file("Valle_linea.txt"), 2).find("U+0141"), std::string::npos);
}

// The rows of the reference's table whose header row starts with header:
// each row's cells, trimmed.
std::vector<std::vector<std::string>> reference_rows(std::string_view header) {
  const std::string text = testing::slurp(fs::path(SCENARIO_TESTS_DIR) / "../docs/authoring.md");
  std::vector<std::vector<std::string>> rows;
  std::size_t at = text.find("\n" + std::string(header));
  if (at == text.npos) return rows;
  at = text.find('\n', text.find('\n', at + 1) + 1);  // past the header and its rule
  while (at != text.npos && text.compare(at + 1, 1, "|") == 0) {
    const std::size_t end = text.find('\n', at + 1);
    std::vector<std::string> cells;
    std::string_view row(text.data() + at + 2, end - at - 2);
    while (!row.empty()) {
      std::string_view cell = row.substr(0, row.find('|'));
      row.remove_prefix(std::min(row.size(), cell.size() + 1));
      cell.remove_prefix(std::min(cell.find_first_not_of(' '), cell.size()));
      cell.remove_suffix(cell.size() - (cell.find_last_not_of(' ') + 1));
      cells.emplace_back(cell);
    }
    rows.push_back(cells);
    at = end;
  }
  return rows;
}

// The editor's kinds of station and signal are the reference's rows, cell
// for cell, and the completions are named by them.
TEST_F(Lsp, ShippedKindsAreTheReferenceRowsAndNameTheCompletions) {
  const auto stations = reference_rows("| What the station is there |");
  const auto signals = reference_rows("| sx | s1 s2 s3 |");
  ASSERT_EQ(stations.size(), station_kinds().size());
  ASSERT_EQ(signals.size(), signal_kinds().size());
  std::vector<std::string> labels;
  for (std::size_t i = 0; i < stations.size(); ++i) {
    const station_kind& k = station_kinds()[i];
    EXPECT_EQ(stations[i], (std::vector<std::string>{
                               std::string(k.what), std::string(k.type), std::string(k.length),
                               std::string(k.f4_f6), std::string(k.f7_f9), std::string(k.f10_f12),
                               std::string(k.f13), std::string(k.time), std::string(k.shipped)}));
    labels.push_back(stations[i][0] + " (type " + stations[i][1] + ", as " +
                     stations[i][8].substr(0, stations[i][8].find(", ")) + ")");
  }
  for (std::size_t i = 0; i < signals.size(); ++i) {
    const signal_kind& k = signal_kinds()[i];
    EXPECT_EQ(signals[i], (std::vector<std::string>{std::string(k.sx), std::string(k.s1_s3),
                                                    std::string(k.rapp), std::string(k.stored),
                                                    std::string(k.where), std::string(k.picture)}));
    labels.push_back("signal sx " + signals[i][0] + ", " + signals[i][3] + ": " + signals[i][5] +
                     " (as at " + signals[i][4].substr(0, signals[i][4].find_first_of(" ,")) +
                     " m)");
  }
  const std::string at = "{\"textDocument\":{\"uri\":\"" + uri(file("Valle_12-.txt")) +
                         "\"},\"position\":{\"line\":11,\"character\":0}}";
  const transcript t = serve(initialize() + open(file("Valle_12-.txt"), k_train) +
                                 request(2, "textDocument/completion", at) + k_end,
                             folder_.path());
  for (const std::string& label : labels)
    EXPECT_NE(t.answer(2).find("\"label\":\"" + label + "\""), std::string::npos) << label;
}

// A protocol mistake gets the answer or the line on stderr it asks for: a
// second initialize is an invalid request; a framing that breaks says what
// broke, through the program's diagnostic line, before the status 1; an
// input that ends between messages says nothing.
TEST_F(Lsp, ProtocolMistakesAreToldAsTheProtocolAsks) {
  const transcript twice = serve(
      initialize() + request(2, "initialize", "{\"capabilities\":{}}") + k_end, folder_.path());
  EXPECT_EQ(twice.status, 0);
  EXPECT_EQ(twice.answer(2),
            "{\"error\":{\"code\":-32600,\"message\":\"the server is already initialized\"},"
            "\"id\":2,\"jsonrpc\":\"2.0\"}");

  const std::string hover = request(2, "textDocument/hover", "{}");
  const std::string broken = "scenario_gen: error: the language server's input is broken: ";
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"\r\n\r\n", ""},
      {hover.substr(0, 10), broken + "the input ended inside a message header\n"},
      {hover.substr(0, hover.size() - 1), broken + "the input ended inside a message body\n"},
      {"Content-Length: 1x\r\n\r\n{}",
       broken + "the Content-Length of a message header is not a number\n"},
      {"Content-Length:\r\n\r\n{}", broken + "the Content-Length of a message header is empty\n"},
      {"Content-Length: 99999999\r\n\r\n{}",
       broken + "a message is longer than the largest read (67108864 bytes)\n"},
      {"Content-Type: x\r\n\r\n{}", broken + "a message header has no Content-Length\n"},
      {"Content-Length 2\r\n\r\n{}", broken + "a message header line is not 'NAME: VALUE'\n"},
      {std::string(5000, 'x'), broken + "a message header line is longer than 4096 bytes\n"},
  };
  for (const auto& [tail, err] : cases) {
    const transcript t = serve(initialize() + tail, folder_.path());
    EXPECT_EQ(t.status, 1) << tail;
    EXPECT_EQ(t.err, err) << tail;
  }
}

// A stream between two threads: what one writes, the other reads, waiting
// for it until the stream is closed.
class thread_stream : public std::streambuf {
 public:
  void put(std::string_view bytes) {
    {
      const std::lock_guard lock(mutex_);
      data_ += bytes;
    }
    changed_.notify_all();
  }
  void close() {
    {
      const std::lock_guard lock(mutex_);
      closed_ = true;
    }
    changed_.notify_all();
  }
  // The next message's body written to the stream, waiting up to wait for
  // it; nothing when none came whole in time.
  std::optional<std::string> next_body(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    std::optional<std::string> body;
    changed_.wait_for(lock, wait, [&] { return (body = take_body()).has_value(); });
    return body;
  }

 protected:
  int_type underflow() override {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return taken_ < data_.size() || closed_; });
    if (taken_ >= data_.size()) return traits_type::eof();
    piece_ = data_.substr(taken_);
    taken_ = data_.size();
    setg(piece_.data(), piece_.data(), piece_.data() + piece_.size());
    return traits_type::to_int_type(piece_[0]);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    put(std::string_view(s, static_cast<std::size_t>(n)));
    return n;
  }
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof()))
      put(std::string(1, traits_type::to_char_type(c)));
    return traits_type::not_eof(c);
  }

 private:
  std::optional<std::string> take_body() {
    const std::size_t header_end = data_.find("\r\n\r\n", taken_);
    if (header_end == std::string::npos) return std::nullopt;
    const std::size_t length = std::stoul(data_.substr(taken_ + 16, header_end - taken_ - 16));
    if (data_.size() < header_end + 4 + length) return std::nullopt;
    std::string body = data_.substr(header_end + 4, length);
    taken_ = header_end + 4 + length;
    return body;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::string data_;
  std::size_t taken_ = 0;
  std::string piece_;
  bool closed_ = false;
};

// The language server served on this process's threads, fed and read as an
// editor does, message by message and with pauses.
class live_server {
 public:
  live_server() {
    // The server's reader may still be blocked on its input stream when
    // serve_language returns (after exit): the streams are never destroyed.
    static std::deque<thread_stream> streams;
    static std::deque<std::istream> inputs;
    static std::deque<std::ostream> outputs;
    input_ = &streams.emplace_back();
    output_ = &streams.emplace_back();
    std::istream& in = inputs.emplace_back(input_);
    std::ostream& out = outputs.emplace_back(output_);
    server_ = std::thread([this, &in, &out] {
      std::ostringstream err;
      status_ = serve_language(in, out, err, authors_server_setup());
      ended_at_ = std::chrono::steady_clock::now();
    });
  }
  ~live_server() {
    input_->close();
    if (server_.joinable()) server_.join();
  }
  void send(const std::string& framed) { input_->put(framed); }
  void close_input() { input_->close(); }
  // The bodies the server writes, up to the one that starts with start;
  // empty when it does not come within wait.
  std::vector<std::string> read_until(std::string_view start, std::chrono::milliseconds wait) {
    std::vector<std::string> bodies;
    const auto until = std::chrono::steady_clock::now() + wait;
    while (std::chrono::steady_clock::now() < until) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          until - std::chrono::steady_clock::now());
      std::optional<std::string> body = output_->next_body(left);
      if (!body) break;
      bodies.push_back(std::move(*body));
      if (bodies.back().starts_with(start)) return bodies;
    }
    return {};
  }
  // The exit status, once the server ended, and when it did.
  int wait_for_end() {
    if (server_.joinable()) server_.join();
    return status_;
  }
  std::chrono::steady_clock::time_point ended_at() const { return ended_at_; }

 private:
  thread_stream* input_;
  thread_stream* output_;
  std::thread server_;
  int status_ = -1;
  std::chrono::steady_clock::time_point ended_at_;
};

// A line description whose boards stand two by two on one cell: every
// second one is a fault.
std::string faulty_line(int faults, const std::string& text) {
  std::string line = "[generale]\r\nlunghezza percorso, 1000000\r\n[cartelli]\r\n";
  for (int i = 0; i < faults; ++i) {
    const std::string board =
        "cartello indicatore, " + std::to_string(1000 + 50 * i) + ", " + text + "\r\n";
    line += board + board;
  }
  return line + "[fine]\r\n";
}

std::string change_all(const fs::path& p, int version, const std::string& text) {
  return notification("textDocument/didChange",
                      "{\"textDocument\":{\"uri\":\"" + uri(p) +
                          "\",\"version\":" + std::to_string(version) +
                          "},\"contentChanges\":[{\"text\":" + json_text(text) + "}]}");
}

int count(std::string_view text, std::string_view what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != text.npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// With 16,000 faults in the open line description, the server reads on
// while it checks: a newer edit cancels the older check, whose diagnostics
// never come; a request cancelled while it waits for a check is answered
// RequestCancelled; shutdown is answered and exit obeyed within a second
// while a check runs; the editor gets the first 1,000 diagnostics and one
// that says how many more check lists. Without exit, the input's end ends
// the server within a second too.
TEST_F(Lsp, ALongCheckNeverKeepsTheServerFromAnswering) {
  using std::chrono::milliseconds;
  using std::chrono::seconds;
  const fs::path line = file("Valle_linea.txt");
  const std::string v1 = faulty_line(16000, "BORGO"), v2 = faulty_line(16000, "MONTE");
  {
    live_server server;
    server.send(initialize());
    ASSERT_FALSE(server.read_until("{\"id\":1,", seconds(10)).empty());
    server.send(open(line, v1));
    std::this_thread::sleep_for(milliseconds(20));
    server.send(change_all(line, 2, v2));
    const std::vector<std::string> got = server.read_until(
        "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/publishDiagnostics\"", seconds(60));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NE(got[0].find("\"version\":2}"), std::string::npos)
        << got[0].substr(got[0].size() - 100);
    EXPECT_EQ(count(got[0], "\"source\":\"scenario_gen\""), 1001);
    // Every fault beyond the first 1,000, and the warnings.
    const std::string left_out =
        " more diagnostics are left out: the editor is shown the first 1000; scenario_gen check "
        "lists them all\"";
    const std::size_t told = got[0].find(left_out);
    ASSERT_NE(told, std::string::npos);
    EXPECT_GE(std::atoi(got[0].c_str() + got[0].rfind('"', told) + 1), 15000);

    server.send(change_all(line, 3, v1) +
                request(5, "textDocument/documentSymbol", document(line)) +
                notification("$/cancelRequest", "{\"id\":5}"));
    EXPECT_EQ(server.read_until("{\"error\"", seconds(1)),
              std::vector<std::string>{"{\"error\":{\"code\":-32800,\"message\":\"the request was "
                                       "cancelled\"},\"id\":5,\"jsonrpc\":\"2.0\"}"});
    std::this_thread::sleep_for(milliseconds(20));
    const auto asked = std::chrono::steady_clock::now();
    server.send(request(9, "shutdown"));
    EXPECT_EQ(server.read_until("{\"id\":9,", seconds(1)),
              std::vector<std::string>{"{\"id\":9,\"jsonrpc\":\"2.0\",\"result\":null}"});
    EXPECT_LT(std::chrono::steady_clock::now() - asked, seconds(1));
    const auto exit_sent = std::chrono::steady_clock::now();
    server.send(notification("exit"));
    EXPECT_EQ(server.wait_for_end(), 0);
    EXPECT_LT(server.ended_at() - exit_sent, seconds(1));
  }
  live_server server;
  server.send(initialize() + open(line, v1));
  ASSERT_FALSE(server.read_until("{\"id\":1,", seconds(10)).empty());
  std::this_thread::sleep_for(milliseconds(20));
  const auto closed = std::chrono::steady_clock::now();
  server.close_input();
  EXPECT_EQ(server.wait_for_end(), 1);
  EXPECT_LT(server.ended_at() - closed, seconds(1));
}

}  // namespace
}  // namespace scenario
