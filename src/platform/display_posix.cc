#include "platform/display.h"

#include <ostream>

#ifdef SCENARIO_WITH_WINDOW
#include "platform/modules.h"
#endif

namespace scenario {

std::unique_ptr<display> make_display(std::ostream& err, progress_shown progress) {
#ifdef SCENARIO_WITH_WINDOW
  if (progress == progress_shown::where_seen)
    if (auto window = load_window_display()) return window;
#endif
  return make_terminal_display(err, progress);
}

void show_failure_where_unseen(std::string_view /*line*/) {
  // The terminal, a log or a pipe holds the line already; the window module
  // is loaded only for the progress window.
}

}  // namespace scenario
