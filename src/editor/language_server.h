// scenario_gen lsp: the language server an editor starts to check the
// descriptions as they are typed, with the one compile.
#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/diagnostic.h"
#include "run/compile.h"

namespace scenario {

// The page of the picture that the command scenario_gen.showPicture opens:
// the page of watch --serve, served on 127.0.0.1, drawn from the editor's
// texts. Made on the command line's floor, which draws.
class picture_page {
 public:
  virtual ~picture_page() = default;
  // The port the page is served at.
  virtual int port() const = 0;
  // Shows one compile of the pair titled title, made with its records
  // traced, and its diagnostics (both descriptions'), started at start;
  // good as watch counts a compile good. Tells every open page.
  virtual void show(const std::string& title, const compile_result& r, bool good,
                    std::vector<diagnostic> found, std::chrono::steady_clock::time_point start) = 0;
  // Marks the objects made by the record ("line:12", "train:7"), none
  // when record is empty.
  virtual void mark(const std::string& record) = 0;
  // Hands each body a page posts to /select to take, on the server's thread.
  virtual void take_selections(std::function<void(std::string body)> take) = 0;
};

// What the server takes from the command line's floor. The rules compile
// and check apply to an author's files (the encoding, the names taken from
// the files' names) the server calls directly, so that its diagnostics are
// theirs word for word.
struct server_setup {
  // The file: URI of the authors' reference, which each fault code's
  // description points into.
  std::string reference_uri;
  // Starts the page of the picture; null when this build has no page
  // server. Throws io_error when no port can be had.
  std::function<std::unique_ptr<picture_page>()> start_picture;
};

// Serves the protocol on in and out (JSON-RPC messages with Content-Length
// headers) until the client's exit or the end of in. Returns the exit
// status: 0 after shutdown and exit, 1 otherwise; 2 with a message on err
// when the server is not part of this build.
int serve_language(std::istream& in, std::ostream& out, std::ostream& err,
                   const server_setup& setup);

// Whether serve_language can serve: false in a build without the JSON
// library, whose name is then in why_not.
bool language_server_built(std::string* why_not = nullptr);

}  // namespace scenario
