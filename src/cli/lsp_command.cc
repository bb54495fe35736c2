// lsp: the language server an editor starts, on standard input and output.
#include <filesystem>
#include <iostream>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "cli/documentation.h"
#include "cli/lsp_setup.h"
#include "editor/file_uri.h"
#include "editor/language_server.h"
#include "platform/binary_stdio.h"
#include "platform/files.h"
#include "platform/terminal.h"

namespace scenario {

server_setup authors_server_setup() {
  server_setup setup;
  const std::filesystem::path reference =
      std::filesystem::absolute(join_path(documentation_folder(), "authoring.md"));
  // UTF-8 on every system, whatever the narrow code page.
  const std::u8string generic = reference.lexically_normal().generic_u8string();
  setup.reference_uri = uri_of_path(std::string(generic.begin(), generic.end()));
  setup.start_picture = start_picture_page;
  return setup;
}

int lsp_command(const command_options& /*o*/, command_start& /*start*/, std::ostream& out,
                std::ostream& err) {
  const server_setup setup = authors_server_setup();
  // Typed at a terminal, the server would wait without a word.
  if (stdin_is_terminal())
    err << format_diagnostic(program_diagnostic(
        "this is a language server: it waits for an editor's messages on standard input; "
        "an editor starts it itself",
        severity::note));
  // The protocol counts bytes: no line-end translation on either stream.
  use_binary_standard_streams();
  // The server's reader thread may still be blocked on the input when the
  // process ends, so its stream is never destroyed; it reads by the
  // system's own calls, never holding a lock of the C library's.
  static auto* const input = new std::istream(new standard_input_buffer);
  return serve_language(*input, out, err, setup);
}

}  // namespace scenario
