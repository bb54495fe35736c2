#include "cli/documentation.h"

#include <filesystem>

#include "cli/build_info.h"
#include "platform/files.h"
#include "platform/path_names.h"

namespace scenario {

std::string documentation_folder() {
  // Relative to the executable, so that a tree installed under another
  // prefix than the configured one (a package, cmake --install --prefix)
  // still points at its own copy.
  std::string installed =
      utf8_of(path_from_utf8(join_path(executable_folder(), docs_from_program_folder()))
                  .lexically_normal());
  if (file_exists(join_path(installed, "authoring.md"))) return installed;
  std::string source(source_docs_folder());
  if (file_exists(join_path(source, "authoring.md"))) return source;
  return std::string(installed_docs_folder());
}

}  // namespace scenario
