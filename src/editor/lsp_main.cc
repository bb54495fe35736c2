// serve_language: messages are read on a thread of their own into a queue,
// and the session acts on everything queued before it checks, so that edits
// typed faster than a compile are checked once, on the latest text.
#include <condition_variable>
#include <deque>
#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>

#include "editor/language_server.h"
#include "editor/lsp_session.h"
#include "editor/rpc_framing.h"

namespace scenario {
namespace {

class message_queue {
 public:
  void push(std::optional<std::string> body) {
    {
      const std::lock_guard lock(mutex_);
      if (body)
        bodies_.push_back(std::move(*body));
      else
        closed_ = true;
    }
    ready_.notify_one();
  }
  // Makes take_all return, from another thread, though nothing is queued.
  void wake() {
    {
      const std::lock_guard lock(mutex_);
      woken_ = true;
    }
    ready_.notify_one();
  }
  // Everything queued, waiting for one message (or a wake) when none is;
  // an empty list once the input has ended.
  std::deque<std::string> take_all() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return !bodies_.empty() || closed_ || woken_; });
    woken_ = false;
    return std::exchange(bodies_, {});
  }
  bool closed() {
    const std::lock_guard lock(mutex_);
    return closed_;
  }
  bool empty() {
    const std::lock_guard lock(mutex_);
    return bodies_.empty();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::string> bodies_;
  bool closed_ = false;
  bool woken_ = false;
};

void send(std::ostream& out, const std::vector<json>& messages) {
  for (const json& m : messages)
    write_message(out, m.dump(-1, ' ', false, json::error_handler_t::replace));
}

}  // namespace

int serve_language(std::istream& in, std::ostream& out, std::ostream&, const server_setup& setup) {
  // The reader may stay blocked on the input after the exit notification
  // (the process ends it), so it shares the queue; in is the process's.
  auto queue_owner = std::make_shared<message_queue>();
  message_queue& queue = *queue_owner;
  std::thread reader([queue_owner, &in] {
    for (;;) {
      std::optional<std::string> body = read_message(in);
      const bool ended = !body;
      queue_owner->push(std::move(body));
      if (ended) return;
    }
  });
  reader.detach();

  language_session session(setup);
  // A page of the picture wakes the loop to have its request answered.
  session.on_page_request([queue_owner] { queue_owner->wake(); });
  for (;;) {
    std::deque<std::string> bodies = queue.take_all();
    if (bodies.empty() && queue.closed()) break;  // the input ended
    for (const std::string& body : bodies) {
      std::vector<json> replies;
      session.handle_body(body, replies);
      send(out, replies);
      if (session.ended()) return session.exit_status();
    }
    if (queue.empty()) {
      std::vector<json> published;
      session.check_pending(published);
      send(out, published);
    }
  }
  return session.exit_status();
}

bool language_server_built(std::string*) {
  return true;
}

}  // namespace scenario
