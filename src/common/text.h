// Text tests used by the readers of the two description formats: keywords are
// found by substring, either comparing character codes or ignoring letter case;
// and the form in which a message quotes a field.
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

// A field of an input as a message shows it: cut after 80 characters, and
// "..." where it was cut, so that no input can flood a message.
std::string shown_field(std::string_view field);

// The same in single quotes.
std::string quoted_field(std::string_view field);

}  // namespace scenario
