#include "sources/record_layout.h"

#include <span>

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
  return spaced("pendenza", values, gaps);
}

std::string scenery_line(std::int32_t inizio, std::int32_t fine, std::int32_t tipo) {
  const std::int32_t values[] = {inizio, fine, tipo};
  const int gaps[] = {3, 2, 2};
  return spaced("montagna", values, gaps);
}

std::string speed_board_line(std::int32_t posizione,
                             const std::array<std::optional<std::int32_t>, 8>& values) {
  std::string line = "indicatori_vmax,  " + std::to_string(posizione);
  for (const std::optional<std::int32_t>& v : values)
    line += ",  " + (v ? std::to_string(*v) : std::string());
  return line;
}

std::string text_board_line(std::int32_t position, std::string_view field) {
  return "cartello indicatore,  " + std::to_string(position) + ",  " + std::string(field);
}

std::string clock_line(std::int32_t hours, std::int32_t minutes, std::int32_t seconds) {
  return "orologio,    " + std::to_string(hours) + std::string(15, ' ') + std::to_string(minutes) +
         std::string(12, ' ') + std::to_string(seconds) + ' ';
}

std::string adhesion_line(std::int32_t position, std::int32_t adhesion) {
  const std::int32_t values[] = {position, adhesion};
  const int widths[] = {4, 7};
  return aligned("aderenza", values, widths);
}

std::string speed_limit_line(std::int32_t position, std::int32_t speed) {
  const std::int32_t values[] = {position, speed};
  const int widths[] = {8, 6};
  return aligned("velocita", values, widths);
}

std::string station_line(const std::array<std::int32_t, 16>& values, std::string_view name_field) {
  static constexpr int widths[] = {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2};
  return aligned("stazione", values, widths) + ", " + std::string(name_field);
}

std::string slowdown_line(const std::array<std::int32_t, 6>& values) {
  static constexpr int widths[] = {8, 6, 5, 2, 3, 3};
  return aligned("rallentamento", values, widths);
}

std::string signal_line(const std::array<std::int32_t, 11>& values) {
  static constexpr int widths[] = {8, 4, 2, 2, 3, 2, 5, 3, 1, 1};
  return aligned("segnale", std::span(values).first(10), widths) + ", " +
         std::to_string(values[10]);
}

std::string code_line_line(std::int32_t position, std::int32_t value) {
  const std::int32_t values[] = {position, value};
  const int widths[] = {8, 6};
  return aligned("abbattimento", values, widths);
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
