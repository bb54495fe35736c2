// The entry points of the program's modules (platform/modules.h), each
// looked up by its name once the module is loaded. What a module makes runs
// the module's code, so a module stays loaded once it has been. The program
// may have a C++ runtime of its own: an entry point throws nothing, and
// memory passed between the two is allocated and freed with malloc and free
// on both sides.
#pragma once

#include "platform/display.h"
#include "platform/page_server.h"
#include "platform/window_layout.h"

extern "C" {

// A window display on the session's X display, with the progress window
// laid out as layout says, or null when DISPLAY is unset or the display
// cannot be opened. The caller owns it.
scenario::display* scenario_open_window_display(const scenario::progress_layout* layout);

// A page server listening on 127.0.0.1 at port (0: any free port), or null
// when that port cannot be had. The caller owns it.
scenario::page_server* scenario_start_page_server(int port);
}

namespace scenario {

inline constexpr const char* k_window_module = "scenario_window.so";
inline constexpr const char* k_window_entry = "scenario_open_window_display";
inline constexpr const char* k_http_module = "scenario_http.so";
inline constexpr const char* k_http_entry = "scenario_start_page_server";

}  // namespace scenario
