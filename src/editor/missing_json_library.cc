// serve_language in a build made without nlohmann-json: it says what to
// install. cmake/editor.cmake builds this file instead of the lsp_*.cc files.
#include <ostream>

#include "editor/language_server.h"

namespace scenario {
namespace {
constexpr const char* k_missing =
    "this scenario_gen was built without the language server: it needs nlohmann-json "
    "(Debian: nlohmann-json3-dev); install it and build again";
}

int serve_language(std::istream&, std::ostream&, std::ostream& err, const server_setup&) {
  err << format_diagnostic(program_diagnostic(k_missing));
  return 2;
}

bool language_server_built(std::string* why_not) {
  if (why_not != nullptr) *why_not = k_missing;
  return false;
}

}  // namespace scenario
