#include "cli/warning_options.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

diagnostic warning_of(warning_group g) {
  diagnostic d = program_diagnostic("w", severity::warning);
  d.group = g;
  return d;
}

TEST(WarningOptions, GroupsAreTurnedOffOnAndIntoErrorsTheLaterOptionWinning) {
  using enum group_action;
  const std::vector<diagnostic> found = {
      warning_of(warning_group::units), warning_of(warning_group::order),
      warning_of(warning_group::none), program_diagnostic("fault")};
  struct group_case {
    const char* name;
    std::vector<warning_setting> settings;
    bool no_warnings;
    const char* levels;  // what is left: e error, w warning, one letter each
    const char* given;   // the options named as making warnings errors
    bool werror = false;
  };
  const group_case cases[] = {
      {"nothing asked", {}, false, "wwwe", ""},
      {"-Wno-units", {{warning_group::units, off}}, false, "wwe", ""},
      {"-Wno-units -Wunits",
       {{warning_group::units, off}, {warning_group::units, on}},
       false,
       "wwwe",
       ""},
      {"-Werror=order", {{warning_group::order, error}}, false, "wewe", "-Werror=order"},
      {"-Wno-order -Werror=order shows them",
       {{warning_group::order, off}, {warning_group::order, error}},
       false,
       "wewe",
       "-Werror=order"},
      {"-Werror=order -Wno-error=order",
       {{warning_group::order, error}, {warning_group::order, no_error}},
       false,
       "wwwe",
       ""},
      {"-w leaves only the fault, also with -Werror=",
       {{warning_group::order, error}},
       true,
       "e",
       ""},
      {"--werror makes every warning an error", {}, false, "eeee", "--werror", true},
      {"--werror -Wno-error=units keeps that group's warnings",
       {{warning_group::units, no_error}},
       false,
       "weee",
       "--werror",
       true},
      {"-Werror=units --werror names both",
       {{warning_group::units, error}},
       false,
       "eeee",
       "-Werror=units, --werror",
       true},
  };
  for (const group_case& c : cases) {
    SCOPED_TRACE(c.name);
    command_options o;
    o.warnings = c.settings;
    o.no_warnings = c.no_warnings;
    o.werror = c.werror;
    std::string levels;
    const std::vector<diagnostic> left = apply_warning_options(found, o);
    for (const diagnostic& d : left) levels += d.level == severity::error ? 'e' : 'w';
    EXPECT_EQ(levels, c.levels);
    EXPECT_EQ(werror_options(left, o), c.given);
  }
}

TEST(WarningOptions, CountLineCountsTheTopLevelOnly) {
  diagnostic fault = program_diagnostic("fault");
  fault.notes.push_back(program_diagnostic("note", severity::note));
  EXPECT_EQ(count_line({}), "0 errors, 0 warnings");
  EXPECT_EQ(count_line({fault, warning_of(warning_group::units)}), "1 error, 1 warning");
  EXPECT_EQ(
      count_line({fault, fault, warning_of(warning_group::units), warning_of(warning_group::none)}),
      "2 errors, 2 warnings");
}

}  // namespace
}  // namespace scenario
