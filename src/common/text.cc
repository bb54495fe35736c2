#include "common/text.h"

#include <algorithm>

namespace scenario {

unsigned char to_lower_1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  // Accented capitals À..Þ sit 32 below their small letters, except the
  // multiplication sign ×.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A:
      return 0x9A;  // Š
    case 0x8C:
      return 0x9C;  // Œ
    case 0x8E:
      return 0x9E;  // Ž
    case 0x9F:
      return 0xFF;  // Ÿ
    default:
      return c;
  }
}

std::string lower_1252(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(to_lower_1252(static_cast<unsigned char>(c)));
  return out;
}

bool contains(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

bool contains_ignoring_case(std::string_view text, std::string_view word) {
  auto same = [](char a, char b) {
    return to_lower_1252(static_cast<unsigned char>(a)) ==
           to_lower_1252(static_cast<unsigned char>(b));
  };
  return std::search(text.begin(), text.end(), word.begin(), word.end(), same) != text.end();
}

std::string shown_field(std::string_view field) {
  constexpr std::size_t k_shown = 80;
  if (field.size() <= k_shown) return std::string(field);
  return std::string(field.substr(0, k_shown)) + "...";
}

std::string quoted_field(std::string_view field) {
  return "'" + shown_field(field) + "'";
}

}  // namespace scenario
