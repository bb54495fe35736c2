// The line name and train number of an author's compile: taken from the
// options or from the description files' names, and checked so that they
// make plain file names inside the output folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scenario {

struct scenario_names {
  std::string nome_linea;
  std::string numero_treno;
  std::string error;  // empty when both names are known and valid
};

// NAME is line_name, else what the line file's name says (NAME_linea.txt);
// NUM is train_number, else what the train file's name says (NAME_NUM-.txt
// for that NAME). Either one missing, empty, holding '/' or '\', being "."
// or "..", or longer than the 65535 bytes a name field holds is an error.
scenario_names choose_scenario_names(std::string_view line_path, std::string_view train_path,
                                     const std::optional<std::string>& line_name,
                                     const std::optional<std::string>& train_number);

}  // namespace scenario
