// The line name and train number of an author's compile: taken from the
// options or from the description files' names, checked so that they make
// plain file names inside the output folder, and converted from the
// terminal's UTF-8 to the Windows-1252 text the station table stores.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace scenario {

struct scenario_names {
  std::string nome_linea;    // Windows-1252
  std::string numero_treno;  // Windows-1252
  std::string error;         // empty when both names are known and valid
};

// NAME is line_name, else what the line file's name says (NAME_linea.txt).
// NUM is train_number, else what the train file's own name says: it must end
// in "-.txt", and NUM is what stands before that after NAME and '_' when the
// name starts with them, else after its last '_', else all of it
// (ANYTHING_NUM-.txt or NUM-.txt). Either one missing, empty, holding '/' or
// '\', being "." or "..", not UTF-8, holding a character Windows-1252 lacks,
// or longer than the 65535 bytes a name field holds is an error.
scenario_names choose_scenario_names(std::string_view line_path, std::string_view train_path,
                                     const std::optional<std::string>& line_name,
                                     const std::optional<std::string>& train_number);

// NAME and NUM as compile takes them from the two files' names alone, with
// no option given; two empty texts when the names give none.
std::pair<std::string, std::string> names_from_files(std::string_view line_path,
                                                     std::string_view train_path);

}  // namespace scenario
