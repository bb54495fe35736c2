#include "cli/cli.h"

#include <exception>
#include <ostream>

#include "cli/commands.h"
#include "cli/usage.h"
#include "run/errore.h"

namespace scenario {

int cli_main(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  try {
    if (args.empty()) return default_command(out, err);
    const std::string_view command = args[0];
    const arguments rest = args.subspan(1);
    if (command == "--help" || command == "-h") {
      print_help(out);
      return k_status_ok;
    }
    if (command == "--version") {
      print_version(out);
      return k_status_ok;
    }
    if (command == "run") return run_command(rest, out, err);
    if (command == "export") return export_command(rest, out, err);
    if (command == "compile") return compile_command(rest, out, err);
    if (command == "dump") return dump_command(rest, out, err);
    if (command == "draw") return draw_command(rest, out, err);
    if (command.starts_with("-"))
      return usage_error(err, "unknown option '" + std::string(command) + "'");
    return usage_error(err, "unknown command '" + std::string(command) + "'");
  } catch (const process_end& e) {
    err << "scenario_gen: error: " << e.what() << '\n';
    return e.status();
  } catch (const std::exception& e) {
    err << "scenario_gen: error: " << e.what() << '\n';
    return k_status_failed;
  }
}

}  // namespace scenario
