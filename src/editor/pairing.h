// Which line description a train description is checked against, and which
// train descriptions name a line description: by the names compile uses
// (NAME_linea.txt for NAME_NUM-.txt), else the only line description of the
// folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sources/keyword_table.h"

namespace scenario {

enum class description_kind { line, train, other };

// What a file's name makes it: NAME_linea.txt a line description, a name
// ending in -.txt a train description.
description_kind kind_of_description(std::string_view file_name);

// The format a file's name gives, line descriptions being NAME_linea.txt.
description_format format_of(std::string_view file_name);

// The name of the line description in a folder holding the files
// folder_names that train_name is checked against: NAME_linea.txt for
// NAME_NUM-.txt (the longest NAME that has one, since a number may hold
// '_'), else the only *_linea.txt among them; nothing when neither is there.
std::optional<std::string> line_for_train(std::string_view train_name,
                                          const std::vector<std::string>& folder_names);

// The folder part of a path ("" for a bare name) and the name part.
std::string folder_of(std::string_view path);
std::string name_of(std::string_view path);

}  // namespace scenario
