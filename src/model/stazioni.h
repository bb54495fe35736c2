// The station table: 87 records. Stations from slot 1 up, text-board texts
// from slot 80 down, header slots 81 to 86 carrying scenario-wide values.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace scenario {

// X(field, type): the fields of one record, in the order of the station
// file. nome is stored as its byte count (16 bits) and its bytes; orario is
// seconds after midnight.
#define SCENARIO_STAZIONE_FIELDS(X) \
  X(tipo_stazione, std::uint8_t)    \
  X(inizio, std::int32_t)           \
  X(fine, std::int32_t)             \
  X(posizione, std::int32_t)        \
  X(campo_1, std::uint8_t)          \
  X(nome, std::string)              \
  X(campo_2, std::int16_t)          \
  X(campo_3, std::int16_t)          \
  X(campo_4, std::int16_t)          \
  X(campo_5, std::int16_t)          \
  X(campo_6, std::int16_t)          \
  X(campo_7, std::uint8_t)          \
  X(campo_8, std::uint8_t)          \
  X(campo_9, std::uint8_t)          \
  X(campo_10, std::uint8_t)         \
  X(orario, std::int32_t)

struct stazione {
#define SCENARIO_STAZIONE_MEMBER(field, type) type field{};
  SCENARIO_STAZIONE_FIELDS(SCENARIO_STAZIONE_MEMBER)
#undef SCENARIO_STAZIONE_MEMBER

  friend bool operator==(const stazione&, const stazione&) = default;
};

inline constexpr int k_station_slots = 87;
using stazioni_t = std::array<stazione, k_station_slots>;

// Header slots.
inline constexpr int k_slot_km_tre = 81;  // kilometric references, ordered
inline constexpr int k_slot_km_due = 82;
inline constexpr int k_slot_km_uno = 83;
inline constexpr int k_slot_train = 84;        // braked mass, route length, cars
inline constexpr int k_slot_line = 85;         // line name, backgrounds, stamps
inline constexpr int k_slot_repetition = 86;   // train number, signal repetition, sand, clock
inline constexpr int k_first_board_slot = 80;  // text boards take slots from here down

}  // namespace scenario
