#include "output/check_codes.h"

#include "common/text.h"
#include "model/scenario_constants.h"

namespace scenario {
namespace {

constexpr std::string_view k_filler = "mmppqqrrssttuuvvzzbbddffhh";
constexpr std::size_t k_check_length = 25;

std::string check_text_of(const run_state& st) {
  return check_text(st.stazioni[k_slot_repetition].nome, st.stazioni[k_slot_line].nome);
}

}  // namespace

std::string check_text(std::string_view numero_treno, std::string_view nome_linea) {
  std::string text = lower_1252(std::string(numero_treno) + std::string(nome_linea));
  text += k_filler;
  text.resize(k_check_length);
  return text;
}

std::int32_t codice_gara_og(const run_state& st) {
  std::int32_t sum = 0;
  for (const char c : check_text_of(st)) sum += static_cast<unsigned char>(c);
  return sum;
}

std::int32_t codice_gara_st(const run_state& st) {
  std::int32_t sum = 0;
  std::int32_t i = 0;
  for (const char c : check_text_of(st)) sum += ++i * static_cast<unsigned char>(c);
  return sum;
}

std::string_view stamp_scenario(run_state& st) {
  stazione& line = st.stazioni[k_slot_line];
  cella& cell = st.percorso[k_stamp_cell_index];
  if (line.campo_2 != 0 || cell.valore_a != 0) return k_stamp_conflict_a;
  line.campo_2 = k_stamp_record;
  cell.valore_a = k_stamp_cell;
  if (line.orario != 0 || cell.valore_b != 0) return k_stamp_conflict_b;
  line.orario = codice_gara_st(st);
  // At most 25 * 255 = 6375, which fits the cell's 16 bits.
  cell.valore_b = static_cast<std::int16_t>(codice_gara_og(st));
  return {};
}

}  // namespace scenario
