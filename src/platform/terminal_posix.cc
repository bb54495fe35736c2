#include "platform/terminal.h"

#include <unistd.h>

#include <cstdlib>

namespace scenario {

bool colour_on_stderr() {
  // NO_COLOR set to anything, even empty, turns colour off.
  return ::isatty(STDERR_FILENO) == 1 && std::getenv("NO_COLOR") == nullptr;
}

bool stderr_is_terminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

bool stdin_is_terminal() {
  return ::isatty(STDIN_FILENO) == 1;
}

}  // namespace scenario
