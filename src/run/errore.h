// errore: the numbered message that ends the run.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/display.h"

namespace scenario {

// The end of the process that errore brings: the message has been shown and
// nothing after the call may run. The program's entry catches it and exits
// with status.
class process_end : public std::runtime_error {
 public:
  process_end(int status, const std::string& reason)
      : std::runtime_error(reason), status_(status) {}
  int status() const { return status_; }

 private:
  int status_;
};

// The exit status of a run that wrote no binary file.
inline constexpr int k_status_nothing_written = 2;

// Shows " Errore n. " followed by a with an OK button, waits for it, then
// ends the run by throwing process_end.
[[noreturn]] void errore(display& ui, std::string_view a);

}  // namespace scenario
