#include "sources/scenario_names.h"

#include "common/utf8_text.h"
#include "model/file_names.h"
#include "platform/path_names.h"

namespace scenario {
namespace {

constexpr std::size_t k_max_name_bytes = 0xFFFF;

std::string_view base_name(std::string_view path) {
  return file_name_of(path);
}

std::string quoted(std::string_view name) {
  return "'" + std::string(name.substr(0, 60)) + (name.size() > 60 ? "...'" : "'");
}

// name as the station table stores it, or why it cannot be used as `what`
// (then the result's text is empty and error says why).
struct checked_name {
  std::string text;
  std::string error;
};
checked_name check_name(std::string_view what, std::string_view name) {
  const std::string w(what);
  if (name.empty()) return {{}, w + " is empty"};
  if (name == "." || name == "..") return {{}, w + " " + quoted(name) + " is not a name"};
  if (name.find_first_of("/\\") != name.npos)
    return {{}, w + " " + quoted(name) + " holds a folder separator"};
  // The simulator reads the names as Windows-1252; stored as UTF-8 bytes
  // they would read as other letters and give other check codes.
  const text_1252 converted = utf8_to_1252(name);
  if (!converted.ok) {
    if (converted.failed_cp == 0)
      return {{},
              w + " " + quoted(name) + " is not UTF-8 text (at byte " +
                  std::to_string(converted.failed_at + 1) + ")"};
    std::string character(name.substr(converted.failed_at));
    std::size_t length = 1;
    while (length < character.size() && (character[length] & 0xC0) == 0x80) ++length;
    character.resize(length);
    return {{},
            w + " " + quoted(name) + " holds '" + character + "' (" +
                code_point_name(converted.failed_cp) + "), which Windows-1252 lacks"};
  }
  if (converted.text.size() > k_max_name_bytes) return {{}, w + " is longer than 65535 bytes"};
  return {converted.text, {}};
}

// NUM of a train file named ANYTHING_NUM-.txt or NUM-.txt; nothing when the
// name is not of that form.
std::optional<std::string_view> number_from(std::string_view train_base, std::string_view line) {
  if (train_base.size() <= k_train_source_suffix.size() ||
      !file_name_ends_with(train_base, k_train_source_suffix))
    return std::nullopt;
  std::string_view stem = train_base.substr(0, train_base.size() - k_train_source_suffix.size());
  // NAME_NUM-.txt for the chosen line name keeps reading as it always has,
  // also for a number that holds '_' itself.
  const std::string prefix = std::string(line) + "_";
  if (stem.size() > prefix.size() && stem.starts_with(prefix)) return stem.substr(prefix.size());
  if (const auto underscore = stem.rfind('_'); underscore != stem.npos)
    stem.remove_prefix(underscore + 1);
  if (stem.empty()) return std::nullopt;
  return stem;
}

}  // namespace

scenario_names choose_scenario_names(std::string_view line_path, std::string_view train_path,
                                     const std::optional<std::string>& line_name,
                                     const std::optional<std::string>& train_number) {
  scenario_names r;
  // The names as the folder spells them, whatever case they were typed in.
  const std::string stored_line = name_as_stored(std::string(line_path));
  const std::string stored_train = name_as_stored(std::string(train_path));
  const std::string_view line_base = base_name(stored_line);
  std::string line;
  if (line_name) {
    line = *line_name;
  } else if (line_base.size() > k_line_source_suffix.size() &&
             file_name_ends_with(line_base, k_line_source_suffix)) {
    line = line_base.substr(0, line_base.size() - k_line_source_suffix.size());
  } else {
    r.error = "the line name is needed: '" + std::string(line_base) +
              "' is not named NAME_linea.txt; give --line-name NAME";
    return r;
  }
  checked_name checked = check_name("the line name", line);
  if (!checked.error.empty()) {
    r.error = checked.error;
    return r;
  }
  r.nome_linea = checked.text;

  const std::string_view train_base = base_name(stored_train);
  std::string number;
  if (train_number) {
    number = *train_number;
  } else if (const auto from_name = number_from(train_base, line)) {
    number = *from_name;
  } else {
    r.error = "the train number is needed: '" + std::string(train_base) +
              "' is not named NUM-.txt or ANYTHING_NUM-.txt; give --train-number NUM";
    return r;
  }
  checked = check_name("the train number", number);
  r.error = checked.error;
  r.numero_treno = checked.text;
  return r;
}

std::pair<std::string, std::string> names_from_files(std::string_view line_path,
                                                     std::string_view train_path) {
  scenario_names names = choose_scenario_names(line_path, train_path, {}, {});
  if (!names.error.empty()) return {};
  return {std::move(names.nome_linea), std::move(names.numero_treno)};
}

}  // namespace scenario
