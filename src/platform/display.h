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

// Whether the progress label is shown.
enum class progress_shown {
  where_seen,  // in a window, or as a line on err when the standard error is a terminal
  never,       // -q: no window and no line; messages are still printed on err
};

// The display of an interactive run: a window where the build and the
// session have one (unless progress is never shown), otherwise the terminal
// display on err, which is taken to be the standard error.
std::unique_ptr<display> make_display(std::ostream& err,
                                      progress_shown progress = progress_shown::where_seen);

// A display for a terminal: the label becomes one line on err when the
// standard error is a terminal (a log or a pipe gets none) and progress is
// shown; the message always becomes one line on err; nothing waits for an
// answer.
std::unique_ptr<display> make_terminal_display(
    std::ostream& err, progress_shown progress = progress_shown::where_seen);

// Where nobody reads the standard error (on Windows, a run started by a
// double-click, whose console was let go), shows line in a message box with
// the program's title and an OK button and returns once it is answered;
// nothing when the run has already ended through a message box, and
// nothing on Linux or where the standard error is read.
void show_failure_where_unseen(std::string_view line);

// A display that shows nothing, for runs driven by tests or other tools.
std::unique_ptr<display> make_silent_display();

}  // namespace scenario
