// The parts of the program that need large libraries are modules of their
// own, loaded only when a run uses them: the window display (FLTK and X11,
// platform/window/) and the page server of watch --serve (the HTTP library,
// platform/http/). A run on a terminal then loads neither.
#pragma once

#include <memory>

#include "platform/display.h"
#include "platform/page_server.h"

namespace scenario {

// The window display; nothing when DISPLAY is unset, when the module cannot
// be loaded, or when the display cannot be opened.
std::unique_ptr<display> load_window_display();

// The page server on 127.0.0.1 at port (0: a free port the system picks);
// nothing when the module cannot be loaded. Throws io_error when the port
// cannot be had.
std::unique_ptr<page_server> load_page_server(int port);

}  // namespace scenario
