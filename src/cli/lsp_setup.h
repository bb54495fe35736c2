// What the language server takes from the command line's floor, as
// scenario_gen lsp gives them: shared with the fuzz harness of the server.
#pragma once

#include "editor/language_server.h"

namespace scenario {

// The installed reference and the page of the picture.
server_setup authors_server_setup();

// The page of the picture on a page server at a free port of 127.0.0.1;
// null when this build has no page server.
std::unique_ptr<picture_page> start_picture_page();

}  // namespace scenario
