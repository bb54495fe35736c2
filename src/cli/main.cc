#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include "platform/wide_text.h"

namespace {

// The console's output code page before the run, put back at its end.
UINT g_console_output_cp = 0;

void restore_console() {
  if (g_console_output_cp != 0) ::SetConsoleOutputCP(g_console_output_cp);
}

// The program is a console program, so that cmd and PowerShell wait for it,
// see its exit status and show what it prints. Started by a double-click it
// gets a console of its own that nobody reads: with no arguments (the
// default run, whose window is what a person sees) and no other process on
// that console, the console is let go and disappears.
void leave_a_console_of_our_own(int argc) {
  DWORD processes[2];
  if (argc == 1 && ::GetConsoleProcessList(processes, 2) == 1) ::FreeConsole();
}

// Every byte goes out as written: no CR before LF, no end at a 0x1A byte.
// The console shows UTF-8 text as such.
void prepare_streams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _fmode = _O_BINARY;
  const UINT cp = ::GetConsoleOutputCP();
  if (cp != 0 && cp != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
    g_console_output_cp = cp;
    std::atexit(restore_console);
  }
}

}  // namespace

// Arguments arrive as UTF-16 and go on as UTF-8, so that any name works
// whatever the code page.
extern "C" int wmain(int argc, wchar_t** argv) {
  leave_a_console_of_our_own(argc);
  prepare_streams();
  std::vector<std::string> utf8;
  for (int i = 1; i < argc; ++i) utf8.push_back(scenario::narrow(argv[i]));
  const std::vector<std::string_view> args(utf8.begin(), utf8.end());
  const int status = scenario::cli_main(args, std::cout, std::cerr);
  std::cout.flush();
  restore_console();
  g_console_output_cp = 0;
  return status;
}

#else

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return scenario::cli_main(args, std::cout, std::cerr);
}

#endif
