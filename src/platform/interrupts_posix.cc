#include "platform/interrupts.h"

#include <signal.h>

#include <atomic>

namespace scenario {

struct saved_handlers {
  struct sigaction old_int = {};
  struct sigaction old_term = {};
  struct sigaction old_pipe = {};
};

namespace {

// The watch that Ctrl-C (or a TERM signal) ends.
std::atomic<file_watch*> g_watch{nullptr};
extern "C" void stop_watching(int) {
  if (file_watch* w = g_watch.load()) w->stop();
}

}  // namespace

stop_on_interrupt::stop_on_interrupt(file_watch& w) : saved_(new saved_handlers) {
  g_watch = &w;
  struct sigaction a = {};
  a.sa_handler = stop_watching;
  sigemptyset(&a.sa_mask);
  sigaction(SIGINT, &a, &saved_->old_int);
  sigaction(SIGTERM, &a, &saved_->old_term);
  // A page closed while it is sent to must not end the program.
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &saved_->old_pipe);
}

stop_on_interrupt::~stop_on_interrupt() {
  sigaction(SIGINT, &saved_->old_int, nullptr);
  sigaction(SIGTERM, &saved_->old_term, nullptr);
  sigaction(SIGPIPE, &saved_->old_pipe, nullptr);
  g_watch = nullptr;
  delete saved_;
}

}  // namespace scenario
