// What a record leaves in the station table's slots, each with both
// directions: what the compile writes into a slot, and what a slot reads back
// as. The compilers write through these rules and decompile inverts through
// them, so a rule is stated here once.
#pragma once

#include <cstdint>
#include <optional>

#include "model/stazioni.h"

namespace scenario {

// --- A station's area --------------------------------------------------------

// Types 5 to 8 have their own area rules and no stretch for campo_9.
enum class station_area_rule {
  stop_after,  // 5 and 6: from length before the position to 150 m after it
  even,        // 7 and 8: length on either side of the position
  halves,      // the others: half the length on either side, 50 m more
               // after it for a campo_9 other than 0
};
station_area_rule area_rule_of(std::int32_t tipo_stazione);
inline constexpr std::int32_t k_station_stop_after_metres = 150;
// What a campo_9 other than 0 adds after a station of the halves rule.
inline constexpr std::int32_t k_station_sixth_metres = 50;

// The area a station of this type, position and length (a multiple of 100)
// has, with campo_9 as the record gives it; nothing in a bound that does not
// fit 32 bits (inizio is worked out first).
struct station_area {
  std::optional<std::int32_t> inizio, fine;
};
station_area station_area_of(std::int32_t tipo_stazione, std::int32_t posizione,
                             std::int32_t length, std::int32_t campo_9);
// The length a station's area is read back as, from its stored bounds.
std::int64_t station_length_of(const stazione& s);

// Whether the table keeps a station's campo_9 (not for types 5 to 8 nor the
// first station) and its campo_10 (not for a length below 600 nor the first
// station); the compile stores 0 in place of one it does not keep.
bool station_keeps_campo_9(std::int32_t tipo_stazione, int number);
bool station_keeps_campo_10(std::int64_t length, int number);

// --- Kilometric references ---------------------------------------------------

// A "progressiva chilometrica" record: position, kilometric value, flag.
struct km_reference_record {
  std::int32_t p = 0, k = 0, f = 0;

  friend bool operator==(const km_reference_record&, const km_reference_record&) = default;
};
// A reference's slot keeps p in inizio, k in fine and f in posizione.
km_reference_record reference_in_slot(const stazione& s);
void put_reference(stazione& s, const km_reference_record& r);
// A flag of 1 adds 100 to the kilometric value kept; nothing when that does
// not fit 32 bits. km_value_given takes it off again where it can.
bool km_flag_raises(std::int32_t f);
std::optional<std::int32_t> km_value_kept(std::int32_t k, std::int32_t f);
std::int32_t km_value_given(std::int32_t kept, std::int32_t f);

}  // namespace scenario
