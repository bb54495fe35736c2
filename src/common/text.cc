#include "common/text.h"

#include <algorithm>

namespace scenario {

namespace {

constexpr unsigned char lower_of(unsigned char c) {
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

// Every byte's small letter, looked up: the keyword tests search every field
// for several words, which makes this the compile's busiest loop.
struct lower_table {
  unsigned char of[256];
  constexpr lower_table() : of() {
    for (int c = 0; c < 256; ++c) of[c] = lower_of(static_cast<unsigned char>(c));
  }
};
constexpr lower_table k_lower;

}  // namespace

unsigned char to_lower_1252(unsigned char c) {
  return k_lower.of[c];
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
  // As a search for an empty word finds it at the start of any text but an
  // empty one.
  if (word.empty()) return !text.empty();
  if (word.size() > text.size()) return false;
  const auto* t = reinterpret_cast<const unsigned char*>(text.data());
  const auto* w = reinterpret_cast<const unsigned char*>(word.data());
  const unsigned char first = k_lower.of[w[0]];
  const std::size_t last_start = text.size() - word.size();
  for (std::size_t i = 0; i <= last_start; ++i) {
    if (k_lower.of[t[i]] != first) continue;
    std::size_t j = 1;
    while (j < word.size() && k_lower.of[t[i + j]] == k_lower.of[w[j]]) ++j;
    if (j == word.size()) return true;
  }
  return false;
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
