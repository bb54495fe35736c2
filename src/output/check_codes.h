// The scenario stamps: marker values and two check codes computed from the
// train number and the line name, stamped into station record 85 and grid
// cell 1 before the files are written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/run_state.h"

namespace scenario {

// The first 25 characters of train number + line name, lower-cased, padded
// with the filler "mmppqqrrssttuuvvzzbbddffhh".
std::string check_text(std::string_view numero_treno, std::string_view nome_linea);

// codice_gara_og: the sum of the character codes of the check text.
std::int32_t codice_gara_og(const run_state& st);

// codice_gara_st: the sum of i times the code of character i (from 1).
std::int32_t codice_gara_st(const run_state& st);

// The message a stamp conflict ends the run with: 1250 when record 85's
// campo_2 or cell 1's valore_a is taken, 1251 for its orario or valore_b.
inline constexpr std::string_view k_stamp_conflict_a = "1250";
inline constexpr std::string_view k_stamp_conflict_b = "1251";

// Stamps record 85 (campo_2 610, orario codice_gara_st) and cell 1
// (valore_a 5121, valore_b codice_gara_og). Returns the number of the
// conflict that stops the run, or an empty view when the stamps are in. The
// grid must exist.
std::string_view stamp_scenario(run_state& st);

}  // namespace scenario
