#include "platform/terminal.h"

#include <windows.h>

#include <cstdlib>

namespace scenario {

bool colour_on_stderr() {
  // NO_COLOR set to anything, even empty, turns colour off.
  if (std::getenv("NO_COLOR") != nullptr) return false;
  // Colour is written as escape sequences, which only a console that
  // processes them shows as colour; an older console would print them.
  HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (!::GetConsoleMode(err, &mode)) return false;
  if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) return true;
  return ::SetConsoleMode(err, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

bool stderr_is_terminal() {
  // A console answers GetConsoleMode; a pipe, a file or NUL does not.
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

bool stdin_is_terminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

}  // namespace scenario
