// Where each record of a description stands, as an editor shows it: line by
// line, each line a section header, a record (its keyword field, the kinds
// the compiler reads it as and its value fields) or neither, with the line,
// column and byte where each of them starts and ends, and the sections the
// headers open. The compiler reads a stream of fields (field_reader.h);
// records written one to a line, as authors and the program write them, read
// the same both ways, and this view keeps the compiler's tests: reading
// begins at the field that holds the general header, and a line
// description's general section ends at the header after it.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "sources/keyword_table.h"

namespace scenario {

// Characters first to last (exclusive) of a line, blanks around left out.
struct field_span {
  std::size_t first = 0;
  std::size_t last = 0;
};

// A place in the text: its line and column (both from 1, the column in
// bytes) and its byte from the text's start.
struct text_place {
  int line = 0;
  int column = 0;
  std::size_t byte = 0;

  friend bool operator==(const text_place&, const text_place&) = default;
};

struct record_place {
  int line = 0;                 // from 0
  std::size_t line_start = 0;   // the byte its line starts at
  std::size_t line_length = 0;  // its line's bytes, the line end left out
  bool header = false;
  field_span keyword;  // the header, or the record's keyword field
  // The kinds the keyword field is read as where it stands, in the
  // compiler's test order; empty for a field read as none.
  std::vector<const record_spec*> kinds;
  std::vector<field_span> values;  // after the keyword, in order
  bool extra = false;              // text after the value fields the first kind takes
  // Where the line stands: general or body in a line description (a header
  // that ends the general section already body), anywhere in a train
  // description.
  record_part part = record_part::anywhere;

  // Its line in text (the text it was read from), without the line end.
  std::string_view row(std::string_view text) const { return text.substr(line_start, line_length); }
  std::string_view field(std::string_view text, field_span f) const {
    return row(text).substr(f.first, f.last - f.first);
  }
  text_place start_of(field_span f) const { return place_at(f.first); }
  text_place end_of(field_span f) const { return place_at(f.last); }
  text_place place_at(std::size_t character) const {
    return {line + 1, static_cast<int>(character) + 1, line_start + character};
  }
};

// The lines of text (Windows-1252) that hold a header or a keyword field
// read from the one holding the general header on (that header included).
// A line description's keyword fields are read as general kinds up to the
// header that ends the general section, as body kinds after it.
std::vector<record_place> read_record_places(description_format format, std::string_view text);

// A section: its header (an index into the records read), the records after
// it up to the next header, and where it starts and ends in the text (from
// its header's first character to its last line's end).
struct section_place {
  std::size_t header = 0;
  std::size_t end = 0;  // one past its last record
  text_place start;
  text_place last;
};
std::vector<section_place> sections_of(const std::vector<record_place>& records);

// True for a field that holds the general header, in any letter case.
bool holds_general_header(std::string_view field);

// The value field at a character of a record's line; -1 for the keyword
// field, -2 for none.
int field_at(const record_place& record, std::size_t character);

// Where the value fields of a kind stand in line after its keyword's comma:
// the clock's values are parted by blanks, every other by commas, a last
// text field running to the next comma or the line's end. extra tells
// whether anything but blanks and commas stands after them.
std::vector<field_span> value_fields(const record_spec& kind, std::string_view line,
                                     std::size_t after_keyword, bool& extra);

}  // namespace scenario
