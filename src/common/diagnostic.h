// The one value for everything the program tells its user about a problem,
// and the one formatter of its lines. A diagnostic points at a line and
// column of a text file, at a binary file, or at the program itself.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "common/warning_groups.h"

namespace scenario {

enum class severity { error, warning, note };

struct diagnostic {
  severity level = severity::error;
  std::string file;                      // the file it concerns; empty for the program itself
  int line = 0;                          // from 1; 0 when it concerns no line
  int column = 0;                        // from 1; 0 when not known
  std::optional<std::uint64_t> offset;   // a byte offset in a binary file
  std::string message;                   // what is wrong, in the user's words
  std::optional<std::int32_t> code;      // the compile fault code
  std::optional<std::int32_t> position;  // metres along the route
  std::string source_line;               // the text line shown under it, with a caret at column
  std::vector<diagnostic> notes;         // where the cause lies elsewhere
  warning_group group = warning_group::none;  // a warning's group, shown as [-Wname]
  bool from_warning = false;  // an error that an option made of a warning: [-Werror(=name)]

  friend bool operator==(const diagnostic&, const diagnostic&) = default;
};

// "error", "warning" or "note", as the diagnostic's line shows it.
const char* severity_name(severity level);

// The program's own name, which stands where a diagnostic has no file.
inline constexpr const char* k_program_name = "scenario_gen";

// The lines of d, each ending with a line end:
//   FILE:LINE:COLUMN: error: MESSAGE (code N, at P m)
// (a warning of a group ends its line with [-Wgroup], a warning made an
// error with [-Werror=group], or [-Werror] when it has no group),
// then the source line and a caret under the column when there is one, then
// its notes in the same form. The line and column are left out where
// unknown; a diagnostic of the program itself reads "scenario_gen: error: ...",
// one of a binary file "scenario_gen: error: FILE: MESSAGE", and one at a
// byte of it "scenario_gen: error: FILE: offset N: MESSAGE".
std::string format_diagnostic(const diagnostic& d);

// A diagnostic of the program itself.
diagnostic program_diagnostic(std::string message, severity level = severity::error);

// A failure that ends a command: what to tell the user, and the exit status.
class failure : public std::exception {
 public:
  explicit failure(diagnostic d, int status = 2) : d_(std::move(d)), status_(status) {}
  const diagnostic& what_failed() const { return d_; }
  int status() const { return status_; }
  const char* what() const noexcept override { return d_.message.c_str(); }

 private:
  diagnostic d_;
  int status_;
};

}  // namespace scenario
