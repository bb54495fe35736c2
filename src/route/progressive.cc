#include "route/progressive.h"

#include "common/compile_failure.h"
#include "common/numeric.h"

namespace scenario {
namespace {

struct reference {
  std::int32_t p = 0;  // position on the route
  std::int32_t k = 0;  // kilometric value there
  std::int32_t f = 0;  // flag: 1 adds 100 to k
};

reference take(const stazione& s) {
  return {s.inizio, s.fine, s.posizione};
}

void put(stazione& s, const reference& r) {
  s.inizio = r.p;
  s.fine = r.k;
  s.posizione = r.f;
}

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
  const reference u = take(stazioni[k_slot_km_uno]);
  const reference d = take(stazioni[k_slot_km_due]);
  const reference t = take(stazioni[k_slot_km_tre]);

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

  put(stazioni[k_slot_km_tre], o.first);
  put(stazioni[k_slot_km_due], o.second);
  put(stazioni[k_slot_km_uno], o.third);

  // Adjusted in place, slot by slot: an overflow leaves the order made and
  // the slots before it adjusted.
  for (const int slot : {k_slot_km_tre, k_slot_km_due, k_slot_km_uno}) {
    stazione& s = stazioni[static_cast<std::size_t>(slot)];
    if (s.posizione == 1) s.fine = must_fit(add_32(s.fine, 100), "a kilometric value");
  }
}

}  // namespace scenario
