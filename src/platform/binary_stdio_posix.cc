#include "platform/binary_stdio.h"

#include <unistd.h>

#include <cerrno>

namespace scenario {

// POSIX streams carry bytes as they are.
void use_binary_standard_streams() {}

std::size_t read_standard_input_some(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;
  }
}

}  // namespace scenario
