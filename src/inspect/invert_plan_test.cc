#include "inspect/invert_plan.h"

#include <gtest/gtest.h>

#include "output/plan_format.h"
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

// The last metres of a plan file, as the walk that checks the file hands
// them over: the inverse waits for the end before it judges them.
TEST(InvertPlan, TheLastTwoMetresAreJudgedOnceTheEndIsKnown) {
  run_state st = testing::fresh_state();
  ASSERT_EQ(testing::compile_line_into(testing::line_text(20000, {"curvad4, 1000, 300"}), st),
            compile_end::finished);
  const std::int32_t lc = last_cell(st.percorso);
  const profilo_t plan = plan_table(st.profilo);
  const std::size_t e = static_cast<std::size_t>(plan.extent());
  // Metre m continued straight from the two before it, in both coordinates.
  auto straight = [](profilo_t& p, std::size_t m) {
    for (int c = 0; c < 2; ++c)
      p.set_real(m, c, p.value(m - 1, c) + (p.value(m - 1, c) - p.value(m - 2, c)));
  };
  const struct {
    const char* name;
    void (*change)(profilo_t&, std::size_t, decltype(straight)&);
    std::vector<std::string> problems;
  } cases[] = {
      {"as compiled", [](profilo_t&, std::size_t, decltype(straight)&) {}, {}},
      {"both set straight",
       [](profilo_t& p, std::size_t e, decltype(straight)& s) {
         s(p, e - 1);
         s(p, e);
       },
       {"metre 26999: a straight step past metre E - 2, which only a curve reaches"}},
      {"the last alone",
       [](profilo_t& p, std::size_t e, decltype(straight)&) {
         p.set_real(e, 0, 1);
         p.set_real(e, 1, 2);
       },
       {"metre 27000: a point after the end of the plan"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    profilo_t changed = plan;
    c.change(changed, e, straight);
    const std::string bytes = serialise_plan(changed);
    curve_inversion walked;
    ASSERT_TRUE(plan_reader::open(std::make_shared<memory_bytes>(bytes), &walked).ok());
    ASSERT_TRUE(walked.complete());
    const auto back = walked.records(lc);
    EXPECT_EQ(back.problems, c.problems);
    EXPECT_EQ(back.records, (std::vector<curve_values>{{4, false, 1000, 300}}));
  }
}

}  // namespace
}  // namespace scenario
