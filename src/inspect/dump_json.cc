// The JSON dump: every field of every record, for scripts. Names are
// Windows-1252 text written as Unicode; the five byte values that character
// set leaves undefined are written as the escapes \u0081, \u008d, \u008f,
// \u0090 and \u009d, so every byte can be recovered.
#include <charconv>
#include <ostream>
#include <string>

#include "common/json_text.h"
#include "common/utf8_text.h"
#include "inspect/inspect.h"
#include "inspect/route_facts.h"

namespace scenario {
namespace {

// The shortest text that reads back as exactly v.
std::string json_real(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

// A field's value as JSON: numbers as they are, names as strings.
std::string json_value(std::uint8_t v) {
  return std::to_string(v);
}
std::string json_value(std::int16_t v) {
  return std::to_string(v);
}
std::string json_value(std::int32_t v) {
  return std::to_string(v);
}
std::string json_value(const std::string& v) {
  return json_string_1252(v);
}

void grid_json(std::string& o, const percorso_t& g) {
  o += "  \"cells\": [\n";
  for (std::size_t n = 0; n < g.size(); ++n) {
    const cella& c = g[n];
    o += "    {\"cell\": " + std::to_string(n);
#define SCENARIO_JSON_FIELD(field, type) o += ", \"" #field "\": " + json_value(c.field);
    SCENARIO_CELLA_FIELDS(SCENARIO_JSON_FIELD)
#undef SCENARIO_JSON_FIELD
    o += n + 1 < g.size() ? "},\n" : "}\n";
  }
  o += "  ]\n";
}

void stations_json(std::string& o, const stazioni_t& table) {
  const auto roles = slot_roles(table);
  o += "  \"records\": [\n";
  for (int s = 0; s < k_station_slots; ++s) {
    const stazione& r = table[static_cast<std::size_t>(s)];
    o += "    {\"slot\": " + std::to_string(s) +
         ", \"role\": " + json_string_1252(role_name(roles[static_cast<std::size_t>(s)]));
#define SCENARIO_JSON_FIELD(field, type) o += ", \"" #field "\": " + json_value(r.field);
    SCENARIO_STAZIONE_FIELDS(SCENARIO_JSON_FIELD)
#undef SCENARIO_JSON_FIELD
    o += s + 1 < k_station_slots ? "},\n" : "}\n";
  }
  o += "  ]\n";
}

void plan_json(std::string& o, const profilo_t& p) {
  o += "  \"extent\": " + std::to_string(p.extent()) + ",\n";
  o += "  \"coordinates\": [\n";
  for (int c = 0; c < 2; ++c) {
    o += "    {\"tags\": [";
    for (std::size_t m = 0; m < p.metres(); ++m) {
      if (m > 0) o += m % 40 == 0 ? ",\n      " : ", ";
      o += std::to_string(static_cast<int>(p.tag(m, c)));
    }
    o += "],\n     \"values\": [";
    for (std::size_t m = 0; m < p.metres(); ++m) {
      if (m > 0) o += m % 10 == 0 ? ",\n      " : ", ";
      switch (p.tag(m, c)) {
        case plan_tag::empty:
          o += "null";
          break;
        case plan_tag::int16:
          o += std::to_string(static_cast<int>(p.value(m, c)));
          break;
        case plan_tag::real:
          o += json_real(p.value(m, c));
          break;
      }
    }
    o += c == 0 ? "]},\n" : "]}\n";
  }
  o += "  ]\n";
}

}  // namespace

void dump_json(std::ostream& out, const loaded_file& file) {
  std::string o = "{\n";
  o += "  \"file\": " + json_string_utf8(file.path) + ",\n";
  o += "  \"format\": " + json_string_1252(kind_title(file.kind)) + ",\n";
  o += "  \"bytes\": " + std::to_string(file.bytes) + ",\n";
  switch (file.kind) {
    case file_kind::grid:
      grid_json(o, file.grid);
      break;
    case file_kind::stations:
      stations_json(o, file.stations);
      break;
    case file_kind::plan:
      plan_json(o, file.plan);
      break;
  }
  o += "}\n";
  out << o;
}

}  // namespace scenario
