// serve_language: messages are read on a thread of their own into a queue;
// the session acts on them in order on this thread and checks documents on
// a third, one check at a time, so that it reads on while a long check
// runs. A newer edit of the document being checked cancels its check;
// shutdown, exit, $/cancelRequest and the end of the input are acted on at
// once, whatever is being checked. The session acts on everything queued
// before it checks, so that edits typed faster than a compile are checked
// once, on the latest text; a request waits for the checks of the edits
// before it, as its answer depends on them.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <istream>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>

#include "editor/language_server.h"
#include "editor/lsp_session.h"
#include "editor/rpc_framing.h"

namespace scenario {
namespace {

// What the reader and the checking thread tell the session's thread.
struct arrivals {
  std::deque<std::string> bodies;
  bool ended = false;    // the input ended (and stays ended)
  std::string broken;    // why, when its framing broke
  bool checked = false;  // the running check is done
  bool woken = false;    // a page of the picture asks for something
};

class arrivals_queue {
 public:
  void push_body(std::string body) {
    update([&](arrivals& a) { a.bodies.push_back(std::move(body)); });
  }
  void push_end(std::string broken) {
    update([&](arrivals& a) {
      a.ended = true;
      a.broken = std::move(broken);
    });
  }
  void push_checked() {
    update([](arrivals& a) { a.checked = true; });
  }
  // From another thread: a page of the picture asks for something.
  void push_wake() {
    update([](arrivals& a) { a.woken = true; });
  }
  // Waits until something arrived, or until the time given, and takes it;
  // the end is told each time.
  arrivals take(std::optional<std::chrono::steady_clock::time_point> until) {
    std::unique_lock lock(mutex_);
    const auto arrived = [&] {
      return !waiting_.bodies.empty() || waiting_.ended || waiting_.checked || waiting_.woken;
    };
    if (until)
      ready_.wait_until(lock, *until, arrived);
    else
      ready_.wait(lock, arrived);
    arrivals taken = std::exchange(waiting_, {});
    waiting_.ended = taken.ended;
    return taken;
  }

 private:
  template <typename change>
  void update(change&& c) {
    {
      const std::lock_guard lock(mutex_);
      c(waiting_);
    }
    ready_.notify_one();
  }
  std::mutex mutex_;
  std::condition_variable ready_;
  arrivals waiting_;
};

void send(std::ostream& out, const std::vector<json>& messages) {
  for (const json& m : messages)
    write_message(out, m.dump(-1, ' ', false, json::error_handler_t::replace));
}

bool is_request(const json& m) {
  return m.is_object() && m.contains("id") && m.contains("method") && m["method"].is_string();
}

bool has_method(const json& m, std::string_view method) {
  return m.is_object() && m.contains("method") && m["method"] == method;
}

json cancelled_answer(const json& id, const std::string& why) {
  return {
      {"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", k_request_cancelled}, {"message", why}}}};
}

// How long a check may go on once the session is asked to end: long enough
// for the requests before shutdown to be answered in the usual case, short
// enough for shutdown to be answered within a second.
constexpr std::chrono::milliseconds k_grace{400};

class server_loop {
 public:
  using clock = std::chrono::steady_clock;

  // wake tells the loop, from a page server's thread, that a page of the
  // picture asks for something.
  server_loop(const server_setup& setup, arrivals_queue& queue, std::ostream& out,
              std::function<void()> wake)
      : session_(setup), queue_(queue), out_(out) {
    session_.on_page_request(std::move(wake));
  }
  ~server_loop() { stop_check(); }

  // Serves until exit or the input's end; the exit status, and why the
  // input broke (empty when it did not).
  int run(std::string& broken);

 private:
  void receive(arrivals a);
  void honour_cancellations();
  bool urgent() const;
  bool waits_for_check() const { return job_ || session_.check_waiting(); }
  std::optional<clock::time_point> give_up_at() const;
  void act();
  void start_check();
  void collect_check();
  void stop_check();

  language_session session_;
  arrivals_queue& queue_;
  std::ostream& out_;
  // Received, not yet acted on, in order; a message that could not be read
  // stands there as the error that answers it.
  struct received {
    json message;
    bool refusal = false;  // message is the answer to send
  };
  std::deque<received> messages_;
  bool input_ended_ = false;
  std::string broken_;
  // When the client asked the session to end (or left): a check still
  // running k_grace after that, or after it began, is given up, and the
  // requests waiting for checks are cancelled.
  std::optional<clock::time_point> urgent_since_;
  bool giving_up_ = false;
  clock::time_point check_started_;
  // The running check; cancel_ stops it at its next step.
  std::unique_ptr<check_job> job_;
  std::thread worker_;
  std::atomic<bool> cancel_ = false;
};

int server_loop::run(std::string& broken) {
  bool act_again = false;  // without waiting for more to arrive
  for (;;) {
    receive(queue_.take(act_again ? std::optional(clock::now()) : give_up_at()));
    honour_cancellations();
    if (!urgent_since_ && urgent()) urgent_since_ = clock::now();
    if (job_ && (session_.shut_down() || (give_up_at() && clock::now() >= *give_up_at()))) {
      cancel_ = true;
      giving_up_ = !session_.shut_down();
    }
    act();
    if (session_.ended() || (input_ended_ && messages_.empty())) break;
    std::vector<json> page_answers;
    session_.serve_page(page_answers);
    send(out_, page_answers);
    // Idle, or a request waits for the checks: check the next document.
    const bool idle = messages_.empty() && !urgent();
    const bool asked = !messages_.empty() && is_request(messages_.front().message) && !giving_up_;
    if (!job_ && (idle || asked)) {
      std::vector<json> closed;
      session_.publish_closed(closed);
      send(out_, closed);
      start_check();
    }
    // A request that waited for checks none of which could start.
    act_again = !job_ && asked;
  }
  stop_check();
  broken = broken_;
  return broken_.empty() ? session_.exit_status() : 1;
}

std::optional<server_loop::clock::time_point> server_loop::give_up_at() const {
  if (!urgent_since_ || !job_ || cancel_) return std::nullopt;
  return std::max(*urgent_since_, check_started_) + k_grace;
}

void server_loop::receive(arrivals a) {
  for (const std::string& body : a.bodies) {
    std::vector<json> refused;
    if (std::optional<json> message = session_.parse_body(body, refused))
      messages_.push_back({std::move(*message)});
    for (json& answer : refused) messages_.push_back({std::move(answer), true});
  }
  if (a.ended && !input_ended_) {
    input_ended_ = true;
    broken_ = std::move(a.broken);
  }
  if (a.checked) collect_check();
}

// A request still waiting when its cancellation comes is answered with
// RequestCancelled; one answered already is not answered again.
void server_loop::honour_cancellations() {
  const auto is_cancel = [](const received& r) {
    return !is_request(r.message) && has_method(r.message, "$/cancelRequest");
  };
  if (std::none_of(messages_.begin(), messages_.end(), is_cancel)) return;
  std::vector<json> cancelled_ids;
  for (const received& r : messages_)
    if (is_cancel(r))
      cancelled_ids.push_back(r.message.value("params", json::object()).value("id", json()));
  std::vector<json> answers;
  std::deque<received> kept;
  for (received& r : messages_) {
    if (is_cancel(r)) continue;
    const json& m = r.message;
    const auto cancelled =
        std::find_if(cancelled_ids.begin(), cancelled_ids.end(), [&](const json& id) {
          return is_request(m) && !has_method(m, "shutdown") && m["id"] == id;
        });
    if (cancelled == cancelled_ids.end()) {
      kept.push_back(std::move(r));
      continue;
    }
    answers.push_back(cancelled_answer(m["id"], "the request was cancelled"));
    cancelled_ids.erase(cancelled);
  }
  messages_ = std::move(kept);
  send(out_, answers);
}

// Whether the session must end soon: the client asked it to, or is gone.
bool server_loop::urgent() const {
  if (input_ended_) return true;
  for (const auto& [m, refusal] : messages_)
    if ((is_request(m) && has_method(m, "shutdown")) || has_method(m, "exit")) return true;
  return false;
}

// Acts on the messages in order; a request waits for the checks before it,
// unless the session is ending, when it is cancelled instead.
void server_loop::act() {
  while (!messages_.empty()) {
    std::vector<json> replies;
    const auto& [m, refusal] = messages_.front();
    if (refusal) {
      replies.push_back(m);
    } else if (is_request(m) && !has_method(m, "shutdown") && !session_.shut_down() &&
               waits_for_check()) {
      if (!giving_up_) return;
      replies.push_back(cancelled_answer(m["id"],
                                         "the session is ending: the check the request waits for "
                                         "was given up"));
    } else {
      session_.handle(m, replies);
    }
    messages_.pop_front();
    send(out_, replies);
    if (session_.ended()) return;
    // A newer edit of the document being checked makes its check stale.
    if (job_ && session_.outdated(*job_)) cancel_ = true;
  }
}

void server_loop::start_check() {
  std::optional<check_job> job = session_.take_check();
  if (!job) return;
  job_ = std::make_unique<check_job>(std::move(*job));
  cancel_ = false;
  check_started_ = clock::now();
  worker_ = std::thread([this, job = job_.get()] {
    language_session::run_check(*job, cancel_);
    queue_.push_checked();
  });
}

void server_loop::collect_check() {
  if (!job_) return;
  worker_.join();
  std::vector<json> published;
  if (!cancel_) session_.finish_check(*job_, published);
  job_.reset();
  send(out_, published);
}

// At the end: a running check is cancelled and waited for, up to its next
// step.
void server_loop::stop_check() {
  if (!job_) return;
  cancel_ = true;
  worker_.join();
  job_.reset();
}

}  // namespace

int serve_language(std::istream& in, std::ostream& out, std::ostream& err,
                   const server_setup& setup) {
  // The reader may stay blocked on the input after the exit notification
  // (the process ends it), so it shares the queue; in is the process's.
  auto queue_owner = std::make_shared<arrivals_queue>();
  std::thread reader([queue_owner, &in] {
    for (;;) {
      std::string broken;
      std::optional<std::string> body = read_message(in, &broken);
      if (!body) {
        queue_owner->push_end(std::move(broken));
        return;
      }
      queue_owner->push_body(std::move(*body));
    }
  });
  reader.detach();

  std::string broken;
  const int status = server_loop(setup, *queue_owner, out, [queue_owner] { queue_owner->push_wake(); }).run(broken);
  if (!broken.empty())
    err << format_diagnostic(
        program_diagnostic("the language server's input is broken: " + broken));
  return status;
}

bool language_server_built(std::string*) {
  return true;
}

}  // namespace scenario
