// The quick fixes offered for a diagnostic: edits of the field it points at
// (or of the rest of its line) that make the diagnostic go away.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/diagnostic.h"

namespace scenario {

// Replace the characters first to last (exclusive) of a line with text.
struct line_fix {
  std::string title;
  std::size_t first = 0;
  std::size_t last = 0;
  std::string text;  // Windows-1252, as the line
};

// Where a diagnostic's field lies in its line: from its column (from 0) to
// the comma or line end after it, a quoted field to its closing quote,
// trailing blanks left out.
std::size_t field_end(std::string_view line, std::size_t start);

// The fixes for a diagnostic with that message whose field starts at start
// in line (Windows-1252): the keyword it suggests, the keyword in lower
// case, the unit dropped after a number, the text quoted that a comma cut,
// the position moved to the nearest multiple of 50.
std::vector<line_fix> fixes_for(std::string_view message, std::string_view line, std::size_t start);

// The fixes for a diagnostic on that line, its notes' words included (a
// unit's fault says what to write in a note).
std::vector<line_fix> fixes_for(const diagnostic& d, std::string_view line);

}  // namespace scenario
