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

}  // namespace scenario
