// What the editor says about a record and its fields: the hover's words
// (the record's syntax on its keyword; on a value, its name and unit and
// what the compiler makes of it) and the railway kilometre of a position.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "inspect/route_facts.h"
#include "sources/record_places.h"

namespace scenario {

// "curvad4, s, l": a keyword with its fields in order.
std::string record_syntax(const record_spec& kind, std::string_view keyword);

// The hover's Markdown for field (-1 the keyword field) of a record line.
// references: the line's kilometric references, as the last compile found
// them (none: no kilometre is given); cells: the grid cells the compile
// gave the record's objects (none: not said). Empty when there is nothing
// to say.
std::string field_note(const record_place& record, std::string_view line, int field,
                       const std::vector<km_reference>& references,
                       const std::vector<std::size_t>& cells = {});

// True for a field that holds a position along the route (not a length).
bool is_position(const field_spec& field);

// "km 172+100" at route position metres; nothing without references.
std::optional<std::string> railway_km(const std::vector<km_reference>& references,
                                      std::int64_t metres);

// The whole number a field holds; nothing for other text.
std::optional<std::int64_t> number_of(std::string_view field);

}  // namespace scenario
