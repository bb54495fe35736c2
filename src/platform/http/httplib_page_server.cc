// The page server on the HTTP library (Debian: libcpp-httplib-dev). A module
// of its own (platform/modules.h).
#include "platform/module_entries.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <utility>

namespace scenario {
namespace {

constexpr const char* k_host = "127.0.0.1";

// The open event streams a server keeps: one per page open in a browser.
// One more is refused with 503, and its page says why.
constexpr int k_max_event_streams = 32;
// The connections served at once, event streams included: each has a
// thread of its own, so a held stream or a slow client never keeps the page
// from another; those past the limit wait for a thread.
constexpr std::size_t k_max_connection_threads = 128;
// A request must come whole within this, and a kept-alive connection is
// closed after this long idle: a client that sends its header lines slowly
// (or not at all) holds its thread no longer.
constexpr int k_request_seconds = 2;

// The library's connection pool has a fixed few threads, and an event
// stream holds one for as long as its page is open: a few pages would leave
// none for the page itself. Here each connection gets a thread of its own,
// up to a limit, and a thread whose connection ends is joined by the next
// connection or at the end.
// What enqueue answers for a connection it took, whatever its type.
template <typename answer>
answer taken() {
  if constexpr (!std::is_void_v<answer>) return true;
}

class connection_threads final : public httplib::TaskQueue {
  // void in the library's older releases, bool (taken or not) in newer ones.
  using enqueued = decltype(std::declval<httplib::TaskQueue&>().enqueue(std::function<void()>()));

 public:
  enqueued enqueue(std::function<void()> serve) override {
    std::unique_lock lock(mutex_);
    join_finished(lock);
    if (running_ < k_max_connection_threads)
      start(std::move(serve));
    else
      waiting_.push_back(std::move(serve));
    return taken<enqueued>();
  }

  void shutdown() override {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return running_ == 0; });
    join_finished(lock);
  }

 private:
  // Runs serve on a new thread, then whatever waits; counted in running_.
  void start(std::function<void()> serve) {
    ++running_;
    threads_.emplace_back();
    auto at = std::prev(threads_.end());
    at->thread = std::thread([this, at, first = std::move(serve)]() mutable {
      std::function<void()> serve = std::move(first);
      for (;;) {
        serve();
        std::lock_guard lock(mutex_);
        if (waiting_.empty()) {
          at->finished = true;
          --running_;
          done_.notify_all();
          return;
        }
        serve = std::move(waiting_.front());
        waiting_.pop_front();
      }
    });
  }

  void join_finished(std::unique_lock<std::mutex>&) {
    for (auto it = threads_.begin(); it != threads_.end();) {
      if (!it->finished) {
        ++it;
        continue;
      }
      it->thread.join();
      it = threads_.erase(it);
    }
  }

  struct connection_thread {
    std::thread thread;
    bool finished = false;  // its last connection served; only the join is left
  };

  std::mutex mutex_;
  std::condition_variable done_;
  std::list<connection_thread> threads_;
  std::list<std::function<void()>> waiting_;
  std::size_t running_ = 0;
};

class httplib_page_server final : public page_server {
 public:
  explicit httplib_page_server(int port) {
    // A response goes out in several writes; waiting to join them costs a
    // page a delayed acknowledgement on every fetch.
    server_.set_tcp_nodelay(true);
    server_.new_task_queue = [] { return new connection_threads; };
    server_.set_read_timeout(k_request_seconds, 0);
    server_.set_keep_alive_timeout(k_request_seconds);
    // Every path, the events included, answers only requests made to this
    // server's own address; a request with two Host or two Origin headers
    // is refused too.
    server_.set_pre_routing_handler(
        [this](const httplib::Request& req, httplib::Response& res) { return guard(req, res); });
    server_.Get("/events",
                [this](const httplib::Request&, httplib::Response& res) { serve_events(res); });
    server_.Post("/select", [this](const httplib::Request& req, httplib::Response& res) {
      take_selection(req, res);
    });
    server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
      serve_file(req, res);
    });
    // No request but a selection has a body, and that names one object.
    server_.set_payload_max_length(k_select_max_bytes);
    listen_at(port);
  }
  // Whether it listens: false when the port could not be had.
  bool listening() const { return port_ > 0; }
  ~httplib_page_server() override { stop(); }

  int port() const override { return port_; }

  void publish(std::vector<served_file> files, std::string event) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      files_.clear();
      for (served_file& f : files) files_[f.path] = std::move(f);
      event_ = std::move(event);
      ++version_;
    }
    changed_.notify_all();
  }

  void mark(std::string data) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      mark_ = std::move(data);
      ++mark_version_;
    }
    changed_.notify_all();
  }

  void take_selections(std::function<void(std::string)> take) override {
    std::lock_guard<std::mutex> lock(mutex_);
    take_ = std::move(take);
  }

  void stop() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_ && !thread_.joinable()) return;
      stopping_ = true;
    }
    changed_.notify_all();
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }

 private:
  // Lets a request made to this server's own address (serves_request) go
  // on to its path; answers any other with 403.
  httplib::Server::HandlerResponse guard(const httplib::Request& req, httplib::Response& res) {
    const std::size_t origins = req.get_header_value_count("Origin");
    const std::string origin = req.get_header_value("Origin");
    if (req.get_header_value_count("Host") == 1 && origins <= 1 &&
        serves_request(req.get_header_value("Host"),
                       origins == 1 ? std::optional<std::string_view>(origin) : std::nullopt,
                       port_))
      return httplib::Server::HandlerResponse::Unhandled;
    res.status = 403;
    res.set_content("forbidden: this page is served only at its own address\n", "text/plain");
    return httplib::Server::HandlerResponse::Handled;
  }

  // Hands a page's selection to the taker, if there is one.
  void take_selection(const httplib::Request& req, httplib::Response& res) {
    std::function<void(std::string)> take;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      take = take_;
    }
    if (take) take(req.body);
    res.status = 204;
  }

  // One file of the set published, or 404.
  void serve_file(const httplib::Request& req, httplib::Response& res) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = files_.find(req.path);
    if (it == files_.end()) {
      res.status = 404;
      res.set_content("not found\n", "text/plain");
      return;
    }
    res.set_header("Cache-Control", "no-store");
    // Given with its length, the body goes out as it is: the library would
    // compress a plain body at its slowest setting, which on this machine's
    // own loopback costs a page 300 ms per 100 KB for nothing.
    auto body = std::make_shared<const std::string>(it->second.body);
    res.set_content_provider(
        body->size(), it->second.content_type,
        [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          return sink.write(body->data() + offset, std::min(length, body->size() - offset));
        });
  }

  // An event stream for a page, or 503 when as many are open as a server
  // keeps.
  void serve_events(httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    if (!open_event_stream()) {
      // The page sees its stream closed and says why.
      res.status = 503;
      res.set_header("Connection", "close");
      res.set_content("too many pages follow this server (" + std::to_string(k_max_event_streams) +
                          "): close some and reload this one\n",
                      "text/plain");
      return;
    }
    // Each stream starts with the current set, so a page that missed one
    // catches up; then one event per new set, and a comment now and then
    // so that a closed page is noticed. The mark follows the set it marks.
    auto sent = std::make_shared<std::uint64_t>(0);
    auto marked = std::make_shared<std::uint64_t>(0);
    res.set_chunked_content_provider(
        "text/event-stream",
        [this, sent, marked](std::size_t, httplib::DataSink& sink) {
          std::unique_lock<std::mutex> lock(mutex_);
          changed_.wait_for(lock, std::chrono::seconds(2), [&] {
            return stopping_ || version_ != *sent || mark_version_ != *marked;
          });
          if (stopping_) {
            sink.done();
            return false;
          }
          std::string chunk;
          if (version_ != *sent) {
            *sent = version_;
            chunk = "event: update\ndata: " + event_ + "\n\n";
          }
          if (mark_version_ != *marked) {
            *marked = mark_version_;
            chunk += "event: mark\ndata: " + mark_ + "\n\n";
          }
          if (chunk.empty()) chunk = ": waiting\n\n";
          lock.unlock();
          return sink.write(chunk.data(), chunk.size());
        },
        [this](bool) { close_event_stream(); });
  }

  // Binds to 127.0.0.1 at port (0: any free one) and listens on a thread;
  // port_ stays 0 when the port cannot be had.
  void listen_at(int port) {
    server_.set_socket_options([this](socket_t listening) {
      httplib::default_socket_options(listening);
      listening_ = listening;
    });
    port_ = port == 0 ? server_.bind_to_any_port(k_host) : port;
    if (port_ <= 0 || (port != 0 && !server_.bind_to_port(k_host, port))) {
      port_ = 0;
      return;
    }
    // The library listens with a backlog of 5: in a burst of connections
    // (tabs reconnecting, slow clients cut off together) the rest would be
    // dropped, each costing its client a second before it tries again.
    // Listening again takes the system's own limit.
    ::listen(listening_, SOMAXCONN);
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // A stop before the thread has started listening would not reach it,
    // and it would then listen for ever: the server is made only once it
    // listens (the thread's first step).
    for (int waited = 0; !server_.is_running() && waited < 5000; ++waited)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  // Counts a new event stream in; false when there are already as many as
  // a server keeps.
  bool open_event_stream() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (event_streams_ >= k_max_event_streams) return false;
    ++event_streams_;
    return true;
  }
  void close_event_stream() {
    std::lock_guard<std::mutex> lock(mutex_);
    --event_streams_;
  }

  httplib::Server server_;
  socket_t listening_ = INVALID_SOCKET;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<std::string, served_file> files_;
  std::string event_;
  std::uint64_t version_ = 0;
  std::string mark_;
  std::uint64_t mark_version_ = 0;
  std::function<void(std::string)> take_;
  bool stopping_ = false;
  int event_streams_ = 0;
};

}  // namespace

}  // namespace scenario

scenario::page_server* scenario_start_page_server(int port) {
  // Nothing is thrown to the program, which has a runtime of its own.
  try {
    auto server = std::make_unique<scenario::httplib_page_server>(port);
    return server->listening() ? server.release() : nullptr;
  } catch (...) {
    return nullptr;
  }
}
