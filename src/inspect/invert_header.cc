#include "inspect/invert_header.h"

#include <algorithm>
#include <tuple>

#include "common/compile_failure.h"
#include "route/progressive.h"

namespace scenario {
namespace {

// Whether the compile orders uno, due and tre into the table's records 81 to 83.
bool orders_into(const std::array<reference_values, 3>& read, const stazioni_t& table) {
  stazioni_t scratch{};
  const int slots[] = {k_slot_km_uno, k_slot_km_due, k_slot_km_tre};
  for (int i = 0; i < 3; ++i) {
    put_reference(scratch[static_cast<std::size_t>(slots[i])], read[static_cast<std::size_t>(i)]);
  }
  try {
    progressive_ordina(scratch);
  } catch (const compile_failure&) {
    return false;
  }
  for (int slot : slots)
    if (reference_in_slot(scratch[static_cast<std::size_t>(slot)]) !=
        reference_in_slot(table[static_cast<std::size_t>(slot)]))
      return false;
  return true;
}

// Given references first, in increasing order; empty ones last.
bool before(const reference_values& a, const reference_values& b) {
  const bool a_empty = a == reference_values{}, b_empty = b == reference_values{};
  return std::tie(a_empty, a.p, a.k, a.f) < std::tie(b_empty, b.p, b.k, b.f);
}

}  // namespace

inverted<std::array<reference_values, 3>> invert_references(const stazioni_t& table) {
  // Given references are the ones not all zero, smallest position first
  // (records 83 to 81), their flag's raise taken off.
  std::vector<reference_values> given;
  for (int slot : {k_slot_km_uno, k_slot_km_due, k_slot_km_tre}) {
    reference_values r = reference_in_slot(table[static_cast<std::size_t>(slot)]);
    if (r == reference_values{}) continue;
    r.k = km_value_given(r.k, r.f);
    given.push_back(r);
  }
  std::array<reference_values, 3> natural{};
  std::copy(given.begin(), given.end(), natural.begin());
  inverted<std::array<reference_values, 3>> out{natural, {}};
  if (orders_into(natural, table)) return out;

  std::array<reference_values, 3> order = natural;
  std::sort(order.begin(), order.end(), before);
  do {
    if (orders_into(order, table)) {
      out.records = order;
      return out;
    }
  } while (std::next_permutation(order.begin(), order.end(), before));
  out.problems.push_back(
      "records 81 to 83: no three kilometric references are ordered into these; two sharing the "
      "greatest position, or none with a value when no position is given, clear all three");
  return out;
}

inverted<repetition_values> invert_repetition(const stazioni_t& table) {
  const stazione& s = table[k_slot_repetition];
  inverted<repetition_values> out{{s.posizione == 9 ? 9 : 4, s.inizio, s.fine}, {}};
  // A repetition ending at 0 stores no code count; any other stores 4 or 9.
  const bool stored = s.fine == 0 ? s.posizione == 0 : s.posizione == 4 || s.posizione == 9;
  if (!stored)
    out.problems.push_back("record 86: a signal repetition to " + std::to_string(s.fine) +
                           " m with " + std::to_string(s.posizione) +
                           " codes; a repetition stores 4 or 9, and 0 only when it ends at 0");
  return out;
}

}  // namespace scenario
