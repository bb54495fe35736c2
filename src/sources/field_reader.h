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
// by a blank (a space or a tab, as around every number) leaves the comma
// after its blanks to end the next (empty) field, a
// number may be quoted, and a quoted field ends at its closing quote. The
// train description, which its writer never spaces that way, lets a number's
// blanks run to its comma and drops what follows a closing quote up to it.
// The text has ended when nothing but blanks and line ends remains, so a file
// may end with empty lines. Reading past the end, or a number that is not a
// number or does not fit its width, throws compile_failure.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace scenario {

enum class reading_rules { line_description, train_description };

// True for a word that reads as a unit after a number, in any letter case:
// "m", "km", "km/h", "s", "min", "h", "t", "%", "per mille", the per-mille
// sign and a few more.
bool is_unit_word(std::string_view word);

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

  // True once a read has failed because the text had ended.
  bool ran_out() const { return ran_out_; }

  // Starts counting the fields of a record, after its keyword field.
  void mark_record();
  // The fields read since mark_record on the line of the keyword field.
  int fields_on_record_line() const { return fields_on_record_line_; }
  // The line and column of the first field read since mark_record; 0 when none.
  int first_value_line() const { return first_value_line_; }
  int first_value_column() const { return first_value_column_; }
  // The line and column of field n (from 0) read since mark_record; those of
  // the last field read when fewer were read or n is past the ones kept.
  std::pair<int, int> value_place(std::size_t n) const;

  // What stands after the last field read on its line, up to the line end;
  // empty when that field's separator was the line end. Nothing is consumed.
  std::string_view rest_of_line() const;
  // True when the last field read was ended by a comma, or by blanks.
  bool ended_by_comma() const { return pos_ > 0 && text_[pos_ - 1] == ','; }
  bool rest_after_blank() const {
    return pos_ > 0 && pos_ <= text_.size() && (text_[pos_ - 1] == ' ' || text_[pos_ - 1] == '\t');
  }
  // True when the last field read held nothing before the comma that ended it.
  bool field_was_empty() const { return ended_by_comma() && field_pos_ + 1 == pos_; }
  // The last field read as it stands in the text, up to its separator.
  std::string_view field_text() const;
  // The whole number just before the last field read on its line, parted
  // from it by blanks only ("4750" in "4750 m"); empty when there is none.
  std::string_view number_before_field() const;
  // The column (from 1) at which rest_of_line begins.
  int rest_column() const { return static_cast<int>(pos_ - line_start_) + 1; }
  // Passes over rest_of_line and the line end after it.
  void skip_rest_of_line();
  // Goes back to the start of the last field read, so that it is read again.
  void back_to_field_start();

 private:
  void skip_separators(bool tabs_too);
  void skip_blanks();
  void consume_line_end();
  bool at_line_end() const;
  void start_field(bool tabs_too);
  std::string_view read_quoted();
  std::int64_t read_number(std::int64_t min, std::int64_t max, const char* width);
  // The failure of a number field that holds token instead of a number: a
  // unit after the number before it on its line is named as one.
  [[noreturn]] void not_a_number(std::string_view token) const;

  std::string_view text_;
  reading_rules rules_;
  std::size_t pos_ = 0;
  std::size_t content_end_ = 0;  // one past the last character that is not a separator
  int line_ = 1;                 // line of pos_
  std::size_t line_start_ = 0;   // where line_ begins
  int field_line_ = 0;
  int field_column_ = 0;
  std::size_t field_pos_ = 0;         // where the last field read began
  std::size_t field_line_start_ = 0;  // where its line begins
  bool begins_line_ = false;
  bool ran_out_ = false;
  int mark_line_ = 0;  // line of the keyword field given to mark_record
  int fields_on_record_line_ = 0;
  int first_value_line_ = 0;
  int first_value_column_ = 0;
  // The places of the first fields since mark_record, enough for any record.
  static constexpr std::size_t k_places_kept = 20;
  std::array<std::pair<int, int>, k_places_kept> places_{};
  std::size_t fields_since_mark_ = 0;
};

}  // namespace scenario
