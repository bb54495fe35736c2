#include "editor/pairing.h"

#include <algorithm>

#include "model/file_names.h"

namespace scenario {
namespace {

bool has(const std::vector<std::string>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

description_kind kind_of_description(std::string_view file_name) {
  if (file_name.size() > k_line_source_suffix.size() && file_name.ends_with(k_line_source_suffix))
    return description_kind::line;
  if (file_name.size() > k_train_source_suffix.size() && file_name.ends_with(k_train_source_suffix))
    return description_kind::train;
  return description_kind::other;
}

description_format format_of(std::string_view file_name) {
  return kind_of_description(file_name) == description_kind::line ? description_format::line
                                                                  : description_format::train;
}

std::optional<std::string> line_for_train(std::string_view train_name,
                                          const std::vector<std::string>& folder_names) {
  if (kind_of_description(train_name) == description_kind::train) {
    const std::string_view stem =
        train_name.substr(0, train_name.size() - k_train_source_suffix.size());
    for (std::size_t underscore = stem.rfind('_'); underscore != stem.npos && underscore > 0;
         underscore = stem.rfind('_', underscore - 1)) {
      const std::string candidate =
          std::string(stem.substr(0, underscore)) + std::string(k_line_source_suffix);
      if (has(folder_names, candidate)) return candidate;
    }
  }
  std::optional<std::string> only;
  for (const std::string& name : folder_names) {
    if (kind_of_description(name) != description_kind::line) continue;
    if (only && *only != name) return std::nullopt;
    only = name;
  }
  return only;
}

std::string folder_of(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == path.npos ? std::string() : std::string(path.substr(0, slash));
}

std::string name_of(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return std::string(slash == path.npos ? path : path.substr(slash + 1));
}

}  // namespace scenario
