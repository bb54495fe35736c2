#include "sources/record_layout.h"

#include <iterator>
#include <span>
#include <tuple>

namespace scenario {
namespace {

// keyword, then each value after a comma and `gap` blanks.
std::string spaced(std::string_view keyword, std::span<const std::int32_t> values,
                   std::span<const int> gaps) {
  std::string line(keyword);
  for (std::size_t i = 0; i < values.size(); ++i) {
    line += ',';
    line.append(static_cast<std::size_t>(gaps[i]), ' ');
    line += std::to_string(values[i]);
  }
  return line;
}

// ", " and value right-aligned in width; a wider value is written whole.
void aligned(std::string& line, std::int32_t value, int width) {
  const std::string digits = std::to_string(value);
  line += ',';
  if (digits.size() < static_cast<std::size_t>(width))
    line.append(static_cast<std::size_t>(width) - digits.size(), ' ');
  line += digits;
}

std::string aligned(std::string_view keyword, std::span<const std::int32_t> values,
                    std::span<const int> widths) {
  std::string line(keyword);
  for (std::size_t i = 0; i < values.size(); ++i) aligned(line, values[i], widths[i]);
  return line;
}

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string_view curve_keyword(bool left, int digit) {
  // As the compiler reads a curve keyword: its digit gives the curvature, an
  // "s" the turn to the left.
  for (std::string_view keyword : record_of(line_record::curve).keywords)
    if (keyword.back() == '0' + digit && (keyword.find('s') != keyword.npos) == left)
      return keyword;
  return {};
}

std::string_view repetition_keyword(int codes) {
  const std::span<const std::string_view> keywords =
      record_of(line_record::signal_repetition).keywords;
  const std::string count = ' ' + std::to_string(codes == 9 ? 9 : 4) + ' ';
  for (std::string_view keyword : keywords)
    if (keyword.find(count) != keyword.npos) return keyword;
  return keywords.front();
}

std::string general_line(std::string_view keyword, std::initializer_list<std::int32_t> values) {
  std::string line(keyword);
  for (std::int32_t v : values) line += ",    " + std::to_string(v);
  return line;
}

std::string curve_line(std::string_view keyword, std::int32_t start, std::int32_t length) {
  const std::int32_t values[] = {start, length};
  const int gaps[] = {2, 2};
  return spaced(keyword, values, gaps);
}

std::string gradient_line(std::int32_t position, std::int32_t gradient) {
  const std::int32_t values[] = {position, gradient};
  const int gaps[] = {2, 3};
  return spaced(usual_keyword(line_record::gradient), values, gaps);
}

std::string scenery_line(std::int32_t inizio, std::int32_t fine, std::int32_t tipo) {
  const std::int32_t values[] = {inizio, fine, tipo};
  const int gaps[] = {3, 2, 2};
  return spaced(usual_keyword(line_record::scenery), values, gaps);
}

std::string speed_board_line(std::int32_t posizione, const speed_board_numbers& values) {
  std::string line(usual_keyword(line_record::speed_board));
  line += ",  " + std::to_string(posizione);
  for (const std::optional<std::int32_t>& v : values)
    line += ",  " + (v ? std::to_string(*v) : std::string());
  return line;
}

std::string text_board_line(std::int32_t position, std::string_view field) {
  return std::string(usual_keyword(line_record::text_board)) + ",  " + std::to_string(position) +
         ",  " + std::string(field);
}

std::string clock_line(std::int32_t hours, std::int32_t minutes, std::int32_t seconds) {
  return std::string(usual_keyword(train_record::clock)) + ",    " + std::to_string(hours) +
         std::string(15, ' ') + std::to_string(minutes) + std::string(12, ' ') +
         std::to_string(seconds) + ' ';
}

std::string adhesion_line(std::int32_t position, std::int32_t adhesion) {
  const std::int32_t values[] = {position, adhesion};
  const int widths[] = {4, 7};
  return aligned(usual_keyword(train_record::adhesion), values, widths);
}

std::string speed_limit_line(std::int32_t position, std::int32_t speed) {
  const std::int32_t values[] = {position, speed};
  const int widths[] = {8, 6};
  return aligned(usual_keyword(train_record::speed_limit), values, widths);
}

std::string station_line(const station_numbers& values, std::string_view name_field) {
  static constexpr int widths[] = {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2};
  static_assert(std::size(widths) == std::tuple_size_v<station_numbers>);
  return aligned(usual_keyword(train_record::station), values, widths) + ", " +
         std::string(name_field);
}

std::string slowdown_line(const slowdown_numbers& values) {
  static constexpr int widths[] = {8, 6, 5, 2, 3, 3};
  static_assert(std::size(widths) == std::tuple_size_v<slowdown_numbers>);
  return aligned(usual_keyword(train_record::slowdown), values, widths);
}

std::string slowdown_line(const slowdown_record& slowdown) {
  return slowdown_line(slowdown.numbers());
}

std::string signal_line(const signal_record& signal) {
  return signal_line(signal.numbers());
}

std::string signal_line(const signal_numbers& values) {
  // The last value, the clearing delay, stands after one blank.
  static constexpr int widths[] = {8, 4, 2, 2, 3, 2, 5, 3, 1, 1};
  static_assert(std::size(widths) + 1 == std::tuple_size_v<signal_numbers>);
  return aligned(usual_keyword(train_record::signal), std::span(values).first(std::size(widths)),
                 widths) +
         ", " + std::to_string(values.back());
}

std::string code_line_line(std::int32_t position, std::int32_t value) {
  const std::int32_t values[] = {position, value};
  const int widths[] = {8, 6};
  return aligned(usual_keyword(train_record::code_line), values, widths);
}

std::optional<std::string> text_field(std::string_view text) {
  // Unquoted, a field loses its outer blanks and ends at a comma or a line
  // end; quoted, it runs to the next double quote.
  const bool plain = !text.empty() && text.front() != '"' && !is_blank(text.front()) &&
                     !is_blank(text.back()) && text.find_first_of(",\r\n") == text.npos;
  if (plain) return std::string(text);
  if (text.find('"') == text.npos) return "\"" + std::string(text) + "\"";
  return std::nullopt;
}

}  // namespace scenario
