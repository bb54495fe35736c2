#include "inspect/invert_header.h"

#include <gtest/gtest.h>

#include "route/progressive.h"

namespace scenario {
namespace {

// The table the compile makes of references read as uno, due and tre.
stazioni_t ordered(const std::array<reference_values, 3>& read) {
  stazioni_t t{};
  const int slots[] = {k_slot_km_uno, k_slot_km_due, k_slot_km_tre};
  for (int i = 0; i < 3; ++i) {
    stazione& s = t[static_cast<std::size_t>(slots[i])];
    s.inizio = read[static_cast<std::size_t>(i)].p;
    s.fine = read[static_cast<std::size_t>(i)].k;
    s.posizione = read[static_cast<std::size_t>(i)].f;
  }
  progressive_ordina(t);
  return t;
}

TEST(InvertHeader, ReferencesComeBackInAnOrderThatSortsToTheTable) {
  using refs = std::array<reference_values, 3>;
  const struct {
    refs read;
    bool given_back;  // the order read is the one given back
  } cases[] = {
      {{{{0, 172000, 1}, {}, {}}}, true},
      {{{{0, 172000, 1}, {30000, 142000, 0}, {}}}, true},
      {{{{30000, 142000, 2}, {}, {0, 5000, 1}}}, false},
      // Equal positions below the greatest: the order decides which goes where.
      {{{{100, 50, 0}, {100, 150, 1}, {5000, 0, 0}}}, false},
      // No positions: the first with a value goes first, whatever its name.
      {{{{}, {0, 700, 0}, {0, 900, 1}}}, false},
  };
  for (const auto& c : cases) {
    const stazioni_t table = ordered(c.read);
    const auto back = invert_references(table);
    EXPECT_TRUE(back.problems.empty());
    EXPECT_EQ(ordered(back.records), table);
    if (c.given_back) {
      EXPECT_EQ(back.records, c.read);
    }
  }
  // A value raised by 100 that leaves nothing above 0 is never picked.
  stazioni_t impossible{};
  impossible[k_slot_km_tre] = {0, 0, 50, 1};
  EXPECT_EQ(invert_references(impossible).problems.size(), 1u);
}

TEST(InvertHeader, RepetitionStoresItsCodesOnlyWhenItEnds) {
  const struct {
    std::int32_t from, to, stored;
    repetition_values expected;
    bool invertible;
  } cases[] = {
      {0, 70850, 4, {4, 0, 70850}, true},      {1000, 5000, 9, {9, 1000, 5000}, true},
      {1000, 0, 0, {4, 1000, 0}, true},        {1000, 0, 9, {9, 1000, 0}, false},
      {1000, 5000, 7, {4, 1000, 5000}, false},
  };
  for (const auto& c : cases) {
    stazioni_t t{};
    t[k_slot_repetition].inizio = c.from;
    t[k_slot_repetition].fine = c.to;
    t[k_slot_repetition].posizione = c.stored;
    const auto back = invert_repetition(t);
    EXPECT_EQ(back.records, c.expected);
    EXPECT_EQ(back.problems.empty(), c.invertible) << c.stored;
  }
}

}  // namespace
}  // namespace scenario
