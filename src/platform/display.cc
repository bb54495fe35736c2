#include "platform/display.h"

#include <ostream>

#ifdef SCENARIO_WITH_WINDOW
#include "platform/window/window_display.h"
#endif

namespace scenario {
namespace {

class terminal_display final : public display {
 public:
  explicit terminal_display(std::ostream& err) : err_(err) {}
  void show_progress(std::string_view label) override { err_ << label << std::endl; }
  void message_box(std::string_view text) override { err_ << text << std::endl; }

 private:
  std::ostream& err_;
};

class silent_display final : public display {
 public:
  void show_progress(std::string_view) override {}
  void message_box(std::string_view) override {}
};

}  // namespace

std::unique_ptr<display> make_display(std::ostream& err) {
#ifdef SCENARIO_WITH_WINDOW
  if (auto window = open_window_display()) return window;
#endif
  return make_terminal_display(err);
}

std::unique_ptr<display> make_terminal_display(std::ostream& err) {
  return std::make_unique<terminal_display>(err);
}

std::unique_ptr<display> make_silent_display() {
  return std::make_unique<silent_display>();
}

}  // namespace scenario
