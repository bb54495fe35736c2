#include "inspect/invert_plan.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace scenario {
namespace {

TEST(InvertPlan, EveryRunOfCurvedMetresIsOneCurve) {
  const struct {
    std::initializer_list<std::string_view> records;
    std::vector<curve_values> expected;
  } cases[] = {
      {{"curvad6, 500, 300"}, {{6, false, 500, 300}}},
      // Drawn only from where the one before ends.
      {{"curvad3, 1000, 500", "curvas5, 1200, 600"}, {{3, false, 1000, 500}, {5, true, 1500, 300}}},
      // Metre 1 is a seed point, never a step.
      {{"curvas2, 0, 100"}, {{2, true, 1, 99}}},
      {{"curvad4, 1000, 100", "curvad4, 1100, 100"}, {{4, false, 1000, 200}}},
      // Cut at the end of the plan (metre 27000).
      {{"curvad1, 26800, 500"}, {{1, false, 26800, 200}}},
      // A run that starts past the last start a record may have (26900 m)
      // starts under the run before it.
      {{"curvas6, 26800, 150", "curvad6, 26850, 140"},
       {{6, true, 26800, 150}, {6, false, 26900, 90}}},
  };
  for (const auto& c : cases) {
    run_state st = testing::fresh_state();
    ASSERT_EQ(testing::compile_line_into(testing::line_text(20000, c.records), st),
              compile_end::finished);
    const auto back = invert_plan(plan_table(st.profilo), last_cell(st.percorso));
    EXPECT_TRUE(back.problems.empty());
    EXPECT_EQ(back.records, c.expected) << *c.records.begin();
  }

  run_state st = testing::fresh_state();
  testing::compile_line_into(testing::line_text(20000), st);
  profilo_t plan = plan_table(st.profilo);
  plan.set_real(1234, 0, 0.5);
  const auto back = invert_plan(plan, last_cell(st.percorso));
  ASSERT_EQ(back.problems.size(), 1u);
  EXPECT_EQ(back.problems[0],
            "metre 1234: the point is no step of the plan from the two before it");
}

}  // namespace
}  // namespace scenario
