// What the run shows the person who started it: a progress window while it
// works, and the numbered message box of a fault that ends the run.
#pragma once

#include <iosfwd>
#include <memory>
#include <string_view>

namespace scenario {

class display {
 public:
  virtual ~display() = default;
  // Shows the progress window with label and paints it before returning.
  virtual void show_progress(std::string_view label) = 0;
  // Shows text with an OK button and returns once it is answered.
  virtual void message_box(std::string_view text) = 0;
};

// The display of an interactive run: a window where the build and the
// session have one, otherwise the terminal display on err.
std::unique_ptr<display> make_display(std::ostream& err);

// A display for a terminal: the label and the message each become one line
// on err; nothing waits for an answer.
std::unique_ptr<display> make_terminal_display(std::ostream& err);

// A display that shows nothing, for runs driven by tests or other tools.
std::unique_ptr<display> make_silent_display();

}  // namespace scenario
