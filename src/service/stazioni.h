// The station table: 87 records. Stations from slot 1 up, text-board texts
// from slot 80 down, header slots 81 to 86 carrying scenario-wide values.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace scenario {

// One record, fields in the order of the station file.
struct stazione {
  std::uint8_t tipo_stazione = 0;
  std::int32_t inizio = 0;
  std::int32_t fine = 0;
  std::int32_t posizione = 0;
  std::uint8_t campo_1 = 0;
  std::string nome;
  std::int16_t campo_2 = 0;
  std::int16_t campo_3 = 0;
  std::int16_t campo_4 = 0;
  std::int16_t campo_5 = 0;
  std::int16_t campo_6 = 0;
  std::uint8_t campo_7 = 0;
  std::uint8_t campo_8 = 0;
  std::uint8_t campo_9 = 0;
  std::uint8_t campo_10 = 0;
  std::int32_t orario = 0;  // seconds after midnight

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
