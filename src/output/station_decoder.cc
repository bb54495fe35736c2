#include "output/station_format.h"

namespace scenario {

decoded<stazioni_t> decode_stations(std::string_view bytes) {
  if (bytes.empty()) return decode_error{0, "empty file"};
  byte_reader in(bytes);
  stazioni_t table{};
  for (int slot = 0; slot < k_station_slots; ++slot) {
    stazione& s = table[static_cast<std::size_t>(slot)];
    s.tipo_stazione = in.u8("tipo_stazione");
    s.inizio = in.i32("inizio");
    s.fine = in.i32("fine");
    s.posizione = in.i32("posizione");
    s.campo_1 = in.u8("campo_1");
    const std::uint16_t length = in.u16("name length");
    s.nome = std::string(in.bytes(length, "nome"));
    s.campo_2 = in.i16("campo_2");
    s.campo_3 = in.i16("campo_3");
    s.campo_4 = in.i16("campo_4");
    s.campo_5 = in.i16("campo_5");
    s.campo_6 = in.i16("campo_6");
    s.campo_7 = in.u8("campo_7");
    s.campo_8 = in.u8("campo_8");
    s.campo_9 = in.u8("campo_9");
    s.campo_10 = in.u8("campo_10");
    s.orario = in.i32("orario");
    if (!in.ok())
      return decode_error{in.error().offset,
                          "truncated record " + std::to_string(slot) + ": " + in.error().reason};
  }
  if (in.remaining() > 0)
    return decode_error{in.offset(), std::to_string(in.remaining()) + " bytes after record 86"};
  return table;
}

}  // namespace scenario
