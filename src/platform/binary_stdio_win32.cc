#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include <algorithm>

#include "platform/binary_stdio.h"

namespace scenario {

// No CR before LF on the way out, none taken away on the way in, and no end
// of the input at a 0x1A byte.
void use_binary_standard_streams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

std::size_t read_standard_input_some(char* buffer, std::size_t size) {
  const HANDLE h = ::GetStdHandle(STD_INPUT_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return 0;
  const auto asked = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
  const bool pipe = ::GetFileType(h) == FILE_TYPE_PIPE;
  for (;;) {
    // A pipe whose writer closed its end reports ERROR_BROKEN_PIPE: the end
    // of the input, as is every other failure to read it.
    DWORD n = 0;
    if (!::ReadFile(h, buffer, asked, &n, nullptr)) return 0;
    // A pipe's writer may write nothing, which reads as nothing; its end is
    // the broken pipe above. Elsewhere nothing read is the end.
    if (n > 0 || !pipe) return n;
  }
}

}  // namespace scenario
