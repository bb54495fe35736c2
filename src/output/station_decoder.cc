#include "output/station_format.h"

namespace scenario {

decoded<stazioni_t> decode_stations(std::string_view bytes) {
  if (bytes.empty()) return decode_error{0, "empty file"};
  byte_reader in(bytes);
  stazioni_t table{};
  for (int slot = 0; slot < k_station_slots; ++slot) {
    stazione& s = table[static_cast<std::size_t>(slot)];
#define SCENARIO_READ_FIELD(field, type) in.read(s.field, #field);
    SCENARIO_STAZIONE_FIELDS(SCENARIO_READ_FIELD)
#undef SCENARIO_READ_FIELD
    if (!in.ok())
      return decode_error{in.error().offset,
                          "truncated record " + std::to_string(slot) + ": " + in.error().reason};
  }
  if (in.remaining() > 0)
    return decode_error{in.offset(), std::to_string(in.remaining()) + " bytes after record 86"};
  return table;
}

}  // namespace scenario
