// The reading side of the command line: which binary file is which, reading
// and decoding one, and the two renderings of the dump command.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "model/percorso.h"
#include "model/profilo.h"
#include "model/stazioni.h"

namespace scenario {

enum class file_kind { grid, stations, plan };

// "route grid", "station table" or "line plan".
std::string_view kind_title(file_kind kind);

// The kind a file name says, by its ending, ignoring case: "_linea.dat" a line
// plan, ".sim" a station table, any other ".dat" a route grid; nothing for any
// other name.
std::optional<file_kind> kind_from_name(std::string_view path);

// One decoded file; only the table of its kind is filled.
struct loaded_file {
  std::string path;
  file_kind kind = file_kind::grid;
  std::size_t bytes = 0;
  percorso_t grid;
  stazioni_t stations{};
  profilo_t plan;
};

// Reads path (the standard input for "-", named "standard input" in path
// and messages) and decodes it as the kind its name says or, when the name
// says nothing, as the first of station table, line plan (one that starts with a
// seed point) and route grid that its content fits. Throws failure
// naming the file, the kind and, for a decoding error, the offset and the
// reason.
loaded_file load_file(const std::string& path);

// The decoded content of `file` as aligned tables for a person.
void dump_text(std::ostream& out, const loaded_file& file);

// The whole decoded content of `file` as one JSON object, every field.
void dump_json(std::ostream& out, const loaded_file& file);

}  // namespace scenario
