#include "inspect/route_facts.h"

#include <gtest/gtest.h>

#include "route/line_compiler.h"
#include "test_support.h"

namespace scenario {
namespace {

profilo_t plan_of(std::initializer_list<std::string_view> curves) {
  run_state st = testing::fresh_state();
  compile_line(testing::line_text(70850, curves), st);
  return plan_table(st.profilo);
}

TEST(PlanSummary, TurningFollowsTheCurvesSide) {
  // k = 0.003 over 300 m turns about 51.57 degrees (0.9 rad), to the right
  // for "d", to the left for "s".
  const plan_summary right = summarise_plan(plan_of({"curvad6,  500,  300"}));
  EXPECT_NEAR(right.net_turning, 51.57, 0.01);
  EXPECT_NEAR(right.total_turning, 51.57, 0.01);
  const plan_summary both =
      summarise_plan(plan_of({"curvad6,  500,  300", "curvas6,  5000,  300"}));
  EXPECT_NEAR(both.net_turning, 0, 1e-9);
  EXPECT_NEAR(both.total_turning, 103.13, 0.02);
  // The right turn carries the line towards positive coordinate 0.
  EXPECT_GT(right.last.x, 0);
  EXPECT_EQ(right.low.x, 0);
}

TEST(PlanSummary, StraightPlanRunsAlongCoordinateOne) {
  const plan_summary s = summarise_plan(plan_of({}));
  EXPECT_EQ(s.extent, 77850);
  EXPECT_EQ(s.points, 77849u);  // the last two metres stay empty
  EXPECT_EQ(s.first_metre, 0u);
  EXPECT_EQ(s.last_metre, 77848u);
  EXPECT_EQ(s.last.y, 77848);
  EXPECT_EQ(s.high.y, 77848);
  EXPECT_EQ(s.high.x, 0);
  EXPECT_DOUBLE_EQ(s.path_length, 77848);
  EXPECT_EQ(s.net_turning, 0);
  EXPECT_EQ(summarise_plan(profilo_t{}).points, 0u);
}

TEST(CellFields, ElevationClimbsEachCellsGradientAndRunsGroupValues) {
  percorso_t g(30);
  for (std::size_t n = 0; n < 30; ++n) g[n].pendenza = n < 10 ? 100 : n < 20 ? 114 : 89;
  const std::vector<double> h = elevation_profile(g);
  ASSERT_EQ(h.size(), 31u);
  EXPECT_DOUBLE_EQ(h[10], 0);
  EXPECT_DOUBLE_EQ(h[20], 7);     // +14 per mille over 500 m
  EXPECT_NEAR(h[30], 1.5, 1e-9);  // then -11 per mille over 500 m
  const std::vector<cell_run> runs = runs_of(g, &cella::pendenza);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[1].first, 10u);
  EXPECT_EQ(runs[1].last, 19u);
  EXPECT_EQ(runs[1].value, 114);
  EXPECT_EQ(runs[2].last, 29u);
}

TEST(SlotRoles, StationsFromTheBottomBoardTextsFromSlot80) {
  stazioni_t t{};
  t[1].nome = "A";
  t[1].fine = 300;
  t[2].posizione = 6300;  // a station without a name is still a station
  t[80].nome = "testo uno";
  t[79].nome = "testo due";
  t[78].nome = "testo tre";
  t[76].nome = "name only";  // not in the unbroken run that ends at slot 80
  t[50].nome = "stray";
  t[50].inizio = 1;
  const auto roles = slot_roles(t);
  EXPECT_EQ(roles[0], slot_role::unused);
  EXPECT_EQ(roles[1], slot_role::station);
  EXPECT_EQ(roles[2], slot_role::station);
  EXPECT_EQ(roles[3], slot_role::unused);
  EXPECT_EQ(roles[50], slot_role::station);
  EXPECT_EQ(roles[76], slot_role::station);
  EXPECT_EQ(roles[77], slot_role::unused);
  EXPECT_EQ(roles[78], slot_role::board_text);
  EXPECT_EQ(roles[79], slot_role::board_text);
  EXPECT_EQ(roles[80], slot_role::board_text);
  EXPECT_EQ(roles[81], slot_role::km_reference);
  EXPECT_EQ(roles[85], slot_role::line_values);
}

TEST(RailwayKilometres, CountDownFromTheReferenceThatHolds) {
  stazioni_t t{};
  EXPECT_FALSE(railway_metres_at(km_references(t), 500));
  EXPECT_TRUE(km_posts(km_references(t), 0, 1000, 1000).empty());
  // The shipped line: 172+100 at the start.
  t[k_slot_km_tre] = {};
  t[k_slot_km_tre].fine = 172100;
  const std::vector<km_reference> one = km_references(t);
  EXPECT_EQ(*railway_metres_at(one, 51150), 120950);
  const std::vector<km_post> posts = km_posts(one, 0, 2500, 1000);
  ASSERT_EQ(posts.size(), 3u);
  EXPECT_EQ(posts[0].position, 100);
  EXPECT_EQ(posts[0].value, 172000);
  EXPECT_EQ(posts[2].position, 2100);
  // A second reference restarts the count at its position.
  t[k_slot_km_tre] = {};
  t[k_slot_km_tre].inizio = 30000;
  t[k_slot_km_tre].fine = 142000;
  t[k_slot_km_due] = {};
  t[k_slot_km_due].fine = 172100;
  const std::vector<km_reference> two = km_references(t);
  EXPECT_EQ(*railway_metres_at(two, 29950), 142150);
  EXPECT_EQ(*railway_metres_at(two, 30050), 141950);
  const std::vector<km_post> around = km_posts(two, 29000, 31500, 1000);
  ASSERT_EQ(around.size(), 3u);
  EXPECT_EQ(around[0].position, 29100);  // 143+000
  EXPECT_EQ(around[1].position, 30000);  // 142+000, the reference itself
  EXPECT_EQ(around[2].position, 31000);
  for (const auto& [metres, text] : std::initializer_list<std::pair<std::int64_t, const char*>>{
           {172100, "172+100"}, {50, "0+050"}, {-1200, "-1+200"}, {0, "0+000"}})
    EXPECT_EQ(km_text(metres), text);
}

TEST(CurveRuns, ClassAndSideOfEveryCurveFromThePlan) {
  const std::vector<curve_run> runs =
      curve_runs(plan_of({"curvad6,  500,  300", "curvas1,  5000,  1000", "curvas4,  6000,  50"}));
  ASSERT_EQ(runs.size(), 3u);
  const curve_run want[] = {
      {500, 800, 6, 1, 0.003}, {5000, 6000, 1, -1, -0.0001}, {6000, 6050, 4, -1, -0.001}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(runs[i].first, want[i].first) << i;
    EXPECT_EQ(runs[i].last, want[i].last) << i;
    EXPECT_EQ(runs[i].curve_class, want[i].curve_class) << i;
    EXPECT_EQ(runs[i].side, want[i].side) << i;
  }
  EXPECT_TRUE(curve_runs(plan_of({})).empty());
}

// Set metres 3 to 8 and 12 to 15 of 21, across windows of the walk.
TEST(PlanOutline, SetMetresAndTheNearestOfThem) {
  profilo_t plan(20);
  for (std::size_t m : {3, 4, 5, 6, 7, 8, 12, 13, 14, 15})
    for (int c = 0; c < 2; ++c) plan.set_real(m, c, static_cast<double>(m));
  const plan_outline o = outline_of(table_source(plan));
  EXPECT_TRUE(o.complete());
  EXPECT_EQ(o.metres(), 21u);
  EXPECT_EQ(o.points(), 10u);
  EXPECT_EQ(o.first_metre(), 3u);
  EXPECT_EQ(o.last_metre(), 15u);
  EXPECT_TRUE(o.has(8) && o.has(12) && !o.has(9) && !o.has(2) && !o.has(16) && !o.has(400));
  const std::pair<double, std::size_t> nearest[] = {{0, 3},   {5, 5},    {9, 8},    {10, 8},
                                                    {11, 12}, {10.9, 8}, {100, 15}, {-4, 3}};
  for (const auto& [m, want] : nearest) EXPECT_EQ(o.nearest_set(m), want) << m;
}

}  // namespace
}  // namespace scenario
