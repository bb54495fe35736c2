#include "output/station_format.h"

#include "output/byte_order.h"

namespace scenario {

std::string serialise_stations(const stazioni_t& stazioni) {
  std::size_t size = 0;
  for (const stazione& s : stazioni) size += k_station_fixed_bytes + s.nome.size();
  byte_sink out(size);
  for (const stazione& s : stazioni) {
#define SCENARIO_PUT_FIELD(field, type) out.put(s.field);
    SCENARIO_STAZIONE_FIELDS(SCENARIO_PUT_FIELD)
#undef SCENARIO_PUT_FIELD
  }
  return out.take();
}

}  // namespace scenario
