// Windows has no loadable modules in this program: the native window is part
// of the display (display_win32.cc) and the page server is linked in, so one
// .exe carries everything. These are the entry points platform/modules.h
// names, answered without loading anything.
#include "platform/modules.h"

#include "platform/files.h"
#include "platform/module_entries.h"

namespace scenario {

std::unique_ptr<display> load_window_display() {
  return nullptr;
}

std::unique_ptr<page_server> load_page_server([[maybe_unused]] int port) {
#ifndef SCENARIO_WITH_HTTP
  return nullptr;
#else
  std::unique_ptr<page_server> server(scenario_start_page_server(port));
  if (!server)
    throw io_error("127.0.0.1:" + std::to_string(port), "listen on",
                   "the port is taken or not allowed");
  return server;
#endif
}

}  // namespace scenario
