#include "model/slot_objects.h"

#include <climits>

#include "common/numeric.h"

namespace scenario {
namespace {

// A station shorter than this keeps no campo_10.
constexpr std::int64_t k_shortest_with_campo_10 = 600;
constexpr std::int32_t k_km_flag_raise = 100;

}  // namespace

station_area_rule area_rule_of(std::int32_t tipo_stazione) {
  switch (tipo_stazione) {
    case 5:
    case 6:
      return station_area_rule::stop_after;
    case 7:
    case 8:
      return station_area_rule::even;
    default:
      return station_area_rule::halves;
  }
}

station_area station_area_of(std::int32_t tipo_stazione, std::int32_t posizione,
                             std::int32_t length, std::int32_t campo_9) {
  switch (area_rule_of(tipo_stazione)) {
    case station_area_rule::stop_after:
      return {sub_32(posizione, length), add_32(posizione, k_station_stop_after_metres)};
    case station_area_rule::even:
      return {sub_32(posizione, length), add_32(posizione, length)};
    case station_area_rule::halves:
      break;
  }
  // The length is a multiple of 100, so its half is whole.
  const std::optional<std::int32_t> half_after = add_32(posizione, length / 2);
  station_area area{sub_32(posizione, length / 2), std::nullopt};
  if (half_after) area.fine = add_32(*half_after, campo_9 != 0 ? k_station_sixth_metres : 0);
  return area;
}

std::int64_t station_length_of(const stazione& s) {
  const std::int64_t before = std::int64_t{s.posizione} - s.inizio;
  return area_rule_of(s.tipo_stazione) == station_area_rule::halves ? 2 * before : before;
}

bool station_keeps_campo_9(std::int32_t tipo_stazione, int number) {
  return area_rule_of(tipo_stazione) == station_area_rule::halves && number != 1;
}

bool station_keeps_campo_10(std::int64_t length, int number) {
  return length >= k_shortest_with_campo_10 && number != 1;
}

km_reference_record reference_in_slot(const stazione& s) {
  return {s.inizio, s.fine, s.posizione};
}

void put_reference(stazione& s, const km_reference_record& r) {
  s.inizio = r.p;
  s.fine = r.k;
  s.posizione = r.f;
}

bool km_flag_raises(std::int32_t f) {
  return f == 1;
}

std::optional<std::int32_t> km_value_kept(std::int32_t k, std::int32_t f) {
  if (!km_flag_raises(f)) return k;
  return add_32(k, k_km_flag_raise);
}

std::int32_t km_value_given(std::int32_t kept, std::int32_t f) {
  if (km_flag_raises(f) && kept > INT32_MIN + k_km_flag_raise) return kept - k_km_flag_raise;
  return kept;
}

}  // namespace scenario
