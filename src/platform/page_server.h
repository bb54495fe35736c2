// A small web server for one page that changes: it serves a set of files on
// 127.0.0.1 and tells every open page of each new set through server-sent
// events (GET /events). Built only where the HTTP library is installed.
#pragma once

#include <memory>
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
  // Stops listening and ends every open event stream; waits for them.
  virtual void stop() = 0;
};

// True when the program was built with the HTTP library.
bool page_server_built();

// What to install when it was not.
std::string_view page_server_missing();

// Starts serving on 127.0.0.1 at port (0: a free port the system picks).
// Throws io_error when the port cannot be had; returns nullptr when the
// program was built without the HTTP library or its module cannot be loaded.
std::unique_ptr<page_server> start_page_server(int port);

}  // namespace scenario
