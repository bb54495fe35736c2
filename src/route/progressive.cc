#include "route/progressive.h"

#include "common/compile_failure.h"
#include "common/numeric.h"
#include "model/slot_objects.h"

namespace scenario {
namespace {

using reference = km_reference_record;

// Slots 81, 82, 83 in that order.
struct ordering {
  reference first, second, third;
};

// The largest goes first; of the other two the strictly greater is second.
// On a tie a stays second: "uno" when the largest was "due" or "tre", "due"
// when the largest was "uno".
ordering by_position(const reference& largest, const reference& a, const reference& b) {
  if (b.p > a.p) return {largest, b, a};
  return {largest, a, b};
}

}  // namespace

void progressive_ordina(stazioni_t& stazioni) {
  const reference u = reference_in_slot(stazioni[k_slot_km_uno]);
  const reference d = reference_in_slot(stazioni[k_slot_km_due]);
  const reference t = reference_in_slot(stazioni[k_slot_km_tre]);

  const std::int32_t sum =
      must_fit(add_32(must_fit(add_32(u.p, d.p), "the sum of reference positions"), t.p),
               "the sum of reference positions");
  ordering o{};  // all zero unless a rule below picks an order
  if (sum != 0) {
    if (u.p > d.p && u.p > t.p)
      o = by_position(u, d, t);
    else if (d.p > u.p && d.p > t.p)
      o = by_position(d, u, t);
    else if (t.p > u.p && t.p > d.p)
      o = by_position(t, u, d);
  } else if (u.k > 0) {
    o = {u, d, t};
  } else if (d.k > 0) {
    o = {d, t, u};
  } else if (t.k > 0) {
    o = {t, d, u};
  }

  put_reference(stazioni[k_slot_km_tre], o.first);
  put_reference(stazioni[k_slot_km_due], o.second);
  put_reference(stazioni[k_slot_km_uno], o.third);

  // Adjusted in place, slot by slot: an overflow leaves the order made and
  // the slots before it adjusted.
  for (const int slot : {k_slot_km_tre, k_slot_km_due, k_slot_km_uno}) {
    stazione& s = stazioni[static_cast<std::size_t>(slot)];
    s.fine = must_fit(km_value_kept(s.fine, s.posizione), "a kilometric value");
  }
}

}  // namespace scenario
