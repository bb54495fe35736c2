// Text tests used by the readers of the two description formats: keywords are
// found by substring, either comparing character codes or ignoring letter case.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

// The lower-case form of one character of the single-byte (Windows-1252)
// character set; characters without a lower-case form come back unchanged.
unsigned char to_lower_1252(unsigned char c);

// text converted to lower case character by character.
std::string lower_1252(std::string_view text);

// True when word occurs in text, comparing character codes exactly.
bool contains(std::string_view text, std::string_view word);

// True when word occurs in text, ignoring letter case.
bool contains_ignoring_case(std::string_view text, std::string_view word);

}  // namespace scenario
