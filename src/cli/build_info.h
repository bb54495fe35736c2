// What the build knows about the program: its version, its licence and
// where its documentation is installed.
#pragma once

#include <string_view>

namespace scenario {

// "0.1.0".
std::string_view program_version();

// The whole text of the licence the program is distributed under.
std::string_view licence_text();

// The documentation folder of an installation relative to the folder of the
// installed executable ("../share/doc/scenario_gen").
std::string_view docs_from_program_folder();

// The documentation folder where the build installs it, as configured
// ("/usr/local/share/doc/scenario_gen").
std::string_view installed_docs_folder();

// The docs folder of the source tree the program was built from.
std::string_view source_docs_folder();

}  // namespace scenario
