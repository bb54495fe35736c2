#include "cli/settled_inputs.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

#include "common/diagnostic.h"
#include "platform/folders.h"
#include "platform/path_names.h"
#include "platform/set_intent.h"

namespace scenario {

void settle_input_folders(const std::vector<std::string>& inputs, std::ostream& notices) {
  std::vector<std::string> settled;
  for (const std::string& input : inputs) {
    std::string folder = input;
    if (!is_folder(input)) {
      folder = utf8_of(path_from_utf8(input).parent_path());
      if (folder.empty()) folder = ".";
    }
    if (std::find(settled.begin(), settled.end(), folder) != settled.end()) continue;
    settled.push_back(folder);
    if (std::optional<diagnostic> why = settle_folder(folder, notices)) throw failure(*why);
  }
}

}  // namespace scenario
