// The page server on the HTTP library (Debian: libcpp-httplib-dev).
#pragma once

#include <memory>

#include "platform/page_server.h"

namespace scenario {

// As start_page_server.
std::unique_ptr<page_server> start_httplib_page_server(int port);

}  // namespace scenario
