// The display of an interactive run on an X display: the progress window
// and a modal message box, drawn with the FLTK toolkit.
#pragma once

#include <memory>

#include "platform/display.h"

namespace scenario {

// A window display on the session's X display, or nothing when DISPLAY is
// unset or the display cannot be opened.
std::unique_ptr<display> open_window_display();

}  // namespace scenario
