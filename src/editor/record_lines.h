// A description as an editor shows it: line by line, each line a section
// header, a record (its keyword field, the kinds the compiler reads it as and
// its value fields where they stand) or neither. The compiler reads a stream
// of fields; records written one to a line, as authors and the program write
// them, read the same both ways.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sources/keyword_table.h"

namespace scenario {

// Characters first to last (exclusive) of a line, blanks around left out.
struct field_span {
  std::size_t first = 0;
  std::size_t last = 0;
};

struct record_line {
  int line = 0;  // from 0
  bool header = false;
  field_span keyword;  // the header, or the record's keyword field
  // The kinds the keyword field is read as where it stands, in the
  // compiler's test order; empty for a field read as none.
  std::vector<const record_spec*> kinds;
  std::vector<field_span> values;  // after the keyword, in order
  bool extra = false;              // text after the value fields the first kind takes
  // Where the line stands: general or body in a line description (a header
  // that ends [generale] already body), anywhere in a train description.
  record_part part = record_part::anywhere;
};

// The lines of text (Windows-1252) that hold a header or a keyword field
// read after "[generale]" (that header included). A line description's
// keyword fields are read as general kinds up to the header that ends the
// [generale] section, as body kinds after it.
std::vector<record_line> read_record_lines(description_format format, std::string_view text);

// The format a file's name gives, line descriptions being NAME_linea.txt.
description_format format_of(std::string_view file_name);

// The value field at a character of a line; -1 for the keyword field, -2
// for none.
int field_at(const record_line& record, std::size_t character);

// Where the value fields of a kind stand: the clock's values are parted by
// blanks, every other by commas, a last text field running to the next
// comma or the line's end.
std::vector<field_span> value_fields(const record_spec& kind, std::string_view line,
                                     std::size_t after_keyword, bool& extra);

}  // namespace scenario
