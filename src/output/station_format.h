// The station file (NAME_NUM.sim): records 0 to 86 in order, nothing before
// or after. Each record is 34 + n bytes, little-endian and packed, n being
// the byte count of its name:
//   offset 0   tipo_stazione  u8        16 + n  campo_2   i16
//          1   inizio         i32       18 + n  campo_3   i16
//          5   fine           i32       20 + n  campo_4   i16
//          9   posizione      i32       22 + n  campo_5   i16
//          13  campo_1        u8        24 + n  campo_6   i16
//          14  n              u16       26 + n  campo_7   u8
//          16  nome           n bytes   27 + n  campo_8   u8
//                                       28 + n  campo_9   u8
//                                       29 + n  campo_10  u8
//                                       30 + n  orario    i32
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/stazioni.h"
#include "output/byte_reader.h"

namespace scenario {

// A record's size without its name.
inline constexpr std::size_t k_station_fixed_bytes = 34;

// The bytes of the station file. Every name must be at most 65535 bytes.
std::string serialise_stations(const stazioni_t& stazioni);

// The table in bytes, or where they stop being one: exactly 87 whole records
// must fill the file, nothing missing and nothing after record 86.
decoded<stazioni_t> decode_stations(std::string_view bytes);

}  // namespace scenario
