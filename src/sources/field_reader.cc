#include "sources/field_reader.h"

#include <algorithm>
#include <iterator>

#include "common/compile_failure.h"
#include "common/text.h"

namespace scenario {
namespace {

// Around numbers a tab counts as a blank; in a text field it is text.
bool is_blank(char c) {
  return c == ' ' || c == '\t';
}
bool is_line_end(char c) {
  return c == '\r' || c == '\n';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// The whole number that text ends with, past its trailing blanks, when a
// blank, a comma or the line's start comes before it; empty otherwise.
std::string_view number_at_end(std::string_view text) {
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  std::size_t start = text.size();
  while (start > 0 && is_digit(text[start - 1])) --start;
  if (start == text.size()) return {};
  if (start > 0 && text[start - 1] == '-') --start;
  if (start > 0 && !is_blank(text[start - 1]) && text[start - 1] != ',') return {};
  return text.substr(start);
}

// The unit that begins text: "per mille" and "per cento" as two words,
// otherwise the text up to a blank or a comma; empty when it is none.
std::string_view unit_at_start(std::string_view text) {
  for (std::string_view two : {"per mille", "per cento"})
    if (text.starts_with(two) && (text.size() == two.size() || text[two.size()] == ',' ||
                                  is_blank(text[two.size()]) || is_line_end(text[two.size()])))
      return text.substr(0, two.size());
  std::size_t end = 0;
  while (end < text.size() && text[end] != ',' && !is_blank(text[end]) && !is_line_end(text[end]))
    ++end;
  return is_unit_word(text.substr(0, end)) ? text.substr(0, end) : std::string_view{};
}

}  // namespace

bool is_unit_word(std::string_view word) {
  // The units of the formats' fields and of what authors measure, as they
  // write them; the per-mille sign in Windows-1252 and in UTF-8.
  static constexpr std::string_view k_units[] = {
      "m",  "cm", "mm", "km", "km/h", "kmh",          "s",         "sec",       "min",     "h", "t",
      "kg", "kn", "kw", "%",  "\x89", "\xE2\x80\xB0", "per mille", "per cento", "permille"};
  std::string lower(word);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return std::find(std::begin(k_units), std::end(k_units), lower) != std::end(k_units);
}

std::string_view field_reader::field_text() const {
  std::size_t end = field_pos_;
  while (end < text_.size() && text_[end] != ',' && !is_line_end(text_[end])) ++end;
  while (end > field_pos_ && is_blank(text_[end - 1])) --end;
  return text_.substr(field_pos_, end - field_pos_);
}

std::string_view field_reader::number_before_field() const {
  const std::string_view before = text_.substr(field_line_start_, field_pos_ - field_line_start_);
  if (before.empty() || !is_blank(before.back())) return {};
  return number_at_end(before);
}

void field_reader::not_a_number(std::string_view token) const {
  const std::string_view line = text_.substr(field_line_start_);
  const std::size_t at = field_pos_ - field_line_start_;
  // A unit parted from its number by blanks, or written right after it.
  std::string_view number = number_at_end(line.substr(0, at));
  if (number.size() > 11) number = {};  // no 32-bit value
  std::string_view unit = number.empty() ? std::string_view{} : unit_at_start(line.substr(at));
  std::size_t number_at =
      number.empty() ? 0 : static_cast<std::size_t>(number.data() - line.data());
  if (unit.empty()) {
    std::size_t digits = token.starts_with('-') ? 1 : 0;
    while (digits < token.size() && is_digit(token[digits])) ++digits;
    const std::string_view glued = token.substr(digits);
    // Written against its number, only the units of the formats' own fields
    // are told as units.
    const bool unit_of_a_field = glued == "m" || glued == "km" || glued == "km/h" || glued == "%";
    if (digits > 0 && token.substr(0, digits) != "-" && unit_of_a_field) {
      number = token.substr(0, digits);
      unit = token.substr(digits);
      number_at = at;
    }
  }
  if (unit.empty())
    throw compile_failure(quoted_field(token) + " is not a whole number", field_line_);
  throw compile_failure("the unit " + quoted_field(unit) + " after " + std::string(number) +
                            " is read as " +
                            (number_at == at ? "part of the value" : "the next value") +
                            ", which is not a whole number",
                        field_line_, std::nullopt,
                        failure_note{static_cast<int>(number_at) + 1,
                                     "the format has no units; write " + std::string(number)});
}

field_reader::field_reader(std::string_view text, reading_rules rules)
    : text_(text), rules_(rules) {
  content_end_ = text_.size();
  while (content_end_ > 0) {
    const char c = text_[content_end_ - 1];
    if (!is_blank(c) && !is_line_end(c)) break;
    --content_end_;
  }
}

bool field_reader::at_line_end() const {
  return pos_ < text_.size() && is_line_end(text_[pos_]);
}

void field_reader::consume_line_end() {
  // CR LF, a lone CR and a lone LF each end one line.
  if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
  ++line_;
  line_start_ = pos_;
}

void field_reader::skip_blanks() {
  while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
}

void field_reader::skip_separators(bool tabs_too) {
  for (;;) {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || (tabs_too && text_[pos_] == '\t'))) ++pos_;
    if (!at_line_end()) return;
    consume_line_end();
  }
}

void field_reader::start_field(bool tabs_too) {
  skip_separators(tabs_too);
  if (pos_ >= text_.size()) {
    ran_out_ = true;
    throw compile_failure("the file ends where another field was expected", line_);
  }
  begins_line_ = line_ != field_line_;
  field_line_ = line_;
  field_column_ = static_cast<int>(pos_ - line_start_) + 1;
  field_pos_ = pos_;
  field_line_start_ = line_start_;
  if (first_value_line_ == 0) {
    first_value_line_ = field_line_;
    first_value_column_ = field_column_;
  }
  if (field_line_ == mark_line_) ++fields_on_record_line_;
  if (fields_since_mark_ < k_places_kept)
    places_[fields_since_mark_] = {field_line_, field_column_};
  ++fields_since_mark_;
}

std::pair<int, int> field_reader::value_place(std::size_t n) const {
  if (n < fields_since_mark_ && n < k_places_kept) return places_[n];
  return {field_line_, field_column_};
}

void field_reader::mark_record() {
  mark_line_ = field_line_;
  fields_on_record_line_ = 0;
  fields_since_mark_ = 0;
  first_value_line_ = 0;
  first_value_column_ = 0;
}

std::string_view field_reader::rest_of_line() const {
  if (pos_ == 0 || pos_ > text_.size() || is_line_end(text_[pos_ - 1])) return {};
  std::size_t end = pos_;
  while (end < text_.size() && !is_line_end(text_[end])) ++end;
  return text_.substr(pos_, end - pos_);
}

void field_reader::skip_rest_of_line() {
  pos_ += rest_of_line().size();
  if (at_line_end()) consume_line_end();
}

void field_reader::back_to_field_start() {
  pos_ = field_pos_;
  line_ = field_line_;
  line_start_ = field_line_start_;
  // The field is to be read again as the first of its line where it was.
  if (begins_line_) field_line_ = 0;
}

std::string_view field_reader::read_quoted() {
  const std::size_t start = pos_ + 1;
  std::size_t close = text_.find('"', start);
  if (close == std::string_view::npos) close = text_.size();
  for (std::size_t i = start; i < close; ++i)
    if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= close || text_[i + 1] != '\n'))) {
      ++line_;
      line_start_ = i + 1;
    }
  const std::string_view value = text_.substr(start, close - start);
  pos_ = close < text_.size() ? close + 1 : close;
  if (rules_ == reading_rules::line_description) {
    // The field ends at its closing quote: a comma or line end after it (past
    // blanks) is its separator, anything else begins the next field.
    const std::size_t after = pos_;
    skip_blanks();
    if (pos_ < text_.size() && text_[pos_] == ',')
      ++pos_;
    else if (at_line_end())
      consume_line_end();
    else
      pos_ = after;
    return value;
  }
  // What follows the closing quote up to the next separator is dropped.
  while (pos_ < text_.size() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
  if (pos_ < text_.size()) {
    if (text_[pos_] == ',')
      ++pos_;
    else
      consume_line_end();
  }
  return value;
}

std::string field_reader::read_text() {
  start_field(/*tabs_too=*/false);
  if (text_[pos_] == '"') return std::string(read_quoted());
  const std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
  std::size_t end = pos_;
  // Trailing spaces are not part of the text; a tab is.
  while (end > start && text_[end - 1] == ' ') --end;
  if (pos_ < text_.size()) {
    if (text_[pos_] == ',')
      ++pos_;
    else
      consume_line_end();
  }
  return std::string(text_.substr(start, end - start));
}

std::int64_t field_reader::read_number(std::int64_t min, std::int64_t max, const char* width) {
  start_field(/*tabs_too=*/true);
  std::string_view token;
  if (rules_ == reading_rules::line_description && text_[pos_] == '"') {
    // A quoted number is the text between its quotes, blanks around it aside.
    token = read_quoted();
    while (!token.empty() && is_blank(token.front())) token.remove_prefix(1);
    while (!token.empty() && is_blank(token.back())) token.remove_suffix(1);
  } else {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !is_blank(text_[pos_]) &&
           !is_line_end(text_[pos_]))
      ++pos_;
    token = text_.substr(start, pos_ - start);
    if (rules_ == reading_rules::line_description) {
      // The number ends at the blank: the comma after it ends the next field.
      // The blanks after it, tabs too, are passed over, so that a text field
      // after a number ended by a tab begins as after one ended by a space.
      if (pos_ < text_.size() && text_[pos_] == ',')
        ++pos_;
      else if (at_line_end())
        consume_line_end();
      else
        skip_blanks();
    } else {
      // A number ended by a blank takes the comma or line end after its blanks.
      skip_blanks();
      if (pos_ < text_.size()) {
        if (text_[pos_] == ',')
          ++pos_;
        else if (at_line_end())
          consume_line_end();
      }
    }
  }

  if (token.empty()) return 0;
  std::size_t i = 0;
  const bool negative = token[0] == '-';
  if (negative) i = 1;
  if (i == token.size()) not_a_number(token);
  std::int64_t magnitude = 0;
  for (; i < token.size(); ++i) {
    const char c = token[i];
    if (c < '0' || c > '9') not_a_number(token);
    // Past 2^40 every width has overflowed; stop growing so nothing wraps.
    if (magnitude < (std::int64_t{1} << 40)) magnitude = magnitude * 10 + (c - '0');
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < min || value > max)
    throw compile_failure(shown_field(token) + " does not fit " + width, field_line_);
  return value;
}

std::int32_t field_reader::read_int32() {
  return static_cast<std::int32_t>(
      read_number(INT32_MIN, INT32_MAX, "a 32-bit field (-2147483648 to 2147483647)"));
}

std::int16_t field_reader::read_int16() {
  return static_cast<std::int16_t>(
      read_number(INT16_MIN, INT16_MAX, "a 16-bit field (-32768 to 32767)"));
}

std::uint8_t field_reader::read_uint8() {
  return static_cast<std::uint8_t>(read_number(0, 255, "an 8-bit field (0 to 255)"));
}

}  // namespace scenario
