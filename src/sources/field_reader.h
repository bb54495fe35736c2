// Reads a description file as a stream of fields, the one reading rule that
// both text formats share:
//  - before a field, blanks, carriage returns and line feeds are skipped; a
//    tab is skipped too before a number, but in a text field it is text;
//  - a text field runs to the next comma or line end (trailing blanks are not
//    part of it); one that begins with a double quote runs to the next one;
//  - a number runs to the first blank, comma or line end, and is a plain
//    decimal whole number with an optional leading minus; an empty one is 0;
//  - the comma or line end that ends a field is consumed with it.
// The line description keeps to the letter of these rules: a number ended
// by a blank leaves the comma after it to end the next (empty) field, a
// number may be quoted, and a quoted field ends at its closing quote. The
// train description, which its writer never spaces that way, lets a number's
// blanks run to its comma and drops what follows a closing quote up to it.
// The text has ended when nothing but blanks and line ends remains, so a file
// may end with empty lines. Reading past the end, or a number that is not a
// number or does not fit its width, throws compile_failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

enum class reading_rules { line_description, train_description };

class field_reader {
 public:
  // text must outlive the reader.
  explicit field_reader(std::string_view text,
                        reading_rules rules = reading_rules::train_description);

  // True when nothing but blanks and line ends remains to be read.
  bool at_end() const { return pos_ >= content_end_; }

  std::string read_text();
  std::int32_t read_int32();
  std::int16_t read_int16();
  std::uint8_t read_uint8();

  // The line (from 1) on which the last field read began, and its column
  // (from 1, in bytes).
  int field_line() const { return field_line_; }
  int field_column() const { return field_column_; }
  // True when the last field read is the first field of its line.
  bool field_begins_line() const { return begins_line_; }

 private:
  void skip_separators(bool tabs_too);
  void skip_blanks();
  void consume_line_end();
  bool at_line_end() const;
  void start_field(bool tabs_too);
  std::string_view read_quoted();
  std::int64_t read_number(std::int64_t min, std::int64_t max, const char* width);

  std::string_view text_;
  reading_rules rules_;
  std::size_t pos_ = 0;
  std::size_t content_end_ = 0;  // one past the last character that is not a separator
  int line_ = 1;                 // line of pos_
  std::size_t line_start_ = 0;   // where line_ begins
  int field_line_ = 0;
  int field_column_ = 0;
  bool begins_line_ = false;
};

}  // namespace scenario
