// Windows calls a console handler on a thread of its own for Ctrl-C,
// Ctrl-Break and the closing of the console. A closed page costs a failed
// send there, never a signal.
#include "platform/interrupts.h"

#include <windows.h>

#include <atomic>

namespace scenario {

struct saved_handlers {};

namespace {

std::atomic<file_watch*> g_watch{nullptr};

BOOL WINAPI stop_watching(DWORD event) {
  file_watch* w = g_watch.load();
  if (w == nullptr || (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)) return FALSE;
  w->stop();
  return TRUE;
}

}  // namespace

stop_on_interrupt::stop_on_interrupt(file_watch& w) : saved_(nullptr) {
  g_watch = &w;
  ::SetConsoleCtrlHandler(stop_watching, TRUE);
}

stop_on_interrupt::~stop_on_interrupt() {
  ::SetConsoleCtrlHandler(stop_watching, FALSE);
  g_watch = nullptr;
}

}  // namespace scenario
