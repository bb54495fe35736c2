#include "common/spelling.h"

#include <algorithm>
#include <vector>

namespace scenario {
namespace {

// The edit distance of a and b counting a swap of two neighbours as one edit
// (the usual slip of typing).
std::size_t edit_distance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i)
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string_view> closest_word(std::string_view word,
                                             std::span<const std::string_view> candidates) {
  // Any one-letter option is one edit from any other, and long pasted words
  // are no typing slips (the table is quadratic in them).
  if (word.size() <= 2 || word.size() > 64) return std::nullopt;
  const std::size_t limit = word.size() <= 4 ? 1 : 2;
  std::optional<std::string_view> best;
  std::size_t best_distance = limit + 1;
  bool tie = false;
  for (const std::string_view c : candidates) {
    const std::size_t d = edit_distance(word, c);
    if (d > limit) continue;
    if (d < best_distance) {
      best = c;
      best_distance = d;
      tie = false;
    } else if (d == best_distance && c != *best) {
      tie = true;
    }
  }
  if (tie) return std::nullopt;
  return best;
}

std::string did_you_mean(std::string_view word, std::span<const std::string_view> candidates) {
  const auto best = closest_word(word, candidates);
  return best ? "; did you mean '" + std::string(*best) + "'?" : std::string();
}

}  // namespace scenario
