#include "sources/field_reader.h"

#include "common/compile_failure.h"

namespace scenario {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}
bool is_line_end(char c) {
  return c == '\r' || c == '\n';
}

}  // namespace

field_reader::field_reader(std::string_view text) : text_(text) {
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

void field_reader::skip_separators() {
  for (;;) {
    skip_blanks();
    if (!at_line_end()) return;
    consume_line_end();
  }
}

void field_reader::start_field() {
  skip_separators();
  if (pos_ >= text_.size())
    throw compile_failure("the file ends where another field was expected", line_);
  begins_line_ = line_ != field_line_;
  field_line_ = line_;
  field_column_ = static_cast<int>(pos_ - line_start_) + 1;
}

std::string field_reader::read_text() {
  start_field();
  if (text_[pos_] == '"') {
    const std::size_t start = pos_ + 1;
    std::size_t close = text_.find('"', start);
    if (close == std::string_view::npos) close = text_.size();
    for (std::size_t i = start; i < close; ++i)
      if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= close || text_[i + 1] != '\n'))) {
        ++line_;
        line_start_ = i + 1;
      }
    std::string value(text_.substr(start, close - start));
    pos_ = close < text_.size() ? close + 1 : close;
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
  const std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
  std::size_t end = pos_;
  while (end > start && is_blank(text_[end - 1])) --end;
  if (pos_ < text_.size()) {
    if (text_[pos_] == ',')
      ++pos_;
    else
      consume_line_end();
  }
  return std::string(text_.substr(start, end - start));
}

std::int64_t field_reader::read_number(std::int64_t min, std::int64_t max, const char* width) {
  start_field();
  const std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && !is_blank(text_[pos_]) &&
         !is_line_end(text_[pos_]))
    ++pos_;
  const std::string_view token = text_.substr(start, pos_ - start);
  // A number ended by a blank takes the comma or line end after its blanks.
  skip_blanks();
  if (pos_ < text_.size()) {
    if (text_[pos_] == ',')
      ++pos_;
    else if (at_line_end())
      consume_line_end();
  }

  if (token.empty()) return 0;
  std::size_t i = 0;
  const bool negative = token[0] == '-';
  if (negative) i = 1;
  if (i == token.size())
    throw compile_failure("'" + std::string(token) + "' is not a whole number", field_line_);
  std::int64_t magnitude = 0;
  for (; i < token.size(); ++i) {
    const char c = token[i];
    if (c < '0' || c > '9')
      throw compile_failure("'" + std::string(token) + "' is not a whole number", field_line_);
    // Past 2^40 every width has overflowed; stop growing so nothing wraps.
    if (magnitude < (std::int64_t{1} << 40)) magnitude = magnitude * 10 + (c - '0');
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < min || value > max)
    throw compile_failure(std::string(token) + " does not fit " + width, field_line_);
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
