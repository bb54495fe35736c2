#include "platform/page_server.h"

#ifdef SCENARIO_WITH_HTTP
#include "platform/modules.h"
#endif

namespace scenario {

bool page_server_built() {
#ifdef SCENARIO_WITH_HTTP
  return true;
#else
  return false;
#endif
}

std::string_view page_server_missing() {
#ifdef _WIN32
  // No Debian package to name on Windows: the library is cpp-httplib's header.
  return "this scenario_gen was built without the HTTP library that --serve needs; build it "
         "again with cpp-httplib's header (httplib.h)";
#else
  return "this scenario_gen was built without the HTTP library that --serve needs; install it "
         "(Debian: libcpp-httplib-dev) and build again";
#endif
}

std::unique_ptr<page_server> start_page_server([[maybe_unused]] int port) {
#ifdef SCENARIO_WITH_HTTP
  return load_page_server(port);
#else
  return nullptr;
#endif
}

}  // namespace scenario
