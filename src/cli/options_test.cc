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

TEST(Options, ServeTakesOnlyANumberThatFollows) {
  struct serve_case {
    std::vector<std::string_view> words;
    std::string serve;
    std::size_t operands;
  };
  for (const serve_case& c :
       {serve_case{{"--serve", "8080", "a"}, "8080", 1}, serve_case{{"--serve", "a", "b"}, "", 2},
        serve_case{{"a", "--serve=9"}, "9", 1}, serve_case{{"a", "b", "--serve"}, "", 2}}) {
    const parsed_options p = parse(c.words);
    EXPECT_EQ(p.options.serve, c.serve);
    EXPECT_EQ(p.options.operands.size(), c.operands);
  }
}

TEST(Options, ErrorsNameTheWordAndTheClosestOption) {
  const std::pair<std::vector<std::string_view>, const char*> cases[] = {
      {{"--force=yes"}, "option '--force' takes no value"},
      {{"--line-name"}, "option '--line-name' needs a value"},
      {{"--jsno"}, "unknown option '--jsno'; did you mean '--json'?"},
      {{"--line-nme=x"}, "unknown option '--line-nme=x'; did you mean '--line-name'?"},
      {{"-json"}, "unknown option '-json'; did you mean '--json'?"},
      {{"--quite"}, "unknown option '--quite'; did you mean '--quiet'?"},
      // One letter off two short options alike is no guess.
      {{"-x"}, "unknown option '-x'"},
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--encoding", "latin1"}, "--encoding takes 'cp1252' or 'utf-8', not 'latin1'"},
      {{"--format=xml"}, "--format takes 'text' or 'json', not 'xml'"},
      {{"--format", ""}, "--format takes 'text' or 'json', not ''"},
  };
  for (const auto& [words, error] : cases) EXPECT_EQ(parse(words).error, error);
  // An option the command does not take is unknown to it, and not suggested.
  EXPECT_EQ(parse({"-o", "d"}, k_accept_force).error, "unknown option '-o'");
  EXPECT_EQ(parse({"--jsn"}, k_accept_force).error, "unknown option '--jsn'");
  EXPECT_TRUE(parse({"-q"}, k_accept_quiet).options.quiet);
}

TEST(Options, WarningGroupsInEachPrefixInTheOrderGiven) {
  const parsed_options p =
      parse({"-Wno-units", "a", "-Wcase", "-Werror=order", "-Wno-error=order"});
  EXPECT_EQ(p.error, "");
  EXPECT_EQ(p.options.warnings,
            (std::vector<warning_setting>{{warning_group::units, group_action::off},
                                          {warning_group::letter_case, group_action::on},
                                          {warning_group::order, group_action::error},
                                          {warning_group::order, group_action::no_error}}));
  EXPECT_EQ(p.options.operands, std::vector<std::string>{"a"});
  // Only where the command takes them; a group's name is whole.
  EXPECT_EQ(parse({"-Wunits"}, k_accept_force).error, "unknown option '-Wunits'");
  EXPECT_EQ(parse({"-Werror"}).error.rfind("'-Werror' needs a group, as in -Werror=", 0), 0u);
  EXPECT_EQ(parse({"-Wno-"}).error,
            "unknown warning group '' in '-Wno-'; the groups are listed in 'scenario_gen help "
            "check'");
}

}  // namespace
}  // namespace scenario
