#include "route/progressive.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

struct ref {
  std::int32_t p, k, f;
};

// Reads uno, due, tre into slots 83, 82, 81 and orders them.
stazioni_t ordered(ref uno, ref due, ref tre) {
  stazioni_t s{};
  auto put = [&s](int slot, ref r) {
    s[slot].inizio = r.p;
    s[slot].fine = r.k;
    s[slot].posizione = r.f;
  };
  put(83, uno);
  put(82, due);
  put(81, tre);
  progressive_ordina(s);
  return s;
}

void expect_slot(const stazioni_t& s, int slot, ref r) {
  EXPECT_EQ(s[slot].inizio, r.p) << slot;
  EXPECT_EQ(s[slot].fine, r.k) << slot;
  EXPECT_EQ(s[slot].posizione, r.f) << slot;
}

TEST(KilometricReferences, ShippedReferenceGoesToSlot81WithItsHundred) {
  const stazioni_t s = ordered({0, 172000, 1}, {0, 0, 0}, {0, 0, 0});
  expect_slot(s, 81, {0, 172100, 1});
  expect_slot(s, 82, {0, 0, 0});
  expect_slot(s, 83, {0, 0, 0});
}

TEST(KilometricReferences, OrderedByPositionGreatestFirst) {
  const stazioni_t s = ordered({0, 172000, 1}, {30000, 142000, 0}, {0, 0, 0});
  expect_slot(s, 81, {30000, 142000, 0});
  expect_slot(s, 82, {0, 172100, 1});
  expect_slot(s, 83, {0, 0, 0});
  const stazioni_t t = ordered({100, 1, 0}, {300, 3, 0}, {200, 2, 2});
  expect_slot(t, 81, {300, 3, 0});
  expect_slot(t, 82, {200, 2, 2});  // flag 2 adds nothing
  expect_slot(t, 83, {100, 1, 0});
}

TEST(KilometricReferences, TiesBelowTheGreatest) {
  // Largest "uno": "due" takes slot 82. Largest "tre" or "due": "uno" does.
  const stazioni_t a = ordered({500, 1, 0}, {100, 2, 0}, {100, 3, 0});
  EXPECT_EQ(a[82].fine, 2);
  EXPECT_EQ(a[83].fine, 3);
  const stazioni_t b = ordered({100, 1, 0}, {100, 2, 0}, {500, 3, 0});
  EXPECT_EQ(b[82].fine, 1);
  EXPECT_EQ(b[83].fine, 2);
  const stazioni_t c = ordered({100, 1, 0}, {500, 2, 0}, {100, 3, 0});
  EXPECT_EQ(c[82].fine, 1);
  EXPECT_EQ(c[83].fine, 3);
}

TEST(KilometricReferences, SharedGreatestPositionClearsAll) {
  const stazioni_t s = ordered({500, 1, 1}, {500, 2, 0}, {100, 3, 0});
  for (int slot : {81, 82, 83}) expect_slot(s, slot, {0, 0, 0});
}

TEST(KilometricReferences, WithoutPositionsTheFirstWithAValueLeads) {
  const stazioni_t d = ordered({0, 0, 0}, {0, 5000, 1}, {0, 7000, 0});
  expect_slot(d, 81, {0, 5100, 1});
  expect_slot(d, 82, {0, 7000, 0});
  expect_slot(d, 83, {0, 0, 0});
  const stazioni_t t = ordered({0, 0, 0}, {0, 0, 0}, {0, 7000, 1});
  expect_slot(t, 81, {0, 7100, 1});
  const stazioni_t u = ordered({0, 4000, 0}, {0, 0, 0}, {0, 7000, 0});
  expect_slot(u, 81, {0, 4000, 0});  // "tre" never leads while "uno" has a value
  expect_slot(u, 83, {0, 7000, 0});
  const stazioni_t none = ordered({0, 0, 1}, {0, -5, 1}, {0, 0, 1});
  for (int slot : {81, 82, 83}) expect_slot(none, slot, {0, 0, 0});
}

}  // namespace
}  // namespace scenario
