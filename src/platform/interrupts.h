// Ending a watch from the keyboard: Ctrl-C (a TERM signal too on Linux,
// Ctrl-Break on Windows) stops the watch instead of ending the process, so
// that it can end cleanly.
#pragma once

#include "platform/file_watch.h"

namespace scenario {

// For as long as it lives, an interrupt calls w.stop(); a page closed while
// it is sent to does not end the program either. The handlers before it are
// put back when it goes.
class stop_on_interrupt {
 public:
  explicit stop_on_interrupt(file_watch& w);
  ~stop_on_interrupt();
  stop_on_interrupt(const stop_on_interrupt&) = delete;
  stop_on_interrupt& operator=(const stop_on_interrupt&) = delete;

 private:
  struct saved_handlers* saved_;
};

}  // namespace scenario
