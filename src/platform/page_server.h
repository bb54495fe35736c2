// A small web server for one page that changes: it serves a set of files on
// 127.0.0.1 and tells every open page of each new set through server-sent
// events (GET /events); a page may name an object its reader clicked (POST
// /select). Built only where the HTTP library is installed.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

struct served_file {
  std::string path;  // "/", "/picture.svg"
  std::string content_type;
  std::string body;
};

class page_server {
 public:
  virtual ~page_server() = default;
  // The port it listens on.
  virtual int port() const = 0;
  // Serves files from now on (in place of the set before) and sends event
  // to every page listening on /events, as the data of an "update" event.
  // event must be one line.
  virtual void publish(std::vector<served_file> files, std::string event) = 0;
  // Sends data to every page listening on /events as the data of a "mark"
  // event, and to each page that starts listening later, until the next
  // mark. data must be one line.
  virtual void mark(std::string data) = 0;
  // Hands the body of each POST /select (up to k_select_max_bytes; what a
  // page says its reader clicked) to take, on a thread of the server's own.
  // Until a taker is given the request is answered and the body dropped.
  virtual void take_selections(std::function<void(std::string body)> take) = 0;
  // Stops listening and ends every open event stream; waits for them.
  virtual void stop() = 0;
};

// The longest body POST /select takes: a page names one object.
inline constexpr std::size_t k_select_max_bytes = 1024;

// True when the program was built with the HTTP library.
bool page_server_built();

// What to install when it was not.
std::string_view page_server_missing();

// Whether the page server answers a request with this Host header and this
// Origin header (nullopt when it has none) while listening at port: only
// when both name its own address, 127.0.0.1, localhost or [::1] at that
// port. A page from any other name may have pointed that name at this
// machine to read the picture, the diagnostics and the file paths (DNS
// rebinding); a page from another origin has no business here either.
// Inline because the HTTP module is built apart from the program and asks
// it too, on every system.
inline bool serves_request(std::string_view host, std::optional<std::string_view> origin,
                           int port) {
  const auto same_letters = [](std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
      if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
  };
  // A browser leaves out the port that is the scheme's own.
  const auto own = [&](std::string_view authority) {
    for (const std::string_view name :
         std::array<std::string_view, 3>{"127.0.0.1", "localhost", "[::1]"})
      if (same_letters(authority, std::string(name) + ":" + std::to_string(port)) ||
          (port == 80 && same_letters(authority, name)))
        return true;
    return false;
  };
  constexpr std::string_view scheme = "http://";
  return own(host) && (!origin || (origin->size() > scheme.size() &&
                                   same_letters(origin->substr(0, scheme.size()), scheme) &&
                                   own(origin->substr(scheme.size()))));
}

// Starts serving on 127.0.0.1 at port (0: a free port the system picks).
// Throws io_error when the port cannot be had; returns nullptr when the
// program was built without the HTTP library or its module cannot be loaded.
std::unique_ptr<page_server> start_page_server(int port);

}  // namespace scenario
