// Formatting: each record line laid out as the program writes its own
// descriptions (decompile's layout), keeping every keyword as written and
// every value as it reads. A line whose fields the layout could not give back
// exactly (a value that is not a plain number, a field too many or too few,
// text after the last value, a text with outer blanks) is left as it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sources/keyword_table.h"

namespace scenario {

struct line_replacement {
  int line = 0;      // from 0
  std::string text;  // the whole line, Windows-1252, without its line end
};

// The lines of text (Windows-1252) whose layout differs from the program's.
std::vector<line_replacement> layout_edits(description_format format, std::string_view text);

}  // namespace scenario
