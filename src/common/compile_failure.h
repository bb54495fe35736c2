// The run-time failure of a compile: a read past the end of a description, a
// number that does not fit its field, an arithmetic overflow, a write outside
// the route grid. The compile catches it at its top, records code 25 and
// stops.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace scenario {

// A note on the failure's own line: at a column (from 1), what to write.
struct failure_note {
  int column = 0;
  std::string what;
};

class compile_failure : public std::runtime_error {
 public:
  // what: the failure in plain words; line: the source line where known (0 =
  // none); position: the metres of the object concerned, shown to the user
  // (code 25 records no position); note: where on that line its cause lies.
  compile_failure(const std::string& what, int line,
                  std::optional<std::int32_t> position = std::nullopt,
                  std::optional<failure_note> note = std::nullopt)
      : std::runtime_error(what), line_(line), position_(position), note_(std::move(note)) {}
  int line() const { return line_; }
  std::optional<std::int32_t> position() const { return position_; }
  const std::optional<failure_note>& note() const { return note_; }

 private:
  int line_;
  std::optional<std::int32_t> position_;
  std::optional<failure_note> note_;
};

// The value of a checked computation, or a compile failure naming what overflowed.
template <typename T>
T must_fit(std::optional<T> value, const char* what) {
  if (!value) throw compile_failure(std::string(what) + " does not fit its field", 0);
  return *value;
}

}  // namespace scenario
