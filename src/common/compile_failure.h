// The run-time failure of a compile: a read past the end of a description, a
// number that does not fit its field, an arithmetic overflow, a write outside
// the route grid. The compile catches it at its top, records code 25 and
// stops.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace scenario {

class compile_failure : public std::runtime_error {
 public:
  // what: the failure in plain words; line: the source line where known (0 =
  // none); position: the metres of the object concerned, shown to the user
  // (code 25 records no position).
  compile_failure(const std::string& what, int line,
                  std::optional<std::int32_t> position = std::nullopt)
      : std::runtime_error(what), line_(line), position_(position) {}
  int line() const { return line_; }
  std::optional<std::int32_t> position() const { return position_; }

 private:
  int line_;
  std::optional<std::int32_t> position_;
};

// The value of a checked computation, or a compile failure naming what overflowed.
template <typename T>
T must_fit(std::optional<T> value, const char* what) {
  if (!value) throw compile_failure(std::string(what) + " does not fit its field", 0);
  return *value;
}

}  // namespace scenario
