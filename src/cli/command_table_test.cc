#include "cli/command_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {
namespace {

// Each command's operand rule at the edges of the counts it takes: what is
// taken says nothing, a count between two taken ones or below the least
// says what is missing, a count above the most names the first word too
// many or says what the command takes.
TEST(CommandTable, OperandCountsAndTheirUsageErrors) {
  const std::string two = " needs a line description and a train description";
  const std::string scenario = " needs a folder or the three files of a scenario";
  struct operands_case {
    const char* command;
    std::size_t count;
    std::string fault;
  } cases[] = {
      {"run", 0, ""},
      {"run", 1, "unexpected argument 'w1'"},
      {"export", 2, "unexpected argument 'w1'"},
      {"lsp", 1, "unexpected argument 'w1'"},
      {"compile", 1, "compile" + two},
      {"compile", 2, ""},
      {"compile", 4, "unexpected argument 'w3'"},
      {"check", 0, "check" + two},
      {"check", 3, "unexpected argument 'w3'"},
      {"watch", 1, "watch" + two},
      {"watch", 2, ""},
      {"watch", 3, "watch" + two},
      {"decompile", 0, "decompile" + scenario},
      {"decompile", 1, ""},
      {"decompile", 2, "decompile" + scenario},
      {"decompile", 3, ""},
      {"decompile", 4, "decompile" + scenario},
      {"draw", 2, "draw" + scenario},
      {"dump", 0, "dump needs a file"},
      {"dump", 1, ""},
      {"dump", 2, "dump takes one file"},
      {"help", 0, ""},
      {"help", 1, ""},
      {"help", 2, "unexpected argument 'w2'"},
      // More words than the rule's bits can count are still too many.
      {"dump", 40, "dump takes one file"},
      {"compile", 40, "unexpected argument 'w3'"},
  };
  for (const operands_case& c : cases) {
    std::vector<std::string> operands;
    for (std::size_t i = 1; i <= c.count; ++i) operands.push_back("w" + std::to_string(i));
    const command_info* command = find_command(c.command);
    ASSERT_NE(command, nullptr) << c.command;
    EXPECT_EQ(operand_fault(*command, operands), c.fault) << c.command << " " << c.count;
  }
}

// The shell's completion offers no file to a command that takes no operand.
TEST(CommandTable, TheShellOffersFilesOnlyToCommandsThatTakeThem) {
  for (const command_info& c : command_table())
    EXPECT_EQ(c.operands == operand_kind::none, c.takes.counts == operand_counts({0})) << c.name;
}

}  // namespace
}  // namespace scenario
