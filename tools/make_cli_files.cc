// Build-time helper: writes the files made from scenario_gen's command table,
// and prints the help as an installed scenario_gen prints it, for help2man.
//
// Usage: make_cli_files --help | --version
//        make_cli_files bash-completion FILE | man-sections FILE
#include <fstream>
#include <iostream>
#include <string_view>

#include "cli/build_info.h"
#include "cli/command_table.h"
#include "cli/generated_docs.h"

int main(int argc, char** argv) {
  using namespace scenario;
  const std::string_view what = argc > 1 ? argv[1] : "";
  if (argc == 2 && what == "--help") {
    print_help(std::cout, installed_docs_folder());
    return 0;
  }
  if (argc == 2 && what == "--version") {
    print_version(std::cout);
    return 0;
  }
  if (argc == 3 && (what == "bash-completion" || what == "man-sections")) {
    std::ofstream out(argv[2], std::ios::binary);
    if (what == "bash-completion")
      write_bash_completion(out);
    else
      write_man_sections(out);
    out.close();
    if (out) return 0;
    std::cerr << "make_cli_files: cannot write '" << argv[2] << "'\n";
    return 1;
  }
  std::cerr << "usage: make_cli_files --help | --version | bash-completion FILE | "
               "man-sections FILE\n";
  return 2;
}
