#include "output/station_format.h"

#include "output/byte_order.h"

namespace scenario {

std::string serialise_stations(const stazioni_t& stazioni) {
  std::size_t size = 0;
  for (const stazione& s : stazioni) size += k_station_fixed_bytes + s.nome.size();
  byte_sink out(size);
  for (const stazione& s : stazioni) {
    out.put_u8(s.tipo_stazione);
    out.put_i32(s.inizio);
    out.put_i32(s.fine);
    out.put_i32(s.posizione);
    out.put_u8(s.campo_1);
    out.put_u16(static_cast<std::uint16_t>(s.nome.size()));
    out.put_bytes(s.nome);
    out.put_i16(s.campo_2);
    out.put_i16(s.campo_3);
    out.put_i16(s.campo_4);
    out.put_i16(s.campo_5);
    out.put_i16(s.campo_6);
    out.put_u8(s.campo_7);
    out.put_u8(s.campo_8);
    out.put_u8(s.campo_9);
    out.put_u8(s.campo_10);
    out.put_i32(s.orario);
  }
  return out.take();
}

}  // namespace scenario
