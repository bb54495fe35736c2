// The run-time failure of a compile: a read past the end of a description, a
// number that does not fit its field, an arithmetic overflow. The compile
// catches it at its top, records code 25 and stops.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace scenario {

class compile_failure : public std::runtime_error {
 public:
  // what: the failure in plain words; line: the source line where known (0 = none).
  compile_failure(const std::string& what, int line) : std::runtime_error(what), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// The value of a checked computation, or a compile failure naming what overflowed.
template <typename T>
T must_fit(std::optional<T> value, const char* what) {
  if (!value) throw compile_failure(std::string(what) + " does not fit its field", 0);
  return *value;
}

}  // namespace scenario
