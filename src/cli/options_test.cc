#include "cli/options.h"

#include <gtest/gtest.h>

#include <vector>

namespace scenario {
namespace {

parsed_options parse(std::vector<std::string_view> words, unsigned accepted = ~0u) {
  return parse_options(words, accepted);
}

TEST(Options, ValuesInEveryUsualSpelling) {
  for (const auto& words : std::vector<std::vector<std::string_view>>{
           {"-o", "d", "--line-name", "L", "--train-number", "7"},
           {"-od", "--line-name=L", "--train-number=7"},
           {"--output=d", "--line-name", "L", "--train-number", "7"},
           {"-o", "x", "--output", "d", "--line-name", "L", "--train-number=7"}}) {
    const parsed_options p = parse(words);
    EXPECT_EQ(p.error, "");
    EXPECT_EQ(p.options.output, "d");
    EXPECT_EQ(p.options.line_name, "L");
    EXPECT_EQ(p.options.train_number, "7");
  }
}

TEST(Options, OperandsAndFlagsInAnyOrder) {
  const parsed_options p = parse({"a", "--no-plan", "-w", "b", "--", "-o", "--force", "-"});
  EXPECT_EQ(p.error, "");
  EXPECT_EQ(p.options.operands, (std::vector<std::string>{"a", "b", "-o", "--force", "-"}));
  EXPECT_TRUE(p.options.no_plan);
  EXPECT_TRUE(p.options.no_warnings);
  EXPECT_FALSE(p.options.force);
  EXPECT_FALSE(p.options.output);
  EXPECT_TRUE(parse({"x", "--help"}).options.help);
}

TEST(Options, ErrorsNameTheWord) {
  EXPECT_EQ(parse({"--force=yes"}).error, "option '--force' takes no value");
  EXPECT_EQ(parse({"--line-name"}).error, "option '--line-name' needs a value");
  // An option the command does not take is unknown to it.
  EXPECT_EQ(parse({"-o", "d"}, k_accept_force).error, "unknown option '-o'");
}

}  // namespace
}  // namespace scenario
