#include "platform/page_server.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(PageServer, ServesOnlyItsOwnAddress) {
  struct request_case {
    const char* host;
    const char* origin;  // null: no Origin header
    int port;
    bool served;
  };
  for (const request_case& c : {
           // Its own address by each of its names, with or without an Origin.
           request_case{"127.0.0.1:8018", nullptr, 8018, true},
           request_case{"localhost:8018", nullptr, 8018, true},
           request_case{"LocalHost:8018", nullptr, 8018, true},
           request_case{"[::1]:8018", nullptr, 8018, true},
           request_case{"127.0.0.1:8018", "http://127.0.0.1:8018", 8018, true},
           request_case{"localhost:8018", "http://localhost:8018", 8018, true},
           request_case{"127.0.0.1:8018", "http://[::1]:8018", 8018, true},
           // A browser leaves out port 80, and only that one.
           request_case{"localhost", "http://localhost", 80, true},
           request_case{"localhost", nullptr, 8018, false},
           // A name rebound to this machine, or close to its own.
           request_case{"evil.example:8018", nullptr, 8018, false},
           request_case{"127.0.0.1.evil.example:8018", nullptr, 8018, false},
           request_case{"localhost.:8018", nullptr, 8018, false},
           request_case{"127.0.0.2:8018", nullptr, 8018, false},
           request_case{"0.0.0.0:8018", nullptr, 8018, false},
           request_case{"[::1]", nullptr, 8018, false},
           request_case{"::1:8018", nullptr, 8018, false},
           request_case{"", nullptr, 8018, false},
           // Its own name at another port.
           request_case{"127.0.0.1:8019", nullptr, 8018, false},
           request_case{"127.0.0.1:08018", nullptr, 8018, false},
           request_case{"127.0.0.1:8018:8018", nullptr, 8018, false},
           // A foreign origin, however the Host reads.
           request_case{"127.0.0.1:8018", "http://evil.example", 8018, false},
           request_case{"127.0.0.1:8018", "http://evil.example:8018", 8018, false},
           request_case{"127.0.0.1:8018", "https://127.0.0.1:8018", 8018, false},
           request_case{"127.0.0.1:8018", "http://127.0.0.1:8019", 8018, false},
           request_case{"127.0.0.1:8018", "null", 8018, false},
           request_case{"127.0.0.1:8018", "", 8018, false},
           request_case{"127.0.0.1:8018", "http://", 8018, false},
       }) {
    const auto origin = c.origin ? std::optional<std::string_view>(c.origin) : std::nullopt;
    EXPECT_EQ(serves_request(c.host, origin, c.port), c.served)
        << "Host: " << c.host << ", Origin: " << (c.origin ? c.origin : "(none)") << ", port "
        << c.port;
  }
}

}  // namespace
}  // namespace scenario
