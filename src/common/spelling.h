// Suggestions for a misspelt command or option word.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

// The candidate closest to word (letters swapped, missing, added or wrong,
// at most one for words of three or four characters and two for longer
// ones), or nothing when none is that close, two are equally close, or word
// is too short to tell.
std::optional<std::string_view> closest_word(std::string_view word,
                                             std::span<const std::string_view> candidates);

// "; did you mean 'X'?" for the closest candidate, or an empty text.
std::string did_you_mean(std::string_view word, std::span<const std::string_view> candidates);

}  // namespace scenario
