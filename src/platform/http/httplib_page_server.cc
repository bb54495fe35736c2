// The page server on the HTTP library (Debian: libcpp-httplib-dev). A module
// of its own (platform/modules.h).
#include "platform/module_entries.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace scenario {
namespace {

constexpr const char* k_host = "127.0.0.1";

class httplib_page_server final : public page_server {
 public:
  explicit httplib_page_server(int port) {
    // A response goes out in several writes; waiting to join them costs a
    // page a delayed acknowledgement on every fetch.
    server_.set_tcp_nodelay(true);
    // Every path, the events included, answers only requests made to this
    // server's own address (serves_request); a request with two Host or two
    // Origin headers is refused too.
    server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
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
    });
    server_.Get("/events", [this](const httplib::Request&, httplib::Response& res) {
      res.set_header("Cache-Control", "no-store");
      // Each stream starts with the current set, so a page that missed one
      // catches up; then one event per new set, and a comment now and then
      // so that a closed page is noticed.
      // The mark follows the set it marks.
      auto sent = std::make_shared<std::uint64_t>(0);
      auto marked = std::make_shared<std::uint64_t>(0);
      res.set_chunked_content_provider(
          "text/event-stream", [this, sent, marked](std::size_t, httplib::DataSink& sink) {
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
          });
    });
    server_.Post("/select", [this](const httplib::Request& req, httplib::Response& res) {
      std::function<void(std::string)> take;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        take = take_;
      }
      if (take) take(req.body);
      res.status = 204;
    });
    server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
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
    });
    // No request but a selection has a body, and that names one object.
    server_.set_payload_max_length(k_select_max_bytes);
    port_ = port == 0 ? server_.bind_to_any_port(k_host) : port;
    if (port_ <= 0 || (port != 0 && !server_.bind_to_port(k_host, port))) {
      port_ = 0;
      return;
    }
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // A stop before the thread has started listening would not reach it,
    // and it would then listen for ever: the server is made only once it
    // listens (the thread's first step).
    for (int waited = 0; !server_.is_running() && waited < 5000; ++waited)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
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
  httplib::Server server_;
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
