#include "model/percorso.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace scenario {
namespace {

constexpr std::size_t k_whole = percorso_t::k_whole_grid;

// What the grid notes of each way of reaching its cells: the writes a
// traced compile must see, and none of the reads.
TEST(Percorso, NotesTheCellsReachedToChangeThem) {
  struct reach {
    const char* what;
    std::function<void(percorso_t&)> act;
    std::vector<std::size_t> noted;
  };
  const reach reaches[] = {
      {"a write through []", [](percorso_t& g) { g[3].tipo_cella = k_signal; }, {3}},
      {"a read through the const []",
       [](percorso_t& g) { EXPECT_EQ(std::as_const(g)[3].tipo_cella, k_empty); },
       {}},
      {"a read walk", [](percorso_t& g) { EXPECT_EQ(std::as_const(g).begin()->pendenza, 0); }, {}},
      {"a walk changing every cell",
       [](percorso_t& g) {
         for (cella& c : g) c.pendenza = 100;
       },
       {k_whole}},
      {"an assign", [](percorso_t& g) { g.assign(4, cella{}); }, {k_whole}},
      {"another grid assigned", [](percorso_t& g) { g = percorso_t(9); }, {k_whole}},
      {"a copy changed",
       [](percorso_t& g) {
         percorso_t copy = g;
         copy[2].valore_a = 1;
       },
       {}},
  };
  for (const reach& r : reaches) {
    SCOPED_TRACE(r.what);
    percorso_t grid(5);
    std::vector<std::size_t> noted;
    grid.note_writes(&noted);
    r.act(grid);
    EXPECT_EQ(noted, r.noted);
    grid.note_writes(nullptr);
    grid[1].valore_b = 2;
    EXPECT_EQ(noted, r.noted) << "a write noted after the list was taken away";
  }
}

TEST(Percorso, AWalkChangesTheCellsAndACopyIsAGridOfItsOwn) {
  percorso_t grid(3);
  for (cella& c : grid) c.aderenza = 7;
  percorso_t copy = grid;
  copy[0].aderenza = 1;
  EXPECT_EQ(grid[0].aderenza, 7);
  EXPECT_EQ(grid[2].aderenza, 7);
  EXPECT_FALSE(copy == grid);
  copy[0].aderenza = 7;
  EXPECT_TRUE(copy == grid);
}

}  // namespace
}  // namespace scenario
