#include "cli/scenario_names.h"

namespace scenario {
namespace {

constexpr std::string_view k_line_suffix = "_linea.txt";
constexpr std::string_view k_train_suffix = "-.txt";
constexpr std::size_t k_max_name_bytes = 0xFFFF;

std::string_view base_name(std::string_view path) {
  const auto slash = path.find_last_of('/');
  return slash == path.npos ? path : path.substr(slash + 1);
}

// Why name cannot be used as `what`, or an empty text.
std::string refusal(std::string_view what, std::string_view name) {
  const std::string quoted =
      "'" + std::string(name.substr(0, 60)) + (name.size() > 60 ? "...'" : "'");
  if (name.empty()) return std::string(what) + " is empty";
  if (name == "." || name == "..") return std::string(what) + " " + quoted + " is not a name";
  if (name.find_first_of("/\\") != name.npos)
    return std::string(what) + " " + quoted + " holds a folder separator";
  if (name.size() > k_max_name_bytes) return std::string(what) + " is longer than 65535 bytes";
  return {};
}

}  // namespace

scenario_names choose_scenario_names(std::string_view line_path, std::string_view train_path,
                                     const std::optional<std::string>& line_name,
                                     const std::optional<std::string>& train_number) {
  scenario_names r;
  const std::string_view line_base = base_name(line_path);
  if (line_name) {
    r.nome_linea = *line_name;
  } else if (line_base.size() > k_line_suffix.size() && line_base.ends_with(k_line_suffix)) {
    r.nome_linea = line_base.substr(0, line_base.size() - k_line_suffix.size());
  } else {
    r.error = "the line name is needed: '" + std::string(line_base) +
              "' is not named NAME_linea.txt; give --line-name NAME";
    return r;
  }
  if (r.error = refusal("the line name", r.nome_linea); !r.error.empty()) return r;

  const std::string_view train_base = base_name(train_path);
  const std::string prefix = r.nome_linea + "_";
  if (train_number) {
    r.numero_treno = *train_number;
  } else if (train_base.size() > prefix.size() + k_train_suffix.size() &&
             train_base.starts_with(prefix) && train_base.ends_with(k_train_suffix)) {
    r.numero_treno =
        train_base.substr(prefix.size(), train_base.size() - prefix.size() - k_train_suffix.size());
  } else {
    r.error = "the train number is needed: '" + std::string(train_base) + "' is not named " +
              prefix + "NUM-.txt; give --train-number NUM";
    return r;
  }
  r.error = refusal("the train number", r.numero_treno);
  return r;
}

}  // namespace scenario
