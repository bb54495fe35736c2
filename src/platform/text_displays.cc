// The displays of a run without a window, the same on every system: the
// progress label and the messages as lines on standard error, or nothing.
#include <ostream>

#include "platform/display.h"
#include "platform/terminal.h"

namespace scenario {
namespace {

class terminal_display final : public display {
 public:
  terminal_display(std::ostream& err, bool show_label) : err_(err), show_label_(show_label) {}
  void show_progress(std::string_view label) override {
    if (show_label_) err_ << label << std::endl;
  }
  void message_box(std::string_view text) override { err_ << text << std::endl; }

 private:
  std::ostream& err_;
  bool show_label_;
};

class silent_display final : public display {
 public:
  void show_progress(std::string_view) override {}
  void message_box(std::string_view) override {}
};

}  // namespace

std::unique_ptr<display> make_terminal_display(std::ostream& err, progress_shown progress) {
  // "Attendere" is for a person watching; a log or a pipe is better off
  // without a line that says nothing about the result.
  const bool seen = progress == progress_shown::where_seen && stderr_is_terminal();
  return std::make_unique<terminal_display>(err, seen);
}

std::unique_ptr<display> make_silent_display() {
  return std::make_unique<silent_display>();
}

}  // namespace scenario
