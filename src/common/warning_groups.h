// The named groups that every warning belongs to, written once: the name
// shown at the end of a warning's line as [-Wname], taken by -Wname,
// -Wno-name and -Werror=name, and listed in the help.
#pragma once

#include <optional>
#include <string_view>

namespace scenario {

// X(enumerator, "name", "what its warnings are about")
#define SCENARIO_WARNING_GROUPS(X)                                                             \
  X(units, "units", "a unit written after a number, which the formats do not have")            \
  X(letter_case, "case", "keywords matched with their letter case")                            \
  X(unknown_keyword, "unknown-keyword", "a field that is no keyword, and the record it loses") \
  X(text_cut, "text-cut", "a text cut at a comma or holding a tab")                            \
  X(encoding, "encoding", "text that looks like another encoding than Windows-1252")           \
  X(comment, "comment", "lines that look like comments, which the formats do not have")        \
  X(missing_record, "missing-record", "a general record left out, and the value used")         \
  X(beyond_end, "beyond-end", "an object past the route's end, in the grid's run-out")         \
  X(stray_value, "stray-value", "values after a record's last one, which are not read")        \
  X(low_bits, "low-bits", "a value kept to the low bits of its field")                         \
  X(overlap, "overlap", "records that overlap or leave an earlier one without effect")         \
  X(order, "order", "records or times out of their order")                                     \
  X(separator, "separator", "a comma left out: fields or records run together")                \
  X(section, "section", "a record standing in a section where it is not read")                 \
  X(last_field, "last-field", "a record as the file's last field, which is never read")        \
  X(double_keyword, "double-keyword", "a keyword field read as two records at once")           \
  X(range, "range", "a value outside its field's range, changed or failing later")

enum class warning_group {
  none,
#define SCENARIO_WARNING_GROUP_ENUM(id, name, what) id,
  SCENARIO_WARNING_GROUPS(SCENARIO_WARNING_GROUP_ENUM)
#undef SCENARIO_WARNING_GROUP_ENUM
};

// The group's name as the options spell it ("units"); empty for none.
std::string_view warning_group_name(warning_group g);
// What the group's warnings are about, for the help.
std::string_view warning_group_summary(warning_group g);
// The group of that name, if there is one.
std::optional<warning_group> warning_group_named(std::string_view name);

}  // namespace scenario
