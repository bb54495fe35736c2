// scenario_gen lsp: the language server an editor starts to check the
// descriptions as they are typed, with the one compile.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "common/diagnostic.h"

namespace scenario {

// What the server takes from the command line's floor: the two rules
// compile and check apply to an author's files, so that the server's
// diagnostics are theirs word for word.
struct server_setup {
  // Converts an editor's UTF-8 text to Windows-1252 as --encoding utf-8
  // does; the character the set lacks comes back as a diagnostic.
  std::function<std::optional<diagnostic>(const std::string& path, std::string& text)> to_1252;
  // The line name and train number compile takes from the two files' names
  // (Windows-1252); empty texts when the names give none.
  std::function<std::pair<std::string, std::string>(const std::string& line_path,
                                                    const std::string& train_path)>
      scenario_names;
  // The file: URI of the authors' reference, which each fault code's
  // description points into.
  std::string reference_uri;
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
