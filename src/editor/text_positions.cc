#include "editor/text_positions.h"

#include <algorithm>

namespace scenario {
namespace {

// The length of the UTF-8 sequence a lead byte begins; 1 for a byte that
// begins none, so that broken text still advances.
std::size_t sequence_length(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

std::size_t line_end_from(std::string_view text, std::size_t start) {
  const std::size_t end = text.find_first_of("\r\n", start);
  return end == text.npos ? text.size() : end;
}

}  // namespace

std::size_t line_start(std::string_view text, int line) {
  std::size_t at = 0;
  for (int i = 0; i < line; ++i) {
    const std::size_t end = text.find_first_of("\r\n", at);
    if (end == text.npos) return text.size();
    at = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return at;
}

std::string_view line_text(std::string_view text, int line) {
  const std::size_t start = line_start(text, line);
  return text.substr(start, line_end_from(text, start) - start);
}

std::size_t offset_of(std::string_view text, text_position at, position_units units) {
  std::size_t i = line_start(text, std::max(at.line, 0));
  const std::size_t end = line_end_from(text, i);
  int left = std::max(at.character, 0);
  while (i < end && left > 0) {
    const std::size_t length =
        std::min(sequence_length(static_cast<unsigned char>(text[i])), end - i);
    const int cost = units == position_units::utf8 ? static_cast<int>(length) : length == 4 ? 2 : 1;
    if (cost > left) break;
    left -= cost;
    i += length;
  }
  return i;
}

int units_in(std::string_view utf8, position_units units) {
  if (units == position_units::utf8) return static_cast<int>(utf8.size());
  int count = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length = sequence_length(static_cast<unsigned char>(utf8[i]));
    count += length == 4 ? 2 : 1;
    i += length;
  }
  return count;
}

text_position position_of(std::string_view text, std::size_t offset, position_units units) {
  offset = std::min(offset, text.size());
  text_position p;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == text.npos || end >= offset) break;
    const std::size_t next =
        end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    if (next > offset) break;  // inside a "\r\n": the line's end
    start = next;
    ++p.line;
  }
  p.character = units_in(text.substr(start, offset - start), units);
  return p;
}

void replace_range(std::string& text, text_position from, text_position to,
                   std::string_view replacement, position_units units) {
  std::size_t a = offset_of(text, from, units);
  std::size_t b = offset_of(text, to, units);
  if (b < a) std::swap(a, b);
  text.replace(a, b - a, replacement);
}

}  // namespace scenario
